// The three browser engines players use, each behind the same few calls, so
// that one description of a session plays in all of them:
//   const engine = await startEngine('chromium' | 'firefox' | 'webkit');
//   const page = await engine.open(url, { viewport, touch, initScript });
//   page.look(fn, arg)     runs fn(arg) in the page, answers its result (JSON)
//   page.keyDown(code)     a key by its KeyboardEvent.code, held until keyUp
//   page.keyUp(code)
//   page.screenshot()      the page as seen, PNG bytes
//   page.hide(), page.show()  another tab in front, and the page back (Firefox)
//   page.log               what the page printed, and its errors
//   page.close(); engine.close()
// Chromium is Debian's, driven by playwright-core; Firefox is Debian's
// firefox-esr over WebDriver BiDi, driven by puppeteer-core; WebKit is
// WebKitGTK's MiniBrowser through WebKitWebDriver (started here), driven by
// selenium-webdriver. All pinned by package-lock.json (npm ci in this folder).
// WebKit needs an X display and the two others a sound server to be heard:
// engine_session.sh provides both.
import { spawn } from 'node:child_process';
import net from 'node:net';
import puppeteer from 'puppeteer-core';
import { Builder, Key } from 'selenium-webdriver';
import { launch, waitUntil } from './chromium.mjs';

export const engineNames = ['chromium', 'firefox', 'webkit'];

// `fn(arg)` as an expression whose value is its result as JSON text, so every
// engine hands back the same plain values.
function asJsonExpression(fn, arg) {
  return `Promise.resolve((${fn})(${JSON.stringify(arg === undefined ? null : arg)}))` +
    '.then((value) => JSON.stringify(value === undefined ? null : value))';
}

async function chromiumEngine() {
  // Sound waits for a key, as a player's browser has it.
  const browser = await launch({ autoplay: false });
  return {
    name: 'chromium',
    async open(url, { viewport, touch = false, initScript }) {
      const context = await browser.newContext({ viewport, hasTouch: touch });
      await context.addInitScript(initScript);
      const page = await context.newPage();
      const log = [];
      page.on('console', (message) => log.push(message.text()));
      page.on('pageerror', (error) => log.push(`page error: ${error.message}`));
      const session = await context.newCDPSession(page);
      await page.goto(url);
      return {
        log,
        // Chromium's own handles, for what only it is tested with (a game
        // controller held by the test, touches, scaling).
        playwright: { page, context },
        // Through the DevTools protocol and not Playwright's own evaluate,
        // which counts as a gesture of the person at the page and so would
        // let the page's sound start before any key.
        async look(fn, arg) {
          const { result, exceptionDetails } = await session.send('Runtime.evaluate', {
            expression: asJsonExpression(fn, arg), returnByValue: true, awaitPromise: true,
          });
          if (exceptionDetails) {
            throw new Error(`in the page: ${exceptionDetails.exception ? exceptionDetails.exception.description : exceptionDetails.text}`);
          }
          return JSON.parse(result.value);
        },
        keyDown: (code) => page.keyboard.down(code),
        keyUp: (code) => page.keyboard.up(code),
        screenshot: () => page.screenshot(),
        close: () => context.close(),
      };
    },
    close: () => browser.close(),
  };
}

async function firefoxEngine() {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.KORVANE_FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
    // Sound waits for a key, as a player's browser has it.
    extraPrefsFirefox: { 'media.autoplay.default': 1, 'media.autoplay.blocking_policy': 0 },
  });
  return {
    name: 'firefox',
    async open(url, { viewport, initScript }) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      const log = [];
      page.on('console', (message) => log.push(message.text()));
      page.on('pageerror', (error) => log.push(`page error: ${error.message}`));
      await page.setViewport(viewport);
      await page.evaluateOnNewDocument(initScript);
      await page.goto(url);
      return {
        log,
        // Evaluated as no gesture of the person at the page (Puppeteer's own
        // evaluate counts as one), for the same reason as in Chromium.
        async look(fn, arg) {
          const result = await page.mainFrame().mainRealm().realm.evaluate(
            asJsonExpression(fn, arg), true, { userActivation: false, resultOwnership: 'none' });
          if (result.type === 'exception') {
            throw new Error(`in the page: ${result.exceptionDetails.text}`);
          }
          return JSON.parse(result.result.value);
        },
        keyDown: (code) => page.keyboard.down(code),
        keyUp: (code) => page.keyboard.up(code),
        screenshot: async () => Buffer.from(await page.screenshot()),
        // Another tab brought to the front hides the page, as a player's
        // switch of tabs does (Firefox hides a background tab even headless);
        // bringing the page back shows it again.
        async hide() {
          this.otherTab = await context.newPage();
          await this.otherTab.bringToFront();
        },
        async show() {
          await page.bringToFront();
          await this.otherTab.close();
        },
        close: () => context.close(),
      };
    },
    close: () => browser.close(),
  };
}

