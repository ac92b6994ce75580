// End-to-end test of the game's page in a browser engine: the session the
// desktop and Windows games are played through (loading picture, menu after
// its wipe, N with a piece falling and moving on every arrow, Escape, R
// resuming, G and B, E to the end page), the music heard once a key has been
// pressed, and the zip's page screen for screen as the headless build draws
// it, in Chromium, Firefox or WebKit (browsers.mjs). In Chromium also a game
// controller and a touch screen each playing a move, the page scaled at two
// window sizes, and a start-up that fails.
//   node game_test.mjs [--engine chromium|firefox|webkit] SITE_DIR ZIP WRITE_TEST_ASSETS REPLAY
//        DATA_DIR REFERENCE_SCRIPT SHOT_PROBE
// WRITE_TEST_ASSETS and REPLAY are commands (the web build's programs run
// under Node), SHOT_PROBE the screen reader built for this machine, which
// the canvas's pictures are given to; every step waits for the state it
// checks. Firefox and WebKit
// run under engine_session.sh, which gives them a sound server and WebKit a
// display.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pageWithScript, startEngine } from './browsers.mjs';
import { serve, waitUntil } from './chromium.mjs';
import { tapSound } from './sound_tap.mjs';
import { near, Reader } from './pictures.mjs';

const args = process.argv.slice(2);
const engineName = args[0] === '--engine' ? args.splice(0, 2)[1] : 'chromium';
const [siteDir, zip, writeAssets, replay, dataDir, referenceScript, probe] = args;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'korvane-web-'));
const reader = new Reader(probe);
let shots = 0;
const keptShots = path.join(path.dirname(path.resolve(zip)), `web-test-shots${engineName === 'chromium' ? '' : `-${engineName}`}`);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
let passes = 0;
let failures = 0;

function pass(what) {
  console.log(`ok: ${what}`);
  ++passes;
}
function fail(what) {
  console.log(`FAILED: ${what}`);
  ++failures;
}
function check(condition, what, otherwise = what) {
  if (condition) {
    pass(what);
  } else {
    fail(otherwise);
  }
  return condition;
}

// The colours of the small test pictures.
const colours = {
  loading: [0x60, 0x60, 0x60], menu: [0x10, 0x40, 0x10], playing: [0x10, 0x10, 0x40],
  fileMenu: [0x40, 0x10, 0x10], black: [0, 0, 0],
};

// Everything a page of the test is given before the game starts: pictures
// put in place of the packed ones and files taken away (both once the data
// is unpacked and before the game reads it), the audio output tapped, a game
// controller the test holds, and how a fresh page may be told from one that
// has already begun.
function prepare({ pictures = {}, remove = [] }) {
  const files = Object.fromEntries(Object.entries(pictures).map(([name, bytes]) =>
    [name, bytes.toString('base64')]));
  return `(${function (files, remove) {
    // The page's own script runs this first when the data is unpacked.
    window.Module = { onRuntimeInitialized() {
      for (const [name, base64] of Object.entries(files)) {
        const text = atob(base64);
        const bytes = new Uint8Array(text.length);
        for (let i = 0; i < text.length; ++i) {
          bytes[i] = text.charCodeAt(i);
        }
        Module.FS.writeFile(name, bytes);
      }
      for (const name of remove) {
        Module.FS.unlink(name);
      }
    } };
    // A controller of the standard layout whose buttons the test holds.
    window.testPad = {
      id: 'test controller', index: 0, connected: true, mapping: 'standard', timestamp: 0,
      axes: [0, 0, 0, 0],
      buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })),
    };
    Object.defineProperty(navigator, 'getGamepads', { value: () => [window.testPad] });
  }})(${JSON.stringify(files)}, ${JSON.stringify(remove)});
  (${tapSound})();`;
}

// A site the tests' pages come from: its folder served on 127.0.0.1, with
// room for pages made on the fly beside its own.
async function openSite(root) {
  const extra = {};
  const { server, url } = await serve(root, extra);
  return { root, extra, server, url, pages: 0 };
}

// One page of the game in its own browser context (or session).
class Game {
  constructor(engine, site, { viewport = { width: 1280, height: 800 }, touch = false,
    pictures = {}, remove = [] } = {}) {
    Object.assign(this, { engine, site, viewport, touch, pictures, remove });
  }

