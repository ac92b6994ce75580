// The web page as its players meet it, in headless Chromium, one scenario a
// run:
//   touch    a phone and a tablet: the on-screen buttons never over the
//            picture, only the screen's own buttons, taps of 30 ms reaching
//            the game; the picture crisp in device pixels at ratio 2 and 3
//   frame    the page in a game host's cross-origin frame under a sub-path:
//            the click-to-play layer, keys kept from the host page, a frame
//            without the gamepad permission, no full-screen button where
//            full screen cannot be had, and a sandbox that forbids loading
//   music    the music made in the page: the build's very bytes, taking the
//            place of the silent copy the game loaded, heard after a key
//   away     (in Firefox, which hides a background tab even headless) a page
//            hidden in play: the game's own pause, sound held, the main menu
//            waiting on its return and R resuming
//   offline  a second visit with the network cut plays; a new build's
//            offline copy replaces the old one whole
//   failures each file missing or cut short, no WebAssembly, a policy that
//            forbids it, no Web Audio, a download that stalls
//
//   node player_test.mjs SCENARIO SITE_DIR
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { startEngine } from './browsers.mjs';
import { launch, waitUntil } from './chromium.mjs';
import { tapSound } from './sound_tap.mjs';

const [scenario, siteDir] = process.argv.slice(2);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'korvane-player-'));
let passes = 0;
let failures = 0;
function check(condition, what, otherwise = what) {
  console.log(condition ? `ok: ${what}` : `FAILED: ${otherwise}`);
  if (condition) {
    ++passes;
  } else {
    ++failures;
  }
  return condition;
}

const KEY = { Escape: 0x01, E: 0x12, R: 0x13, G: 0x22, N: 0x31, Up: 0xC8, Left: 0xCB, Right: 0xCD, Down: 0xD0 };
const menuKeys = [KEY.N, KEY.R, KEY.G, KEY.E].sort().join();
const playKeys = [KEY.Escape, KEY.Up, KEY.Down, KEY.Left, KEY.Right].sort().join();

// ---- A static server of the site, as a host serves an upload ------------------
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.webmanifest': 'application/manifest+json' };

