// Measures the web build on this machine. In headless Chromium: page load to
// the loading picture and to the main menu fully shown (against the game's
// own pauses and wipe), the frame period in play, long tasks, the sizes of
// what the page loads (plain and gzip-compressed) and the memory the page
// holds. In Firefox and WebKit: the frame period in play, with what the
// page's clock gives (whole milliseconds or finer). A benchmark, not a test:
// it reports, it does not judge.
//   node scripts/bench-web.mjs [SITE_DIR] [SECONDS_OF_PLAY] [--engine NAME] [--isolated]
// NAME: chromium (the default), firefox, webkit, or all (the three in a
// row). --isolated serves the page cross-origin isolated (COOP and COEP
// headers), where engines give a finer clock. WebKit needs an X display and
// Firefox a sound server: run under tests/web/engine_session.sh.
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { engineNames, pageWithScript, startEngine } from '../tests/web/browsers.mjs';
import { measureLoading, printLoading } from './bench-web-load.mjs';
import { launch, serve, waitUntil } from '../tests/web/chromium.mjs';

const options = process.argv.slice(2).filter((a) => a.startsWith('--'));
const positional = process.argv.slice(2).filter((a, i, all) => !a.startsWith('--') &&
  all[i - 1] !== '--engine');
const engineAt = process.argv.indexOf('--engine');
const engineChoice = engineAt > 0 ? process.argv[engineAt + 1] : 'chromium';
const isolated = options.includes('--isolated');
const siteDir = path.resolve(positional[0] || 'build-web/site');
const playSeconds = Number(positional[1] || 30);
const isolationHeaders = isolated ? {
  'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp',
} : {};

function quantile(sorted, q) {
  return sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
}

function sizes() {
  const rows = [];
  for (const name of ['korvane.wasm', 'korvane.js', 'korvane-page.js', 'index.html', 'korvane.pack',
    'korvane-music.js', 'korvane-music.wasm', 'korvane-sw.js']) {
    const bytes = fs.readFileSync(path.join(siteDir, name));
    rows.push({ name, plain: bytes.length, gzip: zlib.gzipSync(bytes, { level: 9 }).length });
  }
  return rows;
}

// Recorded in the page from its first moment: every flip and every picture
// put on the canvas (the wipe's strips among them), when the data had been
// unpacked, and every task that kept the page busy for over 50 ms.
function instrument() {
  window.bench = { flips: [], presents: [], longTasks: [], dataLoadedAt: null };
  if (!PerformanceObserver.supportedEntryTypes.includes('longtask')) {
    window.bench.longTasks = null;
  }
  window.Module = {
    onFlip() { window.bench.flips.push(performance.now()); },
    onRuntimeInitialized() { window.bench.dataLoadedAt = performance.now(); },
  };
  if (window.bench.longTasks) {
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) {
        window.bench.longTasks.push({ at: entry.startTime, ms: entry.duration });
      }
    }).observe({ type: 'longtask', buffered: true });
  }
  const watch = setInterval(() => {
    if (window.KorvaneWeb) {
      clearInterval(watch);
      const present = window.KorvaneWeb.present;
      window.KorvaneWeb.present = function (...args) {
        window.bench.presents.push({ at: performance.now(), rows: args[6] });
        return present.apply(this, args);
      };
    }
  }, 1);
}

async function rendererMemory(page) {
  const session = await page.context().newCDPSession(page);
  await session.send('Performance.enable');
  const { metrics } = await session.send('Performance.getMetrics');
  const heap = metrics.find((m) => m.name === 'JSHeapUsedSize').value;
  let rss = null;
  try {
    const browserSession = await page.context().browser().newBrowserCDPSession();
    const info = await browserSession.send('SystemInfo.getProcessInfo');
    // The page's renderer is the largest; Chromium may keep a spare one.
    rss = 0;
    for (const process of info.processInfo.filter((p) => p.type === 'renderer')) {
      const status = fs.readFileSync(`/proc/${process.id}/status`, 'utf8');
      rss = Math.max(rss, Number(/VmRSS:\s+(\d+) kB/.exec(status)[1]) * 1024);
    }
  } catch (error) {
    rss = null;
  }
  const wasm = await page.evaluate(() => window.KorvaneWeb.memoryBytes());
  await session.detach();
  return { heap, wasm, rss };
}