  async open() {
    const initScript = prepare({ pictures: this.pictures, remove: this.remove });
    let url = this.site.url('/index.html');
    if (this.engine.needsScriptInPage) {
      const name = `/test-page-${++this.site.pages}.html`;
      const html = fs.readFileSync(path.join(this.site.root, 'index.html'), 'utf8');
      this.site.extra[name] = pageWithScript(html, initScript);
      url = this.site.url(name);
    }
    this.page = await this.engine.open(url, { viewport: this.viewport, touch: this.touch, initScript });
    this.log = this.page.log;
    return this;
  }

  // Runs `fn(arg)` in the page, as no gesture of the person at it (else the
  // page's sound could start before any key), and answers its result.
  look(fn, arg) {
    return this.page.look(fn, arg);
  }

  async close() {
    await this.page.close();
  }

  // The game's picture as it stands on the canvas, saved as a PNG file for
  // the reader: { file, began, ended }, the moments (ms) it was taken between.
  async shot(name = `shot-${++shots}`) {
    const began = Date.now();
    const url = await this.look(() => document.getElementById('screen').toDataURL('image/png'));
    const ended = Date.now();
    const file = path.join(work, `${name}.png`);
    fs.writeFileSync(file, Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
    this.lastShot = file;
    return { file, began, ended };
  }

  // Waits until `test(file)` holds for a picture of the canvas; answers its
  // file, or null.
  async waitScreen(test, seconds) {
    return waitUntil(async () => {
      const { file } = await this.shot('screen');
      return (await test(file)) ? file : null;
    }, seconds, 100);
  }

  // The whole picture in one colour: a wipe onto it has ended.
  waitColour(colour, seconds) {
    return this.waitScreen(async (file) => {
      for (const [x, y] of [[20, 20], [620, 460], [320, 240]]) {
        if (!near(await reader.pixel(file, x, y), colour)) {
          return false;
        }
      }
      return true;
    }, seconds);
  }

  // A key held for several frames and at least two keyboard samples (one
  // every 100 ms), with time to spare on a busy machine.
  async press(code, ms = 350) {
    await this.page.keyDown(code);
    await sleep(ms);
    await this.page.keyUp(code);
  }

  async holdButton(index, ms = 350) {
    await this.look((i) => { window.testPad.buttons[i] = { pressed: true, touched: true, value: 1 }; }, index);
    await sleep(ms);
    await this.look((i) => { window.testPad.buttons[i] = { pressed: false, touched: false, value: 0 }; }, index);
  }

  // A finger held on an on-screen button (Chromium's touch events).
  async holdFinger(label, ms = 350) {
    const { page, context } = this.page.playwright;
    const box = await page.locator(`#touch button:text-is("${label}")`).boundingBox();
    const session = await context.newCDPSession(page);
    const point = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [point] });
    await sleep(ms);
    await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await session.detach();
  }

  // The falling piece in a picture of the canvas taken now (see
  // Reader.piece), with its picture's `file`, or null.
  async piece(name) {
    const { file } = await this.shot(name);
    const piece = await reader.piece(file);
    return piece && { ...piece, file };
  }

  // Waits for a fresh piece (just come whole into view, the whole fall before
  // it), after the piece last followed has gone; holds Down on `drop`
  // meanwhile to bring one on. Its picture becomes the one the next check
  // knows the piece by.
  async freshPiece(drop, seconds = 40) {
    let dropping = false;
    let gone = !this.followed;
    const piece = await waitUntil(async () => {
      const now = await this.piece('fresh');
      gone = gone || !now || !now.fresh;
      if (now && now.fresh && gone) {
        return now;
      }
      if (!dropping && drop) {
        dropping = true;
        await drop(true);
      }
      return null;
    }, seconds, 50);
    if (dropping) {
      await drop(false);
    }
    // The key let go, the piece is looked at again where it now stands.
    const known = piece && await this.piece('known');
    this.followed = true;
    return known;
  }

  async soundPeak() {
    return this.look(() => window.testSoundPeak());
  }

  async ended() {
    return this.look(() => {
      const ended = document.getElementById('ended');
      return getComputedStyle(ended).display !== 'none' ? document.getElementById('ended-text').textContent : null;
    });
  }
}

// Checks on a piece, as the desktop and Windows tests make them: each on a
// fresh piece, looked at right before its key, which is then held while the
// canvas is pictured again and again, and the reader judges the pictures
// (Reader.judge). A check whose moment was missed is made again on a new
// piece, three times at most.

