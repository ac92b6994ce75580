// The web build's tests take pictures (the canvas, the page as seen, the
// headless build's screens, all PNG files) and ask the end-to-end tests' one
// screen reader what they show: shot_probe (tests/e2e/shot_probe.cpp, built
// for this machine), the same program the desktop's and Wine's tests ask.
import { execFile } from 'node:child_process';
import { promisify } from 'node:util';

const run = promisify(execFile);

export class Reader {
  constructor(probe) {
    this.probe = probe;
  }

  // The reader's answer to one question about `file`, its lines of output;
  // null when it says no (exit 1).
  async ask(file, ...question) {
    try {
      const { stdout } = await run(this.probe, [file, ...question.map(String)], { maxBuffer: 1 << 20 });
      return stdout.trimEnd();
    } catch (error) {
      if (error.code === 1) {
        return null;
      }
      throw error;
    }
  }

  async pixel(file, x, y) {
    return (await this.ask(file, 'pixel', x, y)).split(' ').map(Number);
  }

  // How many pixels of two pictures differ by more than `tolerance` in a
  // channel (all of them when their sizes differ).
  async differingPixels(file, other, tolerance = 0) {
    return Number(await this.ask(file, 'differs', other, tolerance));
  }

  // The falling piece: { left, top, width, height } in cells, `fresh` when it
  // has just come whole into view, `turns` unless it looks the same turned;
  // null when none falls (or, given `known`, another piece has come since).
  async piece(file, known) {
    const answer = await this.ask(file, 'piece', ...(known ? [known] : []));
    if (!answer) {
      return null;
    }
    const [left, top, width, height, state, turns] = answer.split(' ');
    return { left: Number(left), top: Number(top), width: Number(width), height: Number(height),
             fresh: state === 'fresh', turns: turns === 'turns' };
  }

  // The verdict of a check ('fall', 'down', 'turn', 'left', 'right') on the
  // piece `known` showed: `readings` are { file, began, ended } (moments in
  // ms), the look right before the key first. Answers [verdict, why], the
  // verdict 'pass', 'fail', 'lost' (the moment was missed) or 'wait'.
  async judge(known, check, readings) {
    const args = readings.flatMap(({ file, began, ended }) =>
      [file, Math.round(began * 1000), Math.round(ended * 1000)]);
    const answer = await this.ask(known, 'judge', check, ...args);
    const space = answer.indexOf(' ');
    return space < 0 ? [answer, ''] : [answer.slice(0, space), answer.slice(space + 1)];
  }

  // Whether the game left at `before` came back with its settled blocks and
  // its piece: [verdict, why].
  async resumed(file, before) {
    const answer = await this.ask(file, 'resumed', before);
    const space = answer.indexOf(' ');
    return [answer.slice(0, space), answer.slice(space + 1)];
  }
}

// Every channel within `tolerance` of the wanted colour.
export function near(colour, wanted, tolerance = 14) {
  return colour.every((value, c) => Math.abs(value - wanted[c]) <= tolerance);
}
