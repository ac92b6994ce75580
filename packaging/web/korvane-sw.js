// The page's offline worker: keeps every file of this release on the first
// visit, so that later visits load nothing but this worker's own check for a
// new release, and the game plays with no connection at all. The build
// writes the release name and each file's SHA-256 in.
//
// One cache per release and place: a new release fills its own cache while
// the old one goes on serving the pages already open, takes over only once
// none is left, and then deletes the old cache, so the two never mix.
//
// The files are served with the headers that isolate the page from other
// origins, which lets the browser give it its finer clock.
/* eslint-env serviceworker */
'use strict';

const RELEASE = '@RELEASE@';
const FILES = @FILES@;
const prefix = `korvane ${self.registration.scope} `;
const CACHE = prefix + RELEASE;

async function digestOf(response) {
  const bytes = await response.clone().arrayBuffer();
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest, (b) => b.toString(16).padStart(2, '0')).join('');
}

// The page has just loaded most of these, so the browser's own cache is
// asked first; a copy that is not this release's is fetched again.
async function keep(cache, name) {
  const url = new URL(name, self.registration.scope);
  for (const mode of ['force-cache', 'reload']) {
    const response = await fetch(url, { cache: mode });
    if (response.ok && (await digestOf(response)) === FILES[name]) {
      await cache.put(url, response);
      return;
    }
  }
  throw new Error(`${name} is not this release's`);
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) =>
    Promise.all(Object.keys(FILES).map((name) => keep(cache, name)))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(prefix) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

function isolated(response) {
  if (response.status === 0) {
    return response;  // an opaque answer cannot be given headers
  }
  const headers = new Headers(response.headers);
  headers.set('Cross-Origin-Opener-Policy', 'same-origin');
  headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
  return new Response(response.body, {
    status: response.status, statusText: response.statusText, headers,
  });
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(self.registration.scope)) {
    return;
  }
  const name = request.mode === 'navigate' ? 'index.html'
    : new URL(request.url).pathname.slice(new URL(self.registration.scope).pathname.length);
  if (!(name in FILES)) {
    return;
  }
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(new URL(name, self.registration.scope)))
    .then((kept) => kept || fetch(request))
    .then(isolated));
});