// Serves `root` under `prefix`. `pages` maps a path to a page made on the
// fly; `change(name, bytes)` may answer other bytes, null for a missing file,
// or 'stall' to send half and then nothing; `headers(name)` adds headers.
async function serve(root, { prefix = '/', pages = {}, change = null, headers = () => ({}) } = {}) {
  const sockets = new Set();
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const reply = (status, bytes, type) => {
      response.writeHead(status, { 'Content-Type': type || 'application/octet-stream', ...headers(name) });
      response.end(bytes);
    };
    if (pages[name] !== undefined) {
      reply(200, pages[name], types['.html']);
      return;
    }
    const inside = name.startsWith(prefix) ? name.slice(prefix.length) || 'index.html' : null;
    const file = inside && path.join(path.resolve(server.root), path.normalize(inside));
    if (!file || !file.startsWith(path.resolve(server.root)) || !fs.existsSync(file)) {
      reply(404, '');
      return;
    }
    let bytes = fs.readFileSync(file);
    const changed = change ? change(inside, bytes) : undefined;
    if (changed === null) {
      reply(404, '');
      return;
    }
    if (changed === 'stall') {
      response.writeHead(200, { 'Content-Type': 'application/octet-stream', 'Content-Length': bytes.length });
      response.write(bytes.subarray(0, bytes.length >> 1));
      return;  // and never the rest
    }
    bytes = changed || bytes;
    reply(200, bytes, types[path.extname(file)]);
  });
  server.root = root;
  server.on('connection', (socket) => {
    sockets.add(socket);
    socket.on('close', () => sockets.delete(socket));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return {
    server,
    pages,
    url: (name, host = '127.0.0.1') => `http://${host}:${port}${name}`,
    close: () => {
      sockets.forEach((socket) => socket.destroy());
      return new Promise((resolve) => server.close(resolve));
    },
  };
}

// ---- What a test page is given before the game starts ----------------------------
// The keys each read of the game's saw and the screens it told the page of
// are kept; the music worker's files may be held back until the test lets
// them go; a frame's missing gamepad permission is played; the sound at the
// output is tapped.
function prepare({ holdMusic = false, noGamepads = false } = {}) {
  return `(${function (holdMusic, noGamepads) {
    window.testReads = [];
    window.testScreens = [];
    window.Module = { onRuntimeInitialized() {
      const read = KorvaneWeb.readKeys;
      KorvaneWeb.readKeys = function (pointer) {
        read(pointer);
        const down = [];
        for (let k = 0; k < 256; ++k) {
          if (HEAPU8[pointer + k]) {
            down.push(k);
          }
        }
        window.testReads.push(down);
      };
      const told = Module.onKeysInUse;
      Module.onKeysInUse = function (codes) {
        window.testScreens.push(codes.slice().sort().join());
        told(codes);
      };
    } };
    if (holdMusic) {
      const Real = window.Worker;
      window.testHeldMusic = [];
      window.Worker = function (url) {
        const worker = new Real(url);
        const wrapper = { onerror: null, onmessage: null };
        worker.onerror = (event) => wrapper.onerror && wrapper.onerror(event);
        worker.onmessage = (event) => window.testHeldMusic.push(() => wrapper.onmessage(event));
        return wrapper;
      };
      window.testLetMusicGo = () => {
        window.testHeldMusic.forEach((deliver) => deliver());
        return window.testHeldMusic.length;
      };
    }
    if (noGamepads) {
      Object.defineProperty(navigator, 'getGamepads', { value: () => {
        throw new DOMException('not allowed by the frame', 'SecurityError');
      } });
    }
  }})(${holdMusic}, ${noGamepads});
  (${tapSound})();`;
}

// One page (or frame) of the game. Looks go through the DevTools protocol
// so that they do not count as the player's gestures (which would let the
// sound start by themselves).
class Player {
  constructor(page, session) {
    Object.assign(this, { page, session });
    this.log = [];
    page.on('console', (m) => this.log.push(m.text()));
    page.on('pageerror', (e) => this.log.push(`page error: ${e.message}`));
  }

  static async open(context, url, options = {}) {
    await context.addInitScript(prepare(options));
    const page = await context.newPage();
    const player = new Player(page, await context.newCDPSession(page));
    await page.goto(url);
    return player;
  }

  async look(fn, arg = null, session = this.session) {
    const { result, exceptionDetails } = await session.send('Runtime.evaluate', {
      expression: `(${fn})(${JSON.stringify(arg)})`, returnByValue: true, awaitPromise: true,
    });
    if (exceptionDetails) {
      throw new Error(exceptionDetails.exception ? exceptionDetails.exception.description : exceptionDetails.text);
    }
    return result.value;
  }

  screens() {
    return this.look(() => window.testScreens || []);
  }

  // Waits until the game shows the screen whose keys are `keys` and reads
  // the keyboard there (a menu reads none while it wipes in).
  async waitScreen(keys, seconds = 40) {
    const shown = await waitUntil(async () => (await this.screens()).slice(-1)[0] === keys, seconds);
    const from = shown ? await this.readCount() : 0;
    return shown && waitUntil(async () => (await this.readCount()) > from, seconds);
  }

  // Whether a read of the game's since `from` saw `code` down.
  async readSaw(code, from) {
    return this.look(([c, f]) => window.testReads.slice(f).some((down) => down.includes(c)), [code, from]);
  }

  readCount() {
    return this.look(() => window.testReads.length);
  }

  ended() {
    return this.look(() => (getComputedStyle(document.getElementById('ended')).display !== 'none'
      ? document.getElementById('ended-text').textContent : null));
  }

  // A key held past a read of the game's (one every 100 ms or more).
  async press(code, ms = 300) {
    await this.page.keyboard.down(code);
    await new Promise((resolve) => setTimeout(resolve, ms));
    await this.page.keyboard.up(code);
  }

  async tap(selector, ms) {
    const box = await this.page.locator(selector).boundingBox();
    const point = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    await this.session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
    await new Promise((resolve) => setTimeout(resolve, ms));
    await this.session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  }

  // The picture's and the visible buttons' boxes, in CSS pixels.
  layout() {
    return this.look(() => {
      const box = (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; };
      const shown = [...document.querySelectorAll('#stage canvas')].find((c) => c.style.display === 'block');
      return {
        picture: shown ? box(shown) : null,
        rendering: shown ? shown.style.imageRendering : null,
        ratio: window.devicePixelRatio,
        buttons: [...document.querySelectorAll('#touch button')]
          .filter((b) => getComputedStyle(b).visibility === 'visible' && b.offsetParent !== null &&
            getComputedStyle(document.getElementById('touch')).display !== 'none')
          .map((b) => ({ label: b.getAttribute('aria-label') || b.textContent, box: box(b) })),
      };
    });
  }
}

// A Player on another engine's page (browsers.mjs): its reads and keys.
class EnginePlayer extends Player {
  constructor(handle) {
    super({ on: () => {} }, null);
    this.handle = handle;
  }

  look(fn, arg = null) {
    return this.handle.look(fn, arg);
  }

  async press(code, ms = 300) {
    await this.handle.keyDown(code);
    await new Promise((resolve) => setTimeout(resolve, ms));
    await this.handle.keyUp(code);
  }
}

const overlaps = (a, b) => a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3];