// One check on the piece `known` shows: `hold(true)` from the moment after a
// look at it, pictures taken for 0.4 s at a time and judged until an answer
// (or ten seconds), `hold(false)`.
async function followPiece(game, known, hold, check) {
  const readings = [await game.shot(`${check}-0`)];
  await hold(true);
  try {
    const deadline = Date.now() + 10000;
    while (Date.now() < deadline) {
      const burst = Date.now() + 400;
      do {
        readings.push(await game.shot(`${check}-${readings.length}`));
      } while (Date.now() < burst);
      const verdict = await reader.judge(known.file, check, readings);
      if (verdict[0] !== 'wait') {
        return verdict;
      }
    }
    return ['lost', 'no answer within ten seconds'];
  } finally {
    await hold(false);
  }
}

// A check made on fresh pieces until its moment is not missed, three at
// most; `drop(down)` holds the key that brings the next piece on.
async function checkPiece(game, name, drop, hold, check) {
  for (let tries = 1; tries <= 3; ++tries) {
    let fresh = await game.freshPiece(drop);
    while (fresh && check === 'turn' && !fresh.turns) {
      // The square looks the same turned: the next piece is taken instead.
      fresh = await game.freshPiece(drop);
    }
    if (!fresh) {
      fail(`${name}: no fresh piece came`);
      return;
    }
    const [verdict, why] = await followPiece(game, fresh, hold, check);
    if (verdict === 'pass') {
      pass(`${name} (${why})`);
      return;
    }
    if (verdict === 'fail') {
      fail(`${name}: ${why}`);
      return;
    }
    console.log(`  (${name}: ${why}; once more on a new piece)`);
  }
  fail(`${name}: three pieces in a row, the moment was missed`);
}

const keyHold = (game, code) => (down) => (down ? game.page.keyDown(code) : game.page.keyUp(code));

function readFiles(root, names) {
  return Object.fromEntries(names.map((name) => [`/${name}`, fs.readFileSync(path.join(root, name))]));
}

const artNames = ['Art/Loading.kvp', 'Art/Main.kvp', 'Art/Menu.kvp', 'Art/FileMenu.kvp',
  ...Array.from({ length: 8 }, (_, k) => `Art/Block${k + 1}.kvp`)];

async function main() {
  const assets = path.join(work, 'assets');
  execFileSync(writeAssets, [assets]);
  const testPictures = readFiles(assets, artNames);
  const unpacked = path.join(work, 'My Games', 'korvane');
  fs.mkdirSync(unpacked, { recursive: true });
  execFileSync('unzip', ['-q', zip, '-d', unpacked]);
  check(fs.existsSync(path.join(unpacked, 'index.html')), 'the zip holds index.html at its root');
  const site = await openSite(siteDir);
  const zipSite = await openSite(unpacked);
  console.log(`== in ${engineName}`);
  const engine = await startEngine(engineName);
  try {
    await session(engine, site, testPictures);
    if (engineName === 'chromium') {
      await controllerAndTouch(engine, site, testPictures);
      await scaling(engine, site);
    }
    await sameAsHeadless(engine, zipSite);
    if (engineName === 'chromium') {
      await failedStart(engine, site);
    }
  } finally {
    await engine.close();
    site.server.close();
    zipSite.server.close();
  }
}

