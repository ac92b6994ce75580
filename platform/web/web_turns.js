// The turns the game's waits give back to the page (web_runtime.js).
(function (api) {
  'use strict';

  // A message posted to oneself comes back as the page's next task, without
  // the 4 ms a chain of timers is held to.
  var channel = null;
  var wakers = [];
  function yieldNow(wakeUp) {
    if (!channel) {
      channel = new MessageChannel();
      channel.port1.onmessage = function () {
        var next = wakers.shift();
        if (next) {
          next();
        }
      };
    }
    wakers.push(wakeUp);
    channel.port2.postMessage(0);
  }

  api.yieldNow = yieldNow;
})(KorvaneWeb);