function checkUncovered(layout, where) {
  const over = layout.buttons.filter((b) => overlaps(b.box, layout.picture)).map((b) => b.label);
  check(layout.picture && over.length === 0,
    `${where}: the picture (${layout.picture && layout.picture.map(Math.round).join(',')}) is left uncovered by ` +
    `${layout.buttons.length} buttons`, `${where}: buttons over the picture: ${over.join(' ')}`);
}

// Placed on whole device pixels (to within the 1/64 CSS pixel a layout
// engine keeps, which painting snaps); crisp: also scaled by a whole number.
function checkPlaced(layout, where, crisp = true) {
  const [x, y, width, height] = layout.picture.map((v) => v * layout.ratio);
  const whole = (v) => Math.abs(v - Math.round(v)) < 0.1;
  const placed = whole(x) && whole(y) && whole(width) && whole(height);
  const sharp = layout.rendering === 'pixelated' && Math.round(width) % 640 === 0 &&
    Math.round(width) * 480 === Math.round(height) * 640;
  check(placed && (!crisp || sharp),
    `${where}: the picture is ${Math.round(width)}x${Math.round(height)} device pixels at ` +
    `${Math.round(x)},${Math.round(y)}${crisp ? ', crisp' : ''}`,
    `${where}: ${layout.rendering} ${[x, y, width, height].join(',')}`);
}
const checkCrisp = (layout, where) => checkPlaced(layout, where, true);

