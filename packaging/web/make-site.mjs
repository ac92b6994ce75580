// Lays out what the web build adds to the game's own files in site/: the
// data pack, the offline worker and the web app manifest.
//
//   node make-site.mjs <data-dir> <site-dir> <version> <page-dir>
//
// korvane.pack is one gzip stream: "KVPK", the length of a JSON index, the
// index, then the bytes of each file in index order, the order the game
// opens them (the page lets it start once the first is in). The pictures
// and the short effects travel whole. The two music loops are made in the player's
// browser (korvane-music.js), so only what comes before their samples is
// packed, with their full size and SHA-256: the page lays a silent copy of
// the right size down until the real one is made, and checks it when it is.
//
// korvane-sw.js keeps every file of the site in a cache named after the
// version and the files' own digest, so that a new build replaces the old
// cache whole. The output depends on nothing but the inputs' bytes.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const [dataDir, siteDir, version, pageDir] = process.argv.slice(2);
if (!pageDir) {
  console.error('usage: node make-site.mjs <data-dir> <site-dir> <version> <page-dir>');
  process.exit(2);
}

// In the order the game opens them (assets/data_files.txt keeps them so),
// so that it can start as soon as the loading picture is in; each music
// loop's head where the game loads it.
const listFile = new URL('../../assets/data_files.txt', import.meta.url);
const order = fs.readFileSync(listFile, 'utf8').split('\n').filter((line) => line && !line.startsWith('#'));
const made = new Set(['Sound/Background.wav', 'Sound/Music.wav']);

const sha256 = (bytes) => crypto.createHash('sha256').update(bytes).digest('hex');

// Where the samples of a RIFF WAVE file begin: just past the "data" chunk's
// header.
function samplesOffset(bytes, name) {
  for (let at = 12; at + 8 <= bytes.length;) {
    const id = bytes.toString('latin1', at, at + 4);
    const size = bytes.readUInt32LE(at + 4);
    if (id === 'data') {
      return at + 8;
    }
    at += 8 + size + (size & 1);
  }
  throw new Error(`${name}: no data chunk`);
}

const index = [];
const parts = [];
let offset = 0;
function add(name, bytes, entry) {
  index.push({ name, offset, packed: bytes.length, ...entry });
  parts.push(bytes);
  offset += bytes.length;
}
for (const name of order) {
  const bytes = fs.readFileSync(path.join(dataDir, name));
  if (made.has(name)) {
    const head = bytes.subarray(0, samplesOffset(bytes, name));
    add(name, head, { bytes: bytes.length, made: true, sha256: sha256(bytes) });
  } else {
    add(name, bytes, { bytes: bytes.length });
  }
}
const indexBytes = Buffer.from(JSON.stringify(index));
const header = Buffer.alloc(8);
header.write('KVPK', 0, 'latin1');
header.writeUInt32LE(indexBytes.length, 4);
const pack = zlib.gzipSync(Buffer.concat([header, indexBytes, ...parts]), { level: 9 });
fs.writeFileSync(path.join(siteDir, 'korvane.pack'), pack);

// The icon generator stores its PNG data uncompressed; the web copies are
// squeezed, the pixels unchanged.
const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) {
    c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  }
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) {
    c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  }
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, data) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(data.length, 0);
  head.write(type, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
  return Buffer.concat([head, data, crc]);
}
function squeezePng(bytes) {
  const kept = [];
  const idat = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const data = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IDAT') {
      idat.push(data);
    } else if (type !== 'IEND') {
      kept.push(chunk(type, data));
    }
    at += 12 + length;
  }
  const pixels = zlib.inflateSync(Buffer.concat(idat));
  return Buffer.concat([bytes.subarray(0, 8), ...kept,
    chunk('IDAT', zlib.deflateSync(pixels, { level: 9 })), chunk('IEND', Buffer.alloc(0))]);
}
for (const size of [192, 512]) {
  const name = `korvane-${size}.png`;
  fs.writeFileSync(path.join(siteDir, name), squeezePng(fs.readFileSync(path.join(dataDir, name))));
}
const manifest = {
  name: 'KORVANE',
  short_name: 'KORVANE',
  description: 'A falling-block puzzle game.',
  start_url: './',
  scope: './',
  display: 'fullscreen',
  orientation: 'landscape',
  background_color: '#000000',
  theme_color: '#000000',
  icons: [192, 512].map((size) => ({
    src: `korvane-${size}.png`, sizes: `${size}x${size}`, type: 'image/png', purpose: 'any',
  })),
};
fs.writeFileSync(path.join(siteDir, 'korvane.webmanifest'), `${JSON.stringify(manifest, null, 2)}\n`);

// Everything the page may ask for, in a fixed order; the offline worker
// itself is not in it (the browser keeps that one).
const siteFiles = ['index.html', 'korvane-page.js', 'korvane.js', 'korvane.wasm', 'korvane.pack',
  'korvane-music.js', 'korvane-music.wasm', 'korvane.png', 'korvane-192.png', 'korvane-512.png',
  'korvane.webmanifest'];
const digests = {};
const whole = crypto.createHash('sha256');
for (const name of siteFiles) {
  const bytes = fs.readFileSync(path.join(siteDir, name));
  digests[name] = sha256(bytes);
  whole.update(`${name} ${digests[name]}\n`);
}
const release = `${version}-${whole.digest('hex').slice(0, 16)}`;
const worker = fs.readFileSync(path.join(pageDir, 'korvane-sw.js'), 'utf8')
  .replace('@RELEASE@', release)
  .replace('@FILES@', JSON.stringify(digests, null, 2).replace(/\n/g, '\n  '));
fs.writeFileSync(path.join(siteDir, 'korvane-sw.js'), worker);