// The WebDriver key for a KeyboardEvent.code the tests press.
function webdriverKey(code) {
  const named = {
    ArrowDown: Key.ARROW_DOWN, ArrowUp: Key.ARROW_UP, ArrowLeft: Key.ARROW_LEFT,
    ArrowRight: Key.ARROW_RIGHT, Escape: Key.ESCAPE, Enter: Key.ENTER, Space: ' ',
  };
  if (named[code]) {
    return named[code];
  }
  if (/^Key[A-Z]$/.test(code)) {
    return code.slice(3).toLowerCase();
  }
  throw new Error(`no WebDriver key for ${code}`);
}

async function freePort() {
  const server = net.createServer();
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

async function webkitEngine() {
  const port = await freePort();
  const driverLog = [];
  const driver = spawn(process.env.KORVANE_WEBKIT_DRIVER || 'WebKitWebDriver',
    [`--port=${port}`, '--host=127.0.0.1'], { stdio: ['ignore', 'pipe', 'pipe'] });
  driver.stdout.on('data', (data) => driverLog.push(String(data)));
  driver.stderr.on('data', (data) => driverLog.push(String(data)));
  const ready = await waitUntil(async () => {
    try {
      return (await fetch(`http://127.0.0.1:${port}/status`)).ok;
    } catch (error) {
      return false;
    }
  }, 30);
  if (!ready) {
    driver.kill();
    throw new Error(`WebKitWebDriver did not start: ${driverLog.join('')}`);
  }
  const miniBrowser = process.env.KORVANE_MINIBROWSER ||
    '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
  return {
    name: 'webkit',
    // WebDriver has no script run before the page's own: the page is served
    // with it (`initScript` is then null here, see pageWithScript).
    needsScriptInPage: true,
    async open(url, { viewport }) {
      const session = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] },
      }).build();
      await session.manage().window().setRect({ x: 0, y: 0, width: viewport.width, height: viewport.height });
      await session.get(url);
      const page = {
        log: driverLog,
        async look(fn, arg) {
          const text = await session.executeAsyncScript(
            `const done = arguments[arguments.length - 1];
             ${asJsonExpression(fn, arg)}.then(done, (error) => done(JSON.stringify({ pageError: String(error) })));`);
          const value = JSON.parse(text);
          if (value && typeof value === 'object' && value.pageError) {
            throw new Error(`in the page: ${value.pageError}`);
          }
          return value;
        },
        keyDown: (code) => session.actions().keyDown(webdriverKey(code)).perform(),
        keyUp: (code) => session.actions().keyUp(webdriverKey(code)).perform(),
        screenshot: async () => Buffer.from(await session.takeScreenshot(), 'base64'),
        close: () => session.quit(),
      };
      return page;
    },
    async close() {
      driver.kill();
      await new Promise((resolve) => (driver.exitCode !== null ? resolve() : driver.once('exit', resolve)));
    },
  };
}

export async function startEngine(name) {
  if (name === 'chromium') {
    return chromiumEngine();
  }
  if (name === 'firefox') {
    return firefoxEngine();
  }
  if (name === 'webkit') {
    return webkitEngine();
  }
  throw new Error(`unknown engine ${name} (one of ${engineNames.join(', ')})`);
}

// The game's page with `script` run before its own, for an engine that
// cannot add a script to a page itself: served at `/name` beside the
// original, so everything it loads is found as before.
export function pageWithScript(html, script) {
  return html.replace(/<head>/i, () => `<head><script>${script}</script>`);
}