const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// ---- Scenarios ---------------------------------------------------------------------
async function touch(browser, site) {
  console.log('== a phone: the buttons beside the picture, taps of 30 ms');
  const phone = await browser.newContext({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 3,
    isMobile: true, hasTouch: true });
  const player = await Player.open(phone, site.url('/index.html'));
  check(await player.waitScreen(menuKeys), 'the main menu shows N, R, G and E');
  let layout = await player.layout();
  checkUncovered(layout, 'phone, portrait, main menu');
  checkPlaced(layout, 'phone, portrait (filled through a doubled picture)', false);
  check(layout.buttons.map((b) => b.label).sort().join() === 'E,G,N,R',
    'only the main menu\'s buttons show', `buttons shown: ${layout.buttons.map((b) => b.label)}`);
  const tapThrough = async (selector, code, name) => {
    const from = await player.readCount();
    await player.tap(selector, 30);
    check(await waitUntil(() => player.readSaw(code, from), 5), `a 30 ms tap on ${name} reaches the game`,
      `a 30 ms tap on ${name} was never read`);
  };
  await tapThrough('#keys button:text-is("N")', KEY.N, 'N');
  check(await player.waitScreen(playKeys, 10), 'N starts a game: the arrows and Esc show');
  for (const [label, code] of [['Left', KEY.Left], ['Right', KEY.Right], ['Up', KEY.Up], ['Down', KEY.Down]]) {
    await tapThrough(`#pad button[aria-label="${label}"]`, code, label);
    await wait(150);
  }
  await phone.pages()[0].setViewportSize({ width: 844, height: 390 });
  await wait(300);
  layout = await player.layout();
  checkUncovered(layout, 'phone, landscape, play');
  checkCrisp(layout, 'phone, landscape');
  await tapThrough('#keys button:text-is("Esc")', KEY.Escape, 'Esc');
  check(await player.waitScreen(menuKeys, 10), 'Esc leaves the game for the main menu');
  await phone.close();

  console.log('== a tablet, both ways up, and a laptop with a touch screen');
  for (const viewport of [{ width: 1024, height: 768 }, { width: 768, height: 1024 }, { width: 1366, height: 768 }]) {
    const tablet = await browser.newContext({ viewport, hasTouch: true });
    const pad = await Player.open(tablet, site.url('/index.html'));
    const size = `${viewport.width}x${viewport.height}`;
    check(await pad.waitScreen(menuKeys), `${size}: the main menu`);
    checkUncovered(await pad.layout(), `${size}, main menu`);
    await pad.press('KeyN');
    check(await pad.waitScreen(playKeys, 10), `${size}: a game`);
    checkUncovered(await pad.layout(), `${size}, play`);
    await tablet.close();
  }

  console.log('== screens of ratio 2 and 3: the picture crisp in device pixels');
  for (const [ratio, viewport] of [[2, { width: 960, height: 720 }], [3, { width: 700, height: 500 }],
    [1.25, { width: 1024, height: 768 }]]) {
    const screen = await browser.newContext({ viewport, deviceScaleFactor: ratio });
    const page = await Player.open(screen, site.url('/index.html'));
    await page.waitScreen(menuKeys);
    checkCrisp(await page.layout(), `ratio ${ratio}, ${viewport.width}x${viewport.height}`);
    await screen.close();
  }
}

