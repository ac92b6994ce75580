// The page around the game: the loading bar while the data comes, the
// picture laid out on every resize, full screen, the on-screen buttons of a
// touch screen, and the page shown when the game has ended. The game itself
// and the backend's side of it are in korvane.js.
/* global KorvaneWeb */
(function () {
  'use strict';
  var byId = function (id) { return document.getElementById(id); };
  var lastProblem = '';

  function layOut() {
    if (typeof KorvaneWeb !== 'undefined' && byId('loading').style.display === 'none') {
      KorvaneWeb.place(window.innerWidth, window.innerHeight);
    }
  }

  function showEnd(text) {
    byId('loading').style.display = 'none';
    byId('stage').style.display = 'none';
    byId('touch').style.display = 'none';
    byId('sound-hint').style.display = 'none';
    byId('ended-text').textContent = text;
    byId('ended').style.display = 'flex';
    byId('again').focus();
  }

  // Anything set up before this script (preRun steps, a step once the data
  // is unpacked) is kept.
  var Module = window.Module = window.Module || {};
  Module.canvas = byId('screen');
  Module.print = function (text) { console.log(text); };
  Module.printErr = function (text) {
    console.error(text);
    var failed = /^korvane: start-up failed: (.*)$/.exec(text);
    if (failed) {
      lastProblem = failed[1];
    }
  };
  // The data package reports "... (loaded/total)" as it comes.
  Module.setStatus = function (text) {
    var counts = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
    if (counts) {
      byId('progress').value = Number(counts[1]) / Number(counts[2]);
      byId('status').textContent = 'Loading… ' +
        Math.round(Number(counts[1]) / 1048576) + ' of ' +
        Math.round(Number(counts[2]) / 1048576) + ' MB';
    } else if (text) {
      byId('status').textContent = text;
    }
  };
  var setUpEarlier = Module.onRuntimeInitialized;
  Module.onRuntimeInitialized = function () {
    if (setUpEarlier) {
      setUpEarlier();
    }
    byId('loading').style.display = 'none';
    byId('fullscreen').style.display = 'block';
    byId('sound-hint').style.display = 'block';
    if ('ontouchstart' in window || navigator.maxTouchPoints > 0) {
      byId('touch').style.display = 'flex';
    }
    layOut();
    byId('screen').focus();
  };
  Module.onGameEnded = function (exitCode) {
    showEnd(exitCode === 0 ? 'The game has ended.'
                           : 'KORVANE could not start: ' + (lastProblem || 'exit code ' + exitCode));
  };
  Module.onAbort = function (what) {
    showEnd('KORVANE stopped: ' + what);
  };

  window.addEventListener('resize', layOut);
  document.addEventListener('fullscreenchange', layOut);

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(function () {});
    }
  }
  byId('fullscreen').addEventListener('click', function (event) {
    toggleFullScreen();
    event.currentTarget.blur();
  });
  window.addEventListener('keydown', function (event) {
    byId('sound-hint').style.display = 'none';
    if (event.code === 'F11' || (event.code === 'Enter' && event.altKey)) {
      event.preventDefault();
      toggleFullScreen();
    }
  }, true);
  window.addEventListener('pointerdown', function () {
    byId('sound-hint').style.display = 'none';
  }, true);

  // Each on-screen button is its key, held while the finger stays on it.
  Array.prototype.forEach.call(document.querySelectorAll('#touch button'), function (button) {
    var code = Number(button.getAttribute('data-key'));
    function hold(down, event) {
      event.preventDefault();
      button.classList.toggle('held', down);
      KorvaneWeb.setVirtualKey(code, down);
    }
    button.addEventListener('pointerdown', function (event) {
      button.setPointerCapture(event.pointerId);
      hold(true, event);
    });
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (name) {
      button.addEventListener(name, function (event) { hold(false, event); });
    });
    button.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  });

  byId('again').addEventListener('click', function () { window.location.reload(); });
})();
