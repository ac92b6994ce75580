// What the web build's browser tests and benchmark share: Debian's Chromium
// driven through playwright-core (tests/web/package.json, installed with
// `npm ci` in this folder), and a static file server on 127.0.0.1 for the
// pages, as a player's own server would serve them.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { chromium } from 'playwright-core';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.mjs': 'text/javascript',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.data': 'application/octet-stream',
};

// Serves `root`; `extra` maps a path ("/page.html") to a page made on the fly.
// `headers` go with every answer (the two that make a page cross-origin
// isolated, say). Resolves to { server, url(path) }.
export async function serve(root, extra = {}, headers = {}) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (extra[name] !== undefined) {
      response.writeHead(200, { ...headers, 'Content-Type': types[path.extname(name)] || 'text/plain' });
      response.end(extra[name]);
      return;
    }
    const file = path.join(root, path.normalize(name));
    if (!file.startsWith(path.resolve(root))) {
      response.writeHead(403);
      response.end();
      return;
    }
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404);
        response.end();
        return;
      }
      response.writeHead(200, { ...headers, 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(bytes);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return { server, url: (name) => `http://127.0.0.1:${port}${name}` };
}

// Headless, with flags that work in a container: no sandbox, no GPU, nothing
// fetched from the network on the browser's own account; Playwright gives
// each browser a fresh profile folder. Sound may start without a key where
// a test asks for it; otherwise it waits for one, as in a player's browser
// (which a headless one is not unless told).
export async function launch({ autoplay = true } = {}) {
  const args = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'];
  args.push(`--autoplay-policy=${autoplay ? 'no-user-gesture-required' : 'document-user-activation-required'}`);
  return chromium.launch({
    executablePath: process.env.KORVANE_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args,
  });
}

// Polls `check` (an async function answering a truthy value when done)
// every `everyMs` until `seconds` have passed; answers its last value.
export async function waitUntil(check, seconds, everyMs = 100) {
  const deadline = Date.now() + seconds * 1000;
  let value = await check();
  while (!value && Date.now() < deadline) {
    await new Promise((resolve) => setTimeout(resolve, everyMs));
    value = await check();
  }
  return value;
}