async function frame(browser, site) {
  console.log('== in a game host\'s frame, from another origin, under a sub-path');
  const game = site.url('/games/korvane/index.html', 'localhost');
  const host = (attributes) => `<!DOCTYPE html><html><body style="margin:0">
    <h1>A host of games</h1><iframe id="game" src="${game}" width="800" height="600" ${attributes}></iframe>
    <div style="height:4000px">more of the host's page</div></body></html>`;
  site.pages['/host.html'] = host('allow="autoplay"');
  site.pages['/sandboxed.html'] = host('sandbox="allow-scripts"');
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  await context.addInitScript(prepare({ noGamepads: true }));
  const page = await context.newPage();
  const log = [];
  page.on('console', (m) => log.push(m.text()));
  await page.goto(site.url('/host.html'));
  const inFrame = async () => page.frames().find((f) => f.url().startsWith(game));
  const gameFrame = await waitUntil(inFrame, 20);
  const frameSession = await context.newCDPSession(gameFrame).catch(() => null);
  const player = new Player(page, frameSession);
  check(frameSession !== null, 'the frame is a page of its own origin');
  check(await player.waitScreen(menuKeys), 'the game starts in the frame');
  const layer = gameFrame.locator('#focus-layer');
  check(await layer.isVisible(), 'the frame without the focus shows "click or tap to play"');
  check(!(await gameFrame.locator('#fullscreen').isVisible()),
    'no full-screen button in a frame that may not go full screen');
  const sound = () => player.look(() => KorvaneWeb.audioContext() && KorvaneWeb.audioContext().state);
  check(await sound() !== 'running', 'no sound before the player acts');
  await layer.click();
  check(await waitUntil(async () => !(await layer.isVisible()), 5), 'a click on it takes the layer away');
  check(await waitUntil(async () => (await sound()) === 'running', 5), 'that click starts the sound');
  const scrolled = () => page.evaluate(() => window.scrollY);
  const scrollBefore = await scrolled();
  await player.press('KeyN');
  check(await player.waitScreen(playKeys, 10),
    'N starts a game though the frame may not read controllers (getGamepads throws)');
  for (let k = 0; k < 4; ++k) {
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Space');
    await page.keyboard.press('PageDown');
  }
  check(await scrolled() === scrollBefore, 'Down, Space and Page Down scroll nothing on the host page',
    `the host page scrolled from ${scrollBefore} to ${await scrolled()}`);

  console.log('== a frame whose sandbox forbids the page its own files');
  await page.goto(site.url('/sandboxed.html'));
  const boxed = await waitUntil(inFrame, 20);
  const said = await waitUntil(async () => {
    const text = await boxed.locator('#ended-text').textContent();
    return (await boxed.locator('#ended').isVisible()) ? text : null;
  }, 20);
  check(said && /frame/.test(said) && /allow-same-origin/.test(said), `the frame says why: "${said}"`,
    `the sandboxed frame says: ${said}`);
  await context.close();
}

async function music(browser, site) {
  console.log('== the music made in the page');
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const player = await Player.open(context, site.url('/index.html'), { holdMusic: true });
  check(await player.waitScreen(menuKeys), 'the main menu, with the music still being made');
  const delivered = await waitUntil(() => player.look(() => window.testHeldMusic.length === 2 &&
    window.testLetMusicGo()), 60);
  check(delivered === 2, 'the worker makes both music loops');
  const music = await waitUntil(async () => {
    const state = await player.look(() => window.korvaneMusic);
    return state.made.length + state.failed.length === 2 ? state : null;
  }, 20);
  check(music && music.made.length === 2,
    'both are the very bytes of the build\'s own (checked against their SHA-256)',
    `made: ${music && music.made}, wrong: ${music && music.failed}`);
  check(music && music.filled.includes('Sound/Background.wav'),
    'the menu music the game had loaded silent takes the real samples',
    `filled: ${music && music.filled}`);
  await player.press('Space');  // any key lets the sound start
  const peak = await waitUntil(async () => {
    const p = await player.look(() => window.testSoundPeak());
    return p > 0.01 ? p : 0;
  }, 10);
  check(peak > 0.01, `the menu music is heard after a key (peak ${peak.toFixed(3)})`, 'the menu music is silent');

  await context.close();
}

