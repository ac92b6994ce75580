// Measures the web page's loading in headless Chromium as a player's
// connection has it: the bytes on the wire for a first visit (until the
// offline copy is kept and the music made) and for a second, and the time
// to the loading picture and to the main menu taking keys on a 10 Mbit/s
// line with 40 ms of latency and on a 1.6 Mbit/s one with 150 ms. The files
// are served as a static host serves them (text, scripts and WebAssembly
// gzip-compressed), and the line is shaped at the server, so the workers'
// downloads are slowed too. A benchmark, not a test: it reports.
//   node scripts/bench-web-load.mjs [SITE_DIR]
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';
import { launch, waitUntil } from '../tests/web/chromium.mjs';

const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
const compressed = new Set(['.html', '.js', '.wasm', '.webmanifest']);

// A static server whose line carries `bitsPerSecond` (shared by every
// connection) after `latencyMs`; counts the bytes it sends.
async function host(siteDir, { bitsPerSecond = 0, latencyMs = 0 } = {}) {
  const state = { sent: 0, lineFreeAt: 0 };
  const send = async (response, bytes) => {
    const chunk = 16384;
    for (let at = 0; at < bytes.length; at += chunk) {
      const part = bytes.subarray(at, at + chunk);
      if (bitsPerSecond > 0) {
        const now = Date.now();
        state.lineFreeAt = Math.max(state.lineFreeAt, now) + (part.length * 8 * 1000) / bitsPerSecond;
        await new Promise((resolve) => setTimeout(resolve, state.lineFreeAt - now));
      }
      response.write(part);
    }
    response.end();
  };
  const server = http.createServer(async (request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1) || 'index.html';
    const file = path.join(siteDir, path.normalize(name));
    await new Promise((resolve) => setTimeout(resolve, latencyMs));
    if (!file.startsWith(siteDir) || !fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    const stat = fs.statSync(file);
    const tag = `"${stat.size}-${stat.mtimeMs}"`;
    if (request.headers['if-none-match'] === tag) {
      response.writeHead(304, { ETag: tag });
      response.end();
      return;
    }
    let bytes = fs.readFileSync(file);
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream', ETag: tag,
      'Cache-Control': 'max-age=600' };
    if (compressed.has(path.extname(file)) && /gzip/.test(request.headers['accept-encoding'] || '')) {
      bytes = zlib.gzipSync(bytes, { level: 9 });
      headers['Content-Encoding'] = 'gzip';
    }
    headers['Content-Length'] = bytes.length;
    response.writeHead(200, headers);
    await send(response, bytes);
  });
  server.on('connection', (socket) => {
    socket.on('close', () => { state.sent += socket.bytesWritten; });
    (state.open = state.open || new Set()).add(socket);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    sent: () => state.sent + [...(state.open || [])].filter((s) => !s.destroyed)
      .reduce((sum, s) => sum + s.bytesWritten, 0),
    close: () => {
      (state.open || new Set()).forEach((s) => s.destroy());
      return new Promise((resolve) => server.close(resolve));
    },
  };
}

// When the page showed its first picture and when the main menu first read
// the keyboard, in ms from the start of the navigation.
function instrument() {
  window.bench = { firstFlip: null, menuReady: null };
  window.Module = {
    onFlip() {
      window.bench.firstFlip = window.bench.firstFlip || performance.now();
    },
    onRuntimeInitialized() {
      let menu = false;
      const told = Module.onKeysInUse;
      Module.onKeysInUse = (codes) => {
        menu = codes.includes(0x31);
        told(codes);
      };
      const read = KorvaneWeb.readKeys;
      KorvaneWeb.readKeys = (pointer) => {
        read(pointer);
        if (menu && !window.bench.menuReady) {
          window.bench.menuReady = performance.now();
        }
      };
    },
  };
}

async function visit(context, url) {
  const page = await context.newPage();
  page.on('pageerror', (e) => console.log(`page error: ${e.message}`));
  await page.goto(url);
  const times = await waitUntil(() => page.evaluate(() => window.bench.menuReady && window.bench), 180);
  return { page, times };
}

export async function measureLoading(siteDir) {
  siteDir = path.resolve(siteDir);
  const browser = await launch();
  const report = {};
  try {
    const site = await host(siteDir);
    const context = await browser.newContext();
    await context.addInitScript(instrument);
    const first = await visit(context, site.url);
    await waitUntil(() => first.page.evaluate(() => navigator.serviceWorker.ready
      .then(() => !!navigator.serviceWorker.controller && window.korvaneMusic.made.length === 2)), 120);
    report.firstVisitBytes = site.sent();
    await first.page.close();
    const before = site.sent();
    const second = await visit(context, site.url);
    await second.page.waitForTimeout(2000);
    report.secondVisitBytes = site.sent() - before;
    report.unshaped = first.times;
    await context.close();
    await site.close();
    for (const [name, line] of [['10 Mbit/s, 40 ms', { bitsPerSecond: 10e6, latencyMs: 40 }],
      ['1.6 Mbit/s, 150 ms', { bitsPerSecond: 1.6e6, latencyMs: 150 }]]) {
      const shaped = await host(siteDir, line);
      const fresh = await browser.newContext();
      await fresh.addInitScript(instrument);
      report[name] = (await visit(fresh, shaped.url)).times;
      await fresh.close();
      await shaped.close();
    }
  } finally {
    await browser.close();
  }
  return report;
}

export function printLoading(report) {
  const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
  const ms = (value) => `${Math.round(value)} ms`;
  console.log(`bytes on the wire, first visit (until kept offline, music made): ${kb(report.firstVisitBytes)}`);
  console.log(`bytes on the wire, second visit: ${kb(report.secondVisitBytes)}`);
  // The game's own pauses and wipe run from its first picture to the menu.
  const own = report.unshaped.menuReady - report.unshaped.firstFlip;
  console.log(`the game's own pauses and wipe (loading picture to menu, unshaped): ${ms(own)}`);
  for (const name of ['10 Mbit/s, 40 ms', '1.6 Mbit/s, 150 ms']) {
    const t = report[name];
    console.log(`${name}: loading picture at ${ms(t.firstFlip)}, menu taking keys at ${ms(t.menuReady)} ` +
      `(${ms(t.menuReady - own)} beyond the game's own)`);
  }
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  printLoading(await measureLoading(process.argv[2] || 'build-web/site'));
}
