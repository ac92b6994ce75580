// The files still on their way (the page's download), which the game's
// opening one of them waits for (web_runtime.js).
(function (api) {
  'use strict';

  var arriving = {};  // files still to come: name -> waiting

  // The page names the files still to come, then each as it is written;
  // the game's opening one of them waits for it.
  api.filesArriving = function (names) {
    names.forEach(function (name) {
      arriving[name] = arriving[name] || [];
    });
  };
  api.fileArriving = function (path) {
    return !!arriving[path.replace(/^\.?\//, '')];
  };
  api.whenFileArrives = function (path, wakeUp) {
    var name = path.replace(/^\.?\//, '');
    if (arriving[name]) {
      arriving[name].push(wakeUp);
    } else {
      wakeUp();
    }
  };
  // The game waiting for it goes on in a task of its own, not inside the
  // page's download.
  api.fileArrived = function (name) {
    var waiting = arriving[name] || [];
    delete arriving[name];
    waiting.forEach(function (wakeUp) { api.yieldNow(wakeUp); });
  };
  // Nothing more will come (the download failed): every wait ends.
  api.noMoreFiles = function () {
    Object.keys(arriving).forEach(api.fileArrived);
  };
})(KorvaneWeb);