async function session(engine, site, pictures) {
  console.log('== a whole session on the test pictures');
  const game = await new Game(engine, site, { pictures }).open();
  const launched = Date.now();
  check(await game.waitColour(colours.loading, 30), 'the loading picture shows', 'loading picture');
  const loadingAt = Date.now();
  check(await game.waitColour(colours.menu, 40), 'the main menu shows after its wipe', 'main menu');
  console.log(`  page to loading picture: ${((loadingAt - launched) / 1000).toFixed(2)} s, ` +
    `to main menu: ${((Date.now() - launched) / 1000).toFixed(2)} s`);
  // Before any key the page may make no sound; the first key lets the menu's music out.
  const silent = await game.soundPeak();
  check(silent === 0, 'no sound before the first key', `sound before any key: peak ${silent}`);
  await game.press('KeyN');
  check(await game.waitColour(colours.playing, 10), 'N starts a game', 'N');
  const heard = await waitUntil(async () => (await game.soundPeak()) > 0.01, 10, 100);
  check(heard, 'the music is heard once a key was pressed', 'no sound reached the output after a key');

  check(Boolean(await waitUntil(() => game.piece('first'), 10, 50)), 'a piece comes into the well',
    'no piece in the well');
  const drop = keyHold(game, 'ArrowDown');
  const none = async () => {};
  await checkPiece(game, 'Down moves the piece down', drop, drop, 'down');
  await checkPiece(game, 'the piece falls', drop, none, 'fall');
  await checkPiece(game, 'Up turns the piece', drop, keyHold(game, 'ArrowUp'), 'turn');
  await checkPiece(game, 'Left moves the piece', drop, keyHold(game, 'ArrowLeft'), 'left');
  await checkPiece(game, 'Right moves the piece', drop, keyHold(game, 'ArrowRight'), 'right');

  const inPlay = (await game.shot('in-play')).file;
  await game.press('Escape');
  check(await game.waitColour(colours.menu, 10), 'Escape returns to the main menu', 'Escape');
  await game.press('KeyR');
  const resumedScreen = await game.waitColour(colours.playing, 10);
  check(resumedScreen, 'R resumes the game', 'R');
  const [resumed, why] = resumedScreen ? await reader.resumed(resumedScreen, inPlay) : ['fail', 'no picture'];
  check(resumed === 'pass', `the resumed game has its settled blocks and its piece (${why})`,
    `the resumed game: ${why}`);
  await game.press('Escape');
  check(await game.waitColour(colours.menu, 10), 'Escape again', 'Escape again');
  await game.press('KeyG');
  check(await game.waitColour(colours.fileMenu, 10), 'G opens the file menu', 'G');
  await game.press('KeyB');
  check(await game.waitColour(colours.menu, 10), 'B goes back to the main menu', 'B');
  await game.press('KeyE');
  check(await game.waitColour(colours.black, 10), 'E wipes the screen to black', 'E wipe');
  const ended = await waitUntil(() => game.ended(), 10);
  check(ended === 'The game has ended.', 'the page says the game has ended and offers to start again',
    `end page: ${ended}`);
  await report(game, 'session');
  await game.close();
}

async function controllerAndTouch(engine, site, pictures) {
  console.log('== a game controller and a touch screen');
  const pad = await new Game(engine, site, { pictures }).open();
  check(await pad.waitColour(colours.menu, 40), 'the menu shows', 'menu (controller)');
  await pad.holdButton(9);  // Start: a new game
  check(await pad.waitColour(colours.playing, 10), 'Start on the controller starts a game', 'Start');
  const button = (index) => (down) => pad.look(([i, d]) => {
    window.testPad.buttons[i] = { pressed: d, touched: d, value: d ? 1 : 0 };
  }, [index, down]);
  const padDrop = button(13);
  await checkPiece(pad, 'the D-pad\'s left moves the piece', padDrop, button(14), 'left');
  await checkPiece(pad, 'the stick pushed right moves the piece', padDrop,
    (down) => pad.look((d) => { window.testPad.axes[0] = d ? 0.9 : 0; }, down), 'right');
  await report(pad, 'controller');
  await pad.close();

  const touch = await new Game(engine, site, { pictures, touch: true, viewport: { width: 900, height: 700 } }).open();
  check(await touch.waitColour(colours.menu, 40), 'the menu shows on a touch screen', 'menu (touch)');
  const shown = await touch.look(() => getComputedStyle(document.getElementById('touch')).display);
  check(shown !== 'none', 'a touch screen gets on-screen buttons', 'no on-screen buttons');
  await touch.holdFinger('N');
  check(await touch.waitColour(colours.playing, 10), 'N touched starts a game', 'N touched');
  const finger = (selector) => async (down) => {
    const { page, context } = touch.page.playwright;
    if (down) {
      touch.fingerSession = await context.newCDPSession(page);
      const box = await page.locator(selector).boundingBox();
      await touch.fingerSession.send('Input.dispatchTouchEvent',
        { type: 'touchStart', touchPoints: [{ x: box.x + box.width / 2, y: box.y + box.height / 2 }] });
    } else {
      await touch.fingerSession.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
      await touch.fingerSession.detach();
    }
  };
  await checkPiece(touch, 'the on-screen right arrow moves the piece', finger('#touch button[aria-label="Down"]'),
    finger('#touch button:text-is("▶")'), 'right');
  await report(touch, 'touch');
  await touch.close();
}