async function away(site) {
  console.log('== a page hidden in play, and back');
  const engine = await startEngine('firefox');
  try {
    const handle = await engine.open(site.url('/index.html'), { viewport: { width: 1280, height: 800 },
      initScript: prepare() });
    const player = new EnginePlayer(handle);
    const sound = () => player.look(() => KorvaneWeb.audioContext() && KorvaneWeb.audioContext().state);
    check(await player.waitScreen(menuKeys), 'the main menu');
    await player.press('KeyS');  // nothing on the main menu, but a key
    check(await waitUntil(async () => (await sound()) === 'running', 10), 'a key starts the sound');
    await player.press('KeyN');
    check(await player.waitScreen(playKeys, 10), 'N starts a game');
    await wait(1500);
    const from = await player.readCount();
    await handle.hide();
    check(await waitUntil(() => player.look(() => document.visibilityState === 'hidden'), 10),
      'another tab in front hides the page');
    // (A hidden page's timers are slowed, so its menu may still be wiping in.)
    check(await waitUntil(async () => (await player.screens()).slice(-1)[0] === menuKeys, 20),
      'hidden in play, the game goes to its main menu');
    const reads = await player.look((f) => window.testReads.slice(f), from);
    check(reads.some((down) => down.includes(KEY.Escape)) && !reads.some((down) => down.includes(KEY.N)),
      'by its own Escape, and no other key', `the reads meanwhile: ${JSON.stringify(reads)}`);
    check(await waitUntil(async () => (await sound()) !== 'running', 10), 'the sound is held while hidden',
      `the sound is ${await sound()} while hidden`);
    await wait(2000);
    await handle.show();
    check(await waitUntil(() => player.look(() => document.visibilityState === 'visible'), 10), 'back again');
    check(await player.waitScreen(menuKeys, 40), 'the main menu waits for the player');
    await player.press('KeyR');
    check(await player.waitScreen(playKeys, 10), 'R resumes the game');
    check(await waitUntil(async () => (await sound()) === 'running', 10), 'and the sound goes on');
    await handle.close();
  } finally {
    await engine.close();
  }
}

async function offline(browser, site) {
  console.log('== a second visit with no connection, and a new build replacing the offline copy');
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  let player = await Player.open(context, site.url('/index.html'));
  check(await player.waitScreen(menuKeys), 'the first visit plays');
  const controlled = await waitUntil(() => player.look(() => navigator.serviceWorker.ready
    .then(() => !!navigator.serviceWorker.controller)), 30);
  check(controlled, 'the offline worker has kept the files and serves the page');
  const cachesOf = (p) => p.look(() => caches.keys());
  const firstCaches = await cachesOf(player);
  check(firstCaches.length === 1, `one cache: ${firstCaches}`);
  await player.page.close();

  await context.setOffline(true);
  player = await Player.open(context, site.url('/index.html'));
  check(await player.waitScreen(menuKeys), 'with the network cut, the second visit reaches the menu');
  await player.press('KeyN');
  check(await player.waitScreen(playKeys, 10), 'and N starts a game');
  await player.page.close();
  await context.setOffline(false);

  // A new build: another page script, so another release name.
  const next = path.join(work, 'next');
  fs.cpSync(siteDir, next, { recursive: true });
  fs.appendFileSync(path.join(next, 'korvane-page.js'), '\n// the next build\n');
  const digest = crypto.createHash('sha256').update(fs.readFileSync(path.join(next, 'korvane-page.js'))).digest('hex');
  const worker = fs.readFileSync(path.join(next, 'korvane-sw.js'), 'utf8');
  fs.writeFileSync(path.join(next, 'korvane-sw.js'), worker
    .replace(/const RELEASE = '([^']*)'/, "const RELEASE = '$1-next'")
    .replace(/("korvane-page\.js": ")[0-9a-f]+"/, `$1${digest}"`));
  site.server.root = next;
  player = await Player.open(context, site.url('/index.html'));
  check(await player.waitScreen(menuKeys), 'the visit after the new build plays (the old copy, whole)');
  const installed = await waitUntil(() => player.look(() => navigator.serviceWorker.getRegistration()
    .then((r) => !!(r && r.waiting) && caches.keys().then((k) => k.some((n) => n.endsWith('-next'))))), 30);
  check(installed, 'the new build\'s copy is kept beside it meanwhile');
  await player.page.close();
  player = await Player.open(context, site.url('/index.html'));
  check(await waitUntil(() => player.look(() => fetch('korvane-page.js').then((r) => r.text())
    .then((t) => t.includes('the next build'))), 30), 'once the old page is closed the new build is served');
  const lastCaches = await waitUntil(async () => {
    const names = await cachesOf(player);
    return names.length === 1 && names[0].endsWith('-next') ? names : null;
  }, 20);
  check(lastCaches, 'and the old cache is gone', `caches: ${await cachesOf(player)}`);
  await context.close();
}

