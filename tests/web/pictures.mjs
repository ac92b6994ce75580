// Pictures for the web build's tests: PNG files read back (the headless
// build's screenshots), and the few measures the tests take of a picture.
import fs from 'node:fs';
import zlib from 'node:zlib';

// A picture: width, height and 4 bytes a pixel (red, green, blue, alpha).
export function readPng(file) {
  const bytes = fs.readFileSync(file);
  let at = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || (body[9] !== 2 && body[9] !== 6) || body[12] !== 0) {
        throw new Error(`${file}: only 8-bit RGB or RGBA, not interlaced`);
      }
      channels = body[9] === 6 ? 4 : 3;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const row = width * channels;
  const rgba = Buffer.alloc(width * height * 4);
  let previous = Buffer.alloc(row);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (row + 1)];
    const line = Buffer.from(raw.subarray(y * (row + 1) + 1, (y + 1) * (row + 1)));
    for (let x = 0; x < row; ++x) {
      const left = x >= channels ? line[x - channels] : 0;
      const up = previous[x];
      const upLeft = x >= channels ? previous[x - channels] : 0;
      let predicted = 0;
      if (filter === 1) predicted = left;
      else if (filter === 2) predicted = up;
      else if (filter === 3) predicted = (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left);
        const pb = Math.abs(p - up);
        const pc = Math.abs(p - upLeft);
        predicted = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      line[x] = (line[x] + predicted) & 0xFF;
    }
    for (let x = 0; x < width; ++x) {
      for (let c = 0; c < 3; ++c) {
        rgba[(y * width + x) * 4 + c] = line[x * channels + c];
      }
      rgba[(y * width + x) * 4 + 3] = channels === 4 ? line[x * channels + 3] : 255;
    }
    previous = line;
  }
  return { width, height, rgba };
}

export function pixel(picture, x, y) {
  const at = (y * picture.width + x) * 4;
  return [picture.rgba[at], picture.rgba[at + 1], picture.rgba[at + 2]];
}

// Every channel within `tolerance` of the wanted colour.
export function near(colour, wanted, tolerance = 14) {
  return colour.every((value, c) => Math.abs(value - wanted[c]) <= tolerance);
}

// How many pixels of two pictures of one size differ in any colour channel.
// The page widens 5-6-5 to 8 bits as the headless build's pictures do and the
// canvas keeps what it is given, so the two agree exactly.
export function differingPixels(a, b) {
  if (a.width !== b.width || a.height !== b.height) {
    return a.width * a.height;
  }
  let count = 0;
  for (let at = 0; at < a.rgba.length; at += 4) {
    if (a.rgba[at] !== b.rgba[at] || a.rgba[at + 1] !== b.rgba[at + 1] || a.rgba[at + 2] !== b.rgba[at + 2]) {
      ++count;
    }
  }
  return count;
}

// The falling piece: the cells joined to the topmost occupied cell (a piece
// not yet resting on anything is apart from the blocks below). Answers
// { top, left, width, height, count } of its box, its `shape` (the cells'
// places in the box, which tells a piece and its turn) and its `room` (the
// free rows under it), or null for an empty well.
export function fallingPiece(cells) {
  let start = null;
  for (let row = 0; row < cells.length && !start; ++row) {
    const column = cells[row].indexOf(true);
    if (column >= 0) {
      start = [row, column];
    }
  }
  if (!start) {
    return null;
  }
  const seen = new Set([start.join()]);
  const queue = [start];
  while (queue.length) {
    const [row, column] = queue.shift();
    for (const [r, c] of [[row - 1, column], [row + 1, column], [row, column - 1], [row, column + 1]]) {
      if (r >= 0 && r < cells.length && c >= 0 && c < 13 && cells[r][c] && !seen.has(`${r},${c}`)) {
        seen.add(`${r},${c}`);
        queue.push([r, c]);
      }
    }
  }
  const points = [...seen].map((key) => key.split(',').map(Number));
  const rows = points.map((p) => p[0]);
  const columns = points.map((p) => p[1]);
  const top = Math.min(...rows);
  const left = Math.min(...columns);
  const shape = points.map(([r, c]) => [r - top, c - left]).sort((a, b) => a[0] - b[0] || a[1] - b[1]).join(' ');
  let room = cells.length;
  for (const [row, column] of points) {
    let free = 0;
    while (row + free + 1 < cells.length &&
           (!cells[row + free + 1][column] || seen.has(`${row + free + 1},${column}`))) {
      ++free;
    }
    room = Math.min(room, free);
  }
  return { top, left, width: Math.max(...columns) - left + 1, height: Math.max(...rows) - top + 1,
           count: points.length, shape, room };
}

// The well's 13 by 20 cells of 24 pixels from x 251 on a 640x480 picture,
// each true where its centre is not `background`.
export function wellCells(picture, background) {
  const rows = [];
  for (let row = 0; row < 20; ++row) {
    const line = [];
    for (let column = 0; column < 13; ++column) {
      const colour = pixel(picture, 251 + column * 24 + 12, row * 24 + 12);
      line.push(colour.some((value, c) => Math.abs(value - background[c]) > 20));
    }
    rows.push(line);
  }
  return rows;
}