async function benchChromium() {
  const site = await serve(siteDir, {}, isolationHeaders);
  const browser = await launch();
  try {
    const page = await browser.newPage({ viewport: { width: 1280, height: 960 } });
    await page.addInitScript(instrument);
    await page.goto(site.url('/index.html'));
    // The menu is up once the second flip has come: the first shows the
    // loading picture, the menu's first frame reveals its picture strip by
    // strip and flips only after that.
    await waitUntil(() => page.evaluate(() => window.bench.flips.length >= 2), 120);
    const startUp = await page.evaluate(() => window.bench);
    const loadingAt = startUp.flips[0];
    const wipeStrips = startUp.presents.filter((p) => p.at > loadingAt && p.at < startUp.flips[1]);
    const menuShownAt = wipeStrips.length ? wipeStrips[wipeStrips.length - 1].at : startUp.flips[1];
    // The game's own time from the data to the menu: eight 500 ms pauses while
    // the block pictures load, and the wipe's strips of 30 ms (1000 / 30
    // truncates, so each lasts a 33rd of a second).
    const ownMs = 8 * 500 + wipeStrips.length * (1000 / 33);
    const overMs = menuShownAt - startUp.dataLoadedAt - ownMs;

    // Play: a new game, a key now and then, and the frames counted.
    await page.keyboard.down('KeyN');
    await page.waitForTimeout(300);
    await page.keyboard.up('KeyN');
    await page.waitForTimeout(1000);
    const playFrom = await page.evaluate(() => performance.now());
    const keys = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowLeft', 'ArrowRight'];
    for (let second = 0; second < playSeconds; ++second) {
      const key = keys[second % keys.length];
      await page.keyboard.down(key);
      await page.waitForTimeout(150);
      await page.keyboard.up(key);
      await page.waitForTimeout(850);
    }
    const played = await page.evaluate((from) => ({
      flips: window.bench.flips.filter((t) => t >= from),
      longTasks: window.bench.longTasks,
      menuAt: null,
    }), playFrom);
    const periods = [];
    for (let i = 1; i < played.flips.length; ++i) {
      periods.push(played.flips[i] - played.flips[i - 1]);
    }
    periods.sort((a, b) => a - b);
    const memory = await rendererMemory(page);

    const ms = (value) => `${value.toFixed(1)} ms`;
    console.log(`site: ${siteDir}`);
    console.log('load (from the page\'s start)');
    console.log(`  data unpacked:            ${ms(startUp.dataLoadedAt)}`);
    console.log(`  loading picture shown:    ${ms(loadingAt)}`);
    console.log(`  main menu fully shown:    ${ms(menuShownAt)}`);
    if (wipeStrips.length > 1) {
      const wipeMs = wipeStrips[wipeStrips.length - 1].at - wipeStrips[0].at;
      console.log(`  the wipe, first strip to last: ${ms(wipeMs)} ` +
        `(its own ${ms((wipeStrips.length - 1) * (1000 / 33))})`);
    }
    console.log(`  of which the game's own pauses and ${wipeStrips.length}-strip wipe: ${ms(ownMs)}; ` +
      `beyond them after the data: ${ms(overMs)} (goal <= 300 ms)`);
    console.log(`frame period in play (${periods.length} frames over ${playSeconds} s)`);
    console.log(`  median ${ms(quantile(periods, 0.5))} (goal 40.0-40.5), p99 ${ms(quantile(periods, 0.99))} ` +
      `(goal <= 45), max ${ms(periods[periods.length - 1])}`);
    const afterStart = played.longTasks.filter((t) => t.at > menuShownAt);
    console.log(`long tasks over 50 ms: ${played.longTasks.length} in all, ${afterStart.length} after start-up ` +
      `(goal 0)${played.longTasks.length ? `: ${played.longTasks.map((t) => `${ms(t.ms)} at ${ms(t.at)}`).join(', ')}` : ''}`);
    console.log('sizes (plain, gzip -9)');
    for (const row of sizes()) {
      console.log(`  ${row.name.padEnd(16)} ${String(row.plain).padStart(9)} ${String(row.gzip).padStart(9)}`);
    }
    console.log('  goals: wasm <= 300 KB and JavaScript <= 100 KB before compression');
    const mb = (bytes) => (bytes === null ? 'unknown' : `${(bytes / 1048576).toFixed(1)} MB`);
    console.log(`memory: module ${mb(memory.wasm)}, JavaScript heap ${mb(memory.heap)}, ` +
      `renderer process resident ${mb(memory.rss)}`);
  } finally {
    await browser.close();
    site.server.close();
  }
}

