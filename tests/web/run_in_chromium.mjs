// Runs one test program of the web build in a page of headless Chromium, as
// a player's page would run it (a canvas, Web Audio, the page's own clock),
// prints what it printed and exits with its exit code.
//   node run_in_chromium.mjs PROGRAM.js [SECONDS]
import path from 'node:path';
import { launch, serve, waitUntil } from './chromium.mjs';

const program = path.resolve(process.argv[2]);
const seconds = Number(process.argv[3] || 240);
const page = `<!DOCTYPE html><html><head><meta charset="utf-8"><title>test</title>
<link rel="icon" href="data:,"></head>
<body style="margin:0;background:#000"><canvas id="screen" width="640" height="480"></canvas>
<script>
var Module = {
  print: function (text) { console.log(text); },
  printErr: function (text) { console.error(text); },
  onTestsDone: function (code) { window.testExitCode = code; },
  onExit: function (code) { window.testExitCode = code; },
  onAbort: function (what) { window.testExitCode = 'abort: ' + what; }
};
</script><script src="${path.basename(program)}"></script></body></html>`;

const { server, url } = await serve(path.dirname(program), { '/run-test.html': page });
const browser = await launch();
let code = 1;
try {
  const tab = await browser.newPage({ viewport: { width: 800, height: 600 } });
  tab.on('console', (message) => console.log(message.text()));
  tab.on('pageerror', (error) => console.log(`page error: ${error.message}`));
  await tab.goto(url('/run-test.html'));
  const done = await waitUntil(() => tab.evaluate(() =>
    (window.testExitCode === undefined ? null : { exit: window.testExitCode })), seconds, 200);
  if (!done) {
    console.log(`no exit within ${seconds} s`);
  } else if (typeof done.exit === 'number') {
    code = done.exit;
  } else {
    console.log(done.exit);
  }
} finally {
  await browser.close();
  server.close();
}
process.exit(code);