async function failuresScenario(browser) {
  console.log('== what went wrong, in a player\'s words');
  const cases = [
    { name: 'the data pack missing', change: (n) => (n === 'korvane.pack' ? null : undefined),
      says: /korvane\.pack.*could not be loaded/ },
    { name: 'the data pack cut short', change: (n, b) => (n === 'korvane.pack' ? b.subarray(0, b.length >> 1) : undefined),
      says: /korvane\.pack.*damaged or cut short/ },
    { name: 'the module missing', change: (n) => (n === 'korvane.wasm' ? null : undefined),
      says: /korvane\.wasm.*could not be loaded/ },
    { name: 'the module cut short', change: (n, b) => (n === 'korvane.wasm' ? b.subarray(0, 1000) : undefined),
      says: /korvane\.wasm.*damaged or cut short/ },
    { name: 'the script missing', change: (n) => (n === 'korvane.js' ? null : undefined),
      says: /korvane\.js.*could not be loaded/ },
    { name: 'no WebAssembly', script: 'delete window.WebAssembly;', says: /does not run WebAssembly/ },
    { name: 'a policy without wasm-unsafe-eval',
      headers: (n) => (n.endsWith('.html') || n.endsWith('/') ? { 'Content-Security-Policy': "script-src 'self'" } : {}),
      says: /security policy.*WebAssembly/ },
    { name: 'no Web Audio', script: 'delete window.AudioContext; delete window.webkitAudioContext;',
      dismiss: true, says: /no sound/ },
    { name: 'a download that stalls', change: (n) => (n === 'korvane.pack' ? 'stall' : undefined),
      stalls: true },
  ];
  for (const test of cases) {
    const site = await serve(siteDir, { change: test.change, headers: test.headers || (() => ({})) });
    const context = await browser.newContext();
    if (test.script) {
      await context.addInitScript(test.script);
    }
    const page = await context.newPage();
    await page.goto(site.url('/index.html'));
    if (test.stalls) {
      const shown = await waitUntil(() => page.locator('#stalled').isVisible(), 30);
      check(shown, `${test.name}: the page says it has stalled, with a "Try again"`);
    } else {
      if (test.dismiss) {
        const box = page.locator('.korvane-message');
        const message = await waitUntil(async () => ((await box.isVisible()) ? box.textContent() : null), 30);
        check(message && message.includes('Unable to create Direct Sound Object.'),
          `${test.name}: the game's own message first ("${message}")`);
        await page.locator('.korvane-message button').click();
      }
      const said = await waitUntil(async () => ((await page.locator('#ended').isVisible())
        ? page.locator('#ended-text').textContent() : null), 30);
      const retry = await page.locator('#again').textContent();
      check(said && test.says.test(said) && (test.dismiss || retry === 'Try again'),
        `${test.name}: "${said}" [${retry}]`, `${test.name}: the page says "${said}" [${retry}]`);
    }
    await context.close();
    await site.close();
  }
}

async function main() {
  const browser = scenario === 'away' ? null : await launch({ autoplay: false });
  const site = await serve(siteDir, { prefix: scenario === 'frame' ? '/games/korvane/' : '/' });
  try {
    if (scenario === 'touch') {
      await touch(browser, site);
    } else if (scenario === 'frame') {
      await frame(browser, site);
    } else if (scenario === 'music') {
      await music(browser, site);
    } else if (scenario === 'away') {
      await away(site);
    } else if (scenario === 'offline') {
      await offline(browser, site);
    } else if (scenario === 'failures') {
      await failuresScenario(browser);
    } else {
      throw new Error(`no scenario "${scenario}"`);
    }
  } finally {
    if (browser) {
      await browser.close();
    }
    await site.close();
  }
}

try {
  await main();
} catch (error) {
  check(false, '', `the test stopped: ${error.stack}`);
}
fs.rmSync(work, { recursive: true, force: true });
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 && passes > 0 ? 0 : 1);