// The frame period in play in any engine, through the shared drivers: a new
// game, a key now and then, every flip timed in the page.
async function benchPeriod(name) {
  const html = fs.readFileSync(path.join(siteDir, 'index.html'), 'utf8');
  const script = `(${instrument})();`;
  const site = await serve(siteDir, { '/bench.html': pageWithScript(html, script) }, isolationHeaders);
  const engine = await startEngine(name);
  try {
    const page = await engine.open(site.url('/bench.html'), { viewport: { width: 1280, height: 960 } });
    await waitUntil(() => page.look(() => window.bench.flips.length >= 2), 120);
    const press = async (code, ms) => {
      await page.keyDown(code);
      await new Promise((resolve) => setTimeout(resolve, ms));
      await page.keyUp(code);
    };
    await press('KeyN', 300);
    await new Promise((resolve) => setTimeout(resolve, 1000));
    const playFrom = await page.look(() => performance.now());
    const keys = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowLeft', 'ArrowRight'];
    for (let second = 0; second < playSeconds; ++second) {
      await press(keys[second % keys.length], 150);
      await new Promise((resolve) => setTimeout(resolve, 850));
    }
    const played = await page.look((from) => {
      // The smallest step the page's clock takes, read back to back.
      let step = Infinity;
      let last = performance.now();
      for (let changes = 0; changes < 20;) {
        const now = performance.now();
        if (now !== last) {
          step = Math.min(step, now - last);
          last = now;
          ++changes;
        }
      }
      return { flips: window.bench.flips.filter((t) => t >= from), isolated: self.crossOriginIsolated, step };
    }, playFrom);
    const periods = [];
    for (let i = 1; i < played.flips.length; ++i) {
      periods.push(played.flips[i] - played.flips[i - 1]);
    }
    periods.sort((a, b) => a - b);
    const ms = (value) => `${value.toFixed(2)} ms`;
    console.log(`${name}: frame period in play (${periods.length} frames over ${playSeconds} s; ` +
      `cross-origin isolated: ${played.isolated}, clock step ${played.step.toFixed(3)} ms)`);
    // A whole-millisecond clock times each flip to the millisecond; the mean
    // over the whole play is as fine as the clock is over its length.
    const mean = (played.flips[played.flips.length - 1] - played.flips[0]) / periods.length;
    console.log(`  median ${ms(quantile(periods, 0.5))} (goal 40.0-40.5), mean ${ms(mean)}, ` +
      `p99 ${ms(quantile(periods, 0.99))}, min ${ms(periods[0])}, max ${ms(periods[periods.length - 1])}`);
    await page.close();
  } finally {
    await engine.close();
    site.server.close();
  }
}

const chosen = engineChoice === 'all' ? engineNames : [engineChoice];
for (const name of chosen) {
  if (!engineNames.includes(name)) {
    console.error(`--engine: one of ${engineNames.join(', ')} or all`);
    process.exit(2);
  }
  if (name === 'chromium') {
    await benchChromium();
    // A player's connection: the bytes of a first and a second visit, and
    // the start on two shaped lines.
    printLoading(await measureLoading(siteDir));
  } else {
    await benchPeriod(name);
  }
}