async function scaling(engine, site) {
  console.log('== the picture laid on the page at two window sizes');
  // 1920x1080: twice the picture leaves an eleventh of the height as border,
  // so it is doubled, crisp. 1280x800: the height is filled through a doubled
  // picture scaled smoothly down, 1067x800 in the middle.
  const cases = [
    { viewport: { width: 1920, height: 1080 }, box: [320, 60, 1280, 960], smooth: false },
    { viewport: { width: 1280, height: 800 }, box: [106, 0, 1067, 800], smooth: true },
  ];
  for (const { viewport, box, smooth } of cases) {
    const game = await new Game(engine, site, { viewport }).open();
    const shown = await waitUntil(() => game.look(() => {
      const visible = [...document.querySelectorAll('#stage canvas')].find((c) => c.style.display === 'block');
      if (!visible) {
        return null;
      }
      const r = visible.getBoundingClientRect();
      return { box: [r.x, r.y, r.width, r.height].map(Math.round), rendering: visible.style.imageRendering };
    }), 30);
    const size = `${viewport.width}x${viewport.height}`;
    check(shown && shown.box.join() === box.join(),
      `at ${size} the picture is ${box[2]}x${box[3]} at ${box[0]},${box[1]}`,
      `at ${size} the picture is at ${shown && shown.box.join()}, not ${box.join()}`);
    check(shown && (shown.rendering === 'pixelated') === !smooth,
      `at ${size} it is scaled ${smooth ? 'smoothly down from a doubled picture' : 'by a whole number, crisp'}`,
      `at ${size} the scaling is ${shown && shown.rendering}`);
    // The border around the picture is black on the page as seen.
    const seen = path.join(work, `page-${size}.png`);
    fs.writeFileSync(seen, await game.page.screenshot());
    const border = box[0] > 0 ? await reader.pixel(seen, Math.floor(box[0] / 2), Math.floor(viewport.height / 2))
      : await reader.pixel(seen, Math.floor(viewport.width / 2), Math.floor(box[1] / 2));
    check(box[0] === 0 && box[1] === 0 || near(border, colours.black, 2), `at ${size} the border is black`,
      `at ${size} the border is ${border}`);
    await game.close();
  }
}

async function sameAsHeadless(engine, site) {
  console.log('== the zip unpacked anywhere, screen for screen as the headless build draws it');
  const references = path.join(work, 'reference');
  fs.mkdirSync(references, { recursive: true });
  execFileSync(replay, ['--assets', dataDir, '--shots', references, referenceScript], { stdio: 'ignore' });
  const game = await new Game(engine, site).open();
  const match = async (name, reference, seconds) => {
    const wanted = path.join(references, `${reference}.png`);
    let d = null;
    const same = await game.waitScreen(async (file) => {
      d = await reader.differingPixels(file, wanted);
      return d === 0;
    }, seconds);
    check(Boolean(same), `${name} screen matches the headless build's (${d} pixels differ)`,
      `${name} screen: ${d} pixels differ from the headless build's`);
  };
  await match('loading', 'loading', 30);
  await match('menu', 'menu', 40);
  await game.press('KeyG');
  await match('file menu', 'filemenu', 15);
  await game.press('KeyB');
  await match('menu again', 'menu', 15);
  await game.press('KeyE');
  check(Boolean(await waitUntil(() => game.ended(), 15)), 'E ends the game', 'no end page after E');
  await report(game, 'zip');
  await game.close();
}

async function failedStart(engine, site) {
  console.log('== a failed start-up: the loading picture missing');
  const game = await new Game(engine, site, { remove: ['/Art/Loading.kvp'] }).open();
  const ended = await waitUntil(() => game.ended(), 30);
  check(Boolean(ended) && ended.includes('could not start') && /Art.Loading\.kvp/.test(ended),
    `the page says the game could not start: "${ended}"`, `end page after a missing loading picture: ${ended}`);
  await report(game, 'failed start');
  await game.close();
}

// A failed session leaves its page's output and last picture for a look.
async function report(game, name) {
  if (failures === 0) {
    return;
  }
  fs.writeFileSync(path.join(work, `${name}.log`), game.log.join('\n'));
  if (game.lastShot) {
    fs.copyFileSync(game.lastShot, path.join(work, `${name}-last.png`));
  }
}

try {
  await main();
} catch (error) {
  fail(`the test stopped: ${error.stack}`);
}
if (failures > 0) {
  fs.rmSync(keptShots, { recursive: true, force: true });
  fs.cpSync(work, keptShots, { recursive: true });
  console.log(`pages' output kept in ${keptShots}`);
}
fs.rmSync(work, { recursive: true, force: true });
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
