// Latency from the game's SoundPlay to the page's audio output in headless
// Chromium, for the two ways the browser backend could play a sound: a Web
// Audio buffer source node per sound (what it does), and the shared software
// mixer filling a ScriptProcessor's buffers on the page's thread (at two
// buffer sizes). An AudioWorklet just before the speakers finds each click's
// first sample; the browser's output timestamp turns that into the time it
// is heard. A benchmark, not a test.
//   node scripts/bench-web-sound.mjs [BUILD_DIR]
// (builds the korvane_sound_latency program in BUILD_DIR, default build-web)
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { launch, serve, waitUntil } from '../tests/web/chromium.mjs';

const build = path.resolve(process.argv[2] || 'build-web');
execFileSync('cmake', ['--build', build, '--target', 'korvane_sound_latency'], { stdio: 'inherit' });

const tap = `
class Tap extends AudioWorkletProcessor {
  constructor() {
    super();
    this.armed = false;
    this.port.onmessage = () => { this.armed = true; };
  }
  process(inputs, outputs) {
    const input = inputs[0];
    for (let c = 0; c < outputs[0].length && c < input.length; ++c) {
      outputs[0][c].set(input[c]);
    }
    if (this.armed && input.length) {
      for (let i = 0; i < input[0].length; ++i) {
        if (Math.abs(input[0][i]) > 0.05) {
          this.armed = false;
          this.port.postMessage(currentTime + i / sampleRate);
          break;
        }
      }
    }
    return true;
  }
}
registerProcessor('tap', Tap);`;

function page(mode, bufferFrames) {
  return `<!DOCTYPE html><html><head><link rel="icon" href="data:,"></head><body><script>
(async function () {
  const context = new AudioContext({ latencyHint: 'interactive' });
  await context.audioWorklet.addModule(URL.createObjectURL(new Blob([${JSON.stringify(tap)}],
    { type: 'text/javascript' })));
  const tapNode = new AudioWorkletNode(context, 'tap', { outputChannelCount: [2] });
  tapNode.connect(context.destination);
  // Everything the program plays reaches the speakers through the tap.
  window.AudioContext = function () { return context; };
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    return connect.call(this, target === context.destination ? tapNode : target, ...rest);
  };
  window.results = [];
  let armedAt = 0;
  tapNode.port.onmessage = (event) => {
    const stamp = context.getOutputTimestamp();
    const heardAt = stamp.performanceTime + (event.data - stamp.contextTime) * 1000;
    window.results.push(heardAt - armedAt);
  };
  window.Module = {
    arguments: ['${mode}'],
    benchBufferFrames: ${bufferFrames},
    benchArm(at) { armedAt = at; tapNode.port.postMessage('arm'); },
    benchDone() { window.done = true; },
    print: (t) => console.log(t), printErr: (t) => console.log(t),
  };
  const script = document.createElement('script');
  script.src = 'korvane_sound_latency.js';
  document.body.appendChild(script);
})();
</script></body></html>`;
}

const site = await serve(path.join(build, 'bench'), {
  '/nodes.html': page('nodes', 0),
  '/mixer1024.html': page('mixer', 1024),
  '/mixer2048.html': page('mixer', 2048),
});
const browser = await launch();
try {
  const rows = [];
  for (const [name, file] of [['buffer source node per sound', '/nodes.html'],
    ['shared mixer, ScriptProcessor of 1024 frames', '/mixer1024.html'],
    ['shared mixer, ScriptProcessor of 2048 frames', '/mixer2048.html']]) {
    const tab = await browser.newPage();
    tab.on('pageerror', (error) => console.log(`${name}: page error: ${error.message}`));
    tab.on('console', (message) => {
      if (message.type() === 'error') {
        console.log(`${name}: ${message.text()}`);
      }
    });
    await tab.goto(site.url(file));
    await waitUntil(() => tab.evaluate(() => window.done === true), 60);
    await tab.waitForTimeout(500);
    const values = (await tab.evaluate(() => window.results)).sort((a, b) => a - b);
    rows.push({ name, values });
    await tab.close();
  }
  console.log('SoundPlay to the sound heard, in ms (median, min, max over the clicks)');
  for (const { name, values } of rows) {
    if (!values.length) {
      console.log(`  ${name}: nothing heard`);
      continue;
    }
    const median = values[Math.floor(values.length / 2)];
    console.log(`  ${name.padEnd(46)} ${median.toFixed(1).padStart(6)} ${values[0].toFixed(1).padStart(6)} ` +
      `${values[values.length - 1].toFixed(1).padStart(6)}   (${values.length} clicks)`);
  }
} finally {
  await browser.close();
  site.server.close();
}
