// The browser backend's side in the page, linked into every program built on
// it (the game and the seam's contract tests) and reached from the C++ side
// through EM_JS functions. One file a concern, joined in this order by the
// build (platform/CMakeLists.txt), each adding its calls to KorvaneWeb:
//   web_turns.js    the turns the game's waits give back to the page
//   web_keys.js     keys, game controllers and touch buttons
//   web_picture.js  the picture on the canvas, laid out on the page
//   web_sound.js    sounds through Web Audio
//   web_arrivals.js the files still on their way (the page's download)
//   web_dialog.js   the message box
/* exported KorvaneWeb */
var KorvaneWeb = {};
