// The page around the game: the data pack and the music worker while the
// game loads, the picture laid out in device pixels beside the on-screen
// buttons of a touch screen, full screen, the layer that asks for a click
// when the page lacks the focus, the pause when the page is hidden, the
// offline worker, and the pages shown when the game has ended or could not
// load. The game itself and the backend's side of it are in korvane.js.
/* global KorvaneWeb */
(function () {
  'use strict';
  var byId = function (id) { return document.getElementById(id); };
  var lastProblem = '';
  var running = false;
  var over = false;

  // ---- Pages for what went wrong ---------------------------------------------
  function showEnd(text, canRetry) {
    if (over) {
      return;
    }
    over = true;
    ['loading', 'stage', 'touch', 'sound-hint', 'focus-layer', 'fullscreen', 'fullscreen-hint', 'stalled']
      .forEach(function (id) { byId(id).style.display = 'none'; });
    byId('ended-text').textContent = text;
    byId('again').textContent = canRetry ? 'Try again' : 'Start again';
    byId('ended').style.display = 'flex';
    byId('again').focus();
  }

  function cannotLoad(text) {
    showEnd(text, true);
  }

  var damaged = function (name) {
    return 'A file of the game (' + name + ') arrived damaged or cut short. ' +
      'Check the connection and try again.';
  };
  var missing = function (name) {
    return 'A file of the game (' + name + ') could not be loaded: the site does not have it, ' +
      'or the connection was lost.';
  };

  // What the page needs before anything else, said in a player's words.
  function unfitPage() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
      return 'This browser cannot run KORVANE: it does not run WebAssembly (or has it turned off).';
    }
    if (location.protocol === 'file:') {
      return 'KORVANE must be opened from a web server: a page opened as a file may not read ' +
        'the game\'s own files.';
    }
    if (window.origin === 'null' || location.origin === 'null') {
      return 'The site showing KORVANE keeps it in a frame that may not load its own files ' +
        '(a sandbox without "allow-same-origin"). Open the game on its own page instead.';
    }
    if (typeof DecompressionStream !== 'function') {
      return 'This browser is too old for KORVANE: it cannot unpack the game\'s data. ' +
        'Please update it.';
    }
    return '';
  }

  // A policy of the site's that forbids compiling WebAssembly.
  var forbidden = false;
  document.addEventListener('securitypolicyviolation', function (event) {
    if (/wasm|eval/.test(event.blockedURI + ' ' + event.violatedDirective + ' ' + event.originalPolicy)) {
      forbidden = true;
    }
  });
  var forbiddenText = 'The site\'s security policy does not let this page run WebAssembly, which ' +
    'KORVANE needs (its policy must allow \'wasm-unsafe-eval\').';

  // ---- Loading: progress, and a download that stalls -------------------------
  var progress = { got: {}, total: {}, lastMoved: Date.now() };
  function moved(name, got, total) {
    progress.got[name] = got;
    progress.total[name] = total;
    progress.lastMoved = Date.now();
    var sum = 0;
    var all = 0;
    for (var key in progress.got) {
      sum += progress.got[key];
      all += progress.total[key] || progress.got[key];
    }
    if (all > 0) {
      byId('progress').value = sum / all;
      byId('status').textContent = 'Loading… ' + Math.round(sum / 1024) + ' of ' +
        Math.round(all / 1024) + ' KB';
    }
  }
  // Said while the pack has not come whole and nothing has moved for ten
  // seconds (the game may be waiting for a file of it).
  var stallCheck = setInterval(function () {
    if (packComplete || over) {
      byId('stalled').style.display = 'none';
      clearInterval(stallCheck);
      return;
    }
    var stalled = Date.now() - progress.lastMoved > 10000;
    byId('stalled').style.display = stalled ? 'block' : 'none';
  }, 1000);

  // Fetches `name` whole, telling its progress; rejects with words to show.
  function download(name) {
    return fetch(name).then(function (response) {
      if (!response.ok) {
        throw new Error(missing(name));
      }
      var total = Number(response.headers.get('Content-Length')) || 0;
      if (!response.body || !response.body.getReader) {
        return response.arrayBuffer().then(function (buffer) { return new Uint8Array(buffer); });
      }
      var reader = response.body.getReader();
      var parts = [];
      var got = 0;
      function next() {
        return reader.read().then(function (step) {
          if (step.done) {
            var whole = new Uint8Array(got);
            var at = 0;
            parts.forEach(function (part) { whole.set(part, at); at += part.length; });
            return whole;
          }
          parts.push(step.value);
          got += step.value.length;
          moved(name, got, Math.max(total, got));
          return next();
        });
      }
      return next();
    }, function () {
      throw new Error(missing(name));
    });
  }

  // ---- The data pack ------------------------------------------------------------
  // korvane.pack is gzip (unless the server has already undone that): a
  // header, its index, then each file in the order the game reads them. The
  // pack is unpacked as it comes: the game starts once its first file (the
  // loading picture) is in, and a file it opens before that file has come
  // is waited for.
  function deferred() {
    var d = {};
    d.promise = new Promise(function (resolve, reject) { d.resolve = resolve; d.reject = reject; });
    return d;
  }
  var packIndex = deferred();      // the entries, once the index has come
  var firstFile = deferred();      // the first file is in
  var arrived = {};                // files in before the module's file system
  var fileSystemReady = false;
  var packComplete = false;

  function packSource(response) {
    var reader = response.body.getReader();
    var total = Number(response.headers.get('Content-Length')) || 0;
    var got = 0;
    var count = function (chunk) {
      got += chunk.length;
      moved('korvane.pack', got, Math.max(total, got));
    };
    return reader.read().then(function (first) {
      var source = new ReadableStream({
        start: function (controller) {
          if (first.done) {
            controller.close();
          } else {
            count(first.value);
            controller.enqueue(first.value);
          }
        },
        pull: function (controller) {
          return reader.read().then(function (step) {
            if (step.done) {
              controller.close();
            } else {
              count(step.value);
              controller.enqueue(step.value);
            }
          });
        }
      });
      var gzip = !first.done && first.value[0] === 0x1f && first.value[1] === 0x8b;
      return gzip ? source.pipeThrough(new DecompressionStream('gzip')) : source;
    });
  }

  function unpackAsItComes(stream) {
    var reader = stream.getReader();
    var buffer = new Uint8Array(65536);
    var length = 0;
    var entries = null;
    var body = 0;
    var next = 0;
    function append(chunk) {
      if (length + chunk.length > buffer.length) {
        var larger = new Uint8Array(Math.max(buffer.length * 2, length + chunk.length));
        larger.set(buffer.subarray(0, length));
        buffer = larger;
      }
      buffer.set(chunk, length);
      length += chunk.length;
    }
    function readIndex() {
      if (String.fromCharCode(buffer[0], buffer[1], buffer[2], buffer[3]) !== 'KVPK') {
        throw new Error('not a pack');
      }
      var indexBytes = new DataView(buffer.buffer).getUint32(4, true);
      if (length < 8 + indexBytes) {
        return;
      }
      body = 8 + indexBytes;
      entries = JSON.parse(new TextDecoder().decode(buffer.subarray(8, body)));
      var end = 0;
      entries.forEach(function (entry) {
        if (entry.offset !== end || (!entry.made && entry.packed !== entry.bytes)) {
          throw new Error('a bad index');
        }
        end += entry.packed;
      });
      packIndex.resolve(entries);
    }
    function step() {
      return reader.read().then(function (chunk) {
        if (!chunk.done) {
          append(chunk.value);
        }
        if (!entries && length >= 8) {
          readIndex();
        }
        while (entries && next < entries.length &&
               length >= body + entries[next].offset + entries[next].packed) {
          var entry = entries[next++];
          var at = body + entry.offset;
          fileCame(entry, buffer.slice(at, at + entry.packed));
          firstFile.resolve();
        }
        if (chunk.done) {
          if (!entries || next < entries.length) {
            throw new Error('cut short');
          }
          packComplete = true;
          return entries;
        }
        return step();
      });
    }
    return step();
  }

  // A file of the pack is in: into the game's file system, or kept until
  // that exists. A music loop's silent copy is laid down unless the loop
  // has already been made.
  function fileCame(entry, data) {
    if (!fileSystemReady) {
      arrived[entry.name] = { entry: entry, data: data };
      return;
    }
    var FS = Module.FS;
    if (!entry.made) {
      FS.writeFile('/' + entry.name, data);
    } else if (made[entry.name]) {
      FS.writeFile('/' + entry.name, made[entry.name]);
    } else {
      var silent = new Uint8Array(entry.bytes);
      silent.set(data);
      FS.writeFile('/' + entry.name, silent);
      KorvaneWeb.expectFile(entry.name, data, entry.bytes);
    }
    KorvaneWeb.fileArrived(entry.name);
  }

  var pack = unfitPage() ? Promise.reject(new Error(unfitPage())) : fetch('korvane.pack')
    .then(function (response) {
      if (!response.ok) {
        throw new Error(missing('korvane.pack'));
      }
      return packSource(response).then(unpackAsItComes).catch(function (error) {
        console.error('korvane: the data pack: ' + error);
        throw new Error(damaged('korvane.pack'));
      });
    }, function () {
      throw new Error(missing('korvane.pack'));
    });
  pack.catch(function (error) {
    packIndex.reject(error);
    firstFile.reject(error);
    if (typeof KorvaneWeb !== 'undefined') {
      KorvaneWeb.noMoreFiles();
    }
  });

  // ---- The music, made in a worker -----------------------------------------------
  // Each loop arrives whole; until then the game has a silent copy of the
  // right size. A loop that comes out different from the build's is not used.
  var made = {};           // name -> bytes, once made and checked
  var musicState = { made: [], failed: [], filled: [] };
  window.korvaneMusic = musicState;

  // The worker sends each file's SHA-256 with it (a page not served
  // securely has none to compare, and takes the size alone).
  function checked(name, bytes, digest) {
    return packIndex.promise.then(function (entries) {
      var entry = entries.filter(function (e) { return e.name === name; })[0];
      return !!entry && entry.bytes === bytes.length && (digest === null || digest === entry.sha256);
    });
  }

  function musicMade(name, bytes, digest) {
    checked(name, bytes, digest).then(function (good) {
      if (!good) {
        musicState.failed.push(name);
        console.error('korvane: ' + name + ' was made wrongly; the game stays silent there');
        return;
      }
      made[name] = bytes;
      musicState.made.push(name);
      if (fileSystemReady) {
        window.Module.FS.writeFile('/' + name, bytes);
        KorvaneWeb.fileArrived(name);
        if (KorvaneWeb.fileMade(name, bytes)) {
          musicState.filled.push(name);
        }
      }
    }).catch(function () {});
  }

  // The worker starts once the pack is in, so that its download does not
  // hold up the game's; the menu's music is due seconds later.
  function makeMusic() {
    if (typeof Worker !== 'function') {
      musicState.failed.push('worker');
      return;
    }
    try {
      var music = new Worker('korvane-music.js');
      music.onmessage = function (event) {
        if (event.data && event.data.bytes) {
          musicMade(event.data.name, new Uint8Array(event.data.bytes), event.data.sha256 || null);
        } else if (event.data && event.data.failed) {
          musicState.failed.push(event.data.failed);
        }
      };
      music.onerror = function (event) {
        musicState.failed.push('worker');
        console.error('korvane: the music could not be made: ' + (event.message || 'no worker'));
      };
    } catch (e) {
      musicState.failed.push('worker');
    }
  }
  pack.then(makeMusic, function () {});

  // ---- The module -------------------------------------------------------------------
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
  Module.setStatus = function () {};

  // The game's files go into its memory file system before it starts.
  Module.preRun = [].concat(Module.preRun || []);
  Module.preRun.push(function () {
    Module.addRunDependency('korvane-pack');
    Promise.all([packIndex.promise, firstFile.promise]).then(function (results) {
      var FS = Module.FS;
      ['/Art', '/Sound'].forEach(function (dir) {
        try { FS.mkdir(dir); } catch (e) { /* there already */ }
      });
      fileSystemReady = true;
      if (!packComplete) {
        KorvaneWeb.filesArriving(results[0].map(function (entry) { return entry.name; })
          .filter(function (name) { return !(name in arrived); }));
      }
      Object.keys(arrived).forEach(function (name) {
        fileCame(arrived[name].entry, arrived[name].data);
      });
      arrived = {};
      Module.removeRunDependency('korvane-pack');
    }).catch(function (error) {
      cannotLoad(error.message);
    });
  });

  // The module's code, fetched here so that a missing, cut or forbidden one
  // is told apart.
  Module.instantiateWasm = function (imports, receive) {
    download('korvane.wasm').then(function (bytes) {
      return WebAssembly.instantiate(bytes, imports).catch(function (error) {
        var words = String(error && error.message);
        throw new Error(forbidden || /Content.Security|CSP|unsafe-eval|wasm-eval|not allowed/i.test(words)
          ? forbiddenText : damaged('korvane.wasm'));
      });
    }).then(function (result) {
      receive(result.instance, result.module);
    }).catch(function (error) {
      cannotLoad(error.message);
    });
    return {};
  };

  var setUpEarlier = Module.onRuntimeInitialized;
  Module.onRuntimeInitialized = function () {
    if (setUpEarlier) {
      setUpEarlier();
    }
    if (over) {
      return;
    }
    running = true;
    byId('loading').style.display = 'none';
    byId('fullscreen').style.display = fullScreenPossible() ? 'block' : 'none';
    byId('sound-hint').style.display = 'block';
    if (touchScreen()) {
      showTouch();
    }
    layOut();
    byId('screen').focus({ preventScroll: true });
    showFocusLayer();
  };
  Module.onGameEnded = function (exitCode) {
    running = false;
    var noSound = !window.AudioContext && !window.webkitAudioContext;
    showEnd(exitCode === 0 ? 'The game has ended.'
      : noSound ? 'KORVANE could not start: this browser gives the page no sound (it has no Web Audio), ' +
                  'which the game needs.'
        : 'KORVANE could not start: ' + (lastProblem || 'exit code ' + exitCode), false);
  };
  Module.onAbort = function (what) {
    running = false;
    var words = String(what);
    if (forbidden || /Content.Security|unsafe-eval|wasm-eval/i.test(words)) {
      cannotLoad(forbiddenText);
    } else if (/fetching of the wasm|failed to load wasm|wasm.*404/i.test(words)) {
      cannotLoad(missing('korvane.wasm'));
    } else {
      showEnd('KORVANE stopped because of an error in the page (' + words.split('. ')[0] + ').', true);
    }
  };

  // ---- Layout: the picture beside the on-screen buttons ------------------------------
  function touchScreen() {
    return 'ontouchstart' in window || navigator.maxTouchPoints > 0;
  }

  var touchShown = false;
  function showTouch() {
    if (!touchShown && running) {
      touchShown = true;
      byId('touch').style.display = 'block';
      // The buttons take the bottom: the hint goes to the top.
      byId('sound-hint').style.bottom = 'auto';
      byId('sound-hint').style.top = '0.8em';
      layOut();
    }
  }

  // The buttons take a band along the bottom in portrait and a column on
  // each side in landscape; the picture takes what is left, placed in
  // device pixels so that a whole factor is exact and crisp.
  function layOut() {
    if (!running || typeof KorvaneWeb === 'undefined') {
      return;
    }
    var width = document.documentElement.clientWidth || window.innerWidth;
    var height = document.documentElement.clientHeight || window.innerHeight;
    var area = { x: 0, y: 0, width: width, height: height };
    var touch = byId('touch');
    if (touchShown) {
      var landscape = width >= height;
      touch.className = landscape ? 'landscape' : 'portrait';
      var pad = byId('pad').getBoundingClientRect();
      if (landscape) {
        var side = Math.ceil(pad.width + 2 * padding());
        area = { x: side, y: 0, width: Math.max(0, width - 2 * side), height: height };
      } else {
        var band = Math.ceil(pad.height + 2 * padding());
        area = { x: 0, y: 0, width: width, height: Math.max(0, height - band) };
      }
    }
    var ratio = window.devicePixelRatio || 1;
    KorvaneWeb.place(Math.floor(area.width * ratio), Math.floor(area.height * ratio),
      Math.round(area.x * ratio) / ratio, Math.round(area.y * ratio) / ratio, ratio);
    var layer = byId('focus-layer');
    layer.style.left = area.x + 'px';
    layer.style.top = area.y + 'px';
    layer.style.width = area.width + 'px';
    layer.style.height = area.height + 'px';
  }

  Module.layOut = layOut;

  function padding() {
    return parseFloat(getComputedStyle(byId('touch')).paddingLeft) || 0;
  }

  // Only the buttons the screen shown acts on.
  Module.onKeysInUse = function (scanCodes) {
    Array.prototype.forEach.call(document.querySelectorAll('#touch button'), function (button) {
      // Called with none before the game's module (and its key names) is in.
      var used = scanCodes.length > 0 &&
        scanCodes.indexOf(KorvaneWeb.scanCodeOf(button.getAttribute('data-key'))) >= 0;
      button.style.visibility = used ? 'visible' : 'hidden';
      button.style.display = used || button.parentNode.id === 'pad' ? '' : 'none';
    });
  };

  window.addEventListener('resize', layOut);
  if (window.visualViewport) {
    window.visualViewport.addEventListener('resize', layOut);
  }
  // A change of the device pixel ratio (zoom, another screen) lays out again.
  (function watchRatio() {
    if (!window.matchMedia) {
      return;
    }
    var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    var again = function () {
      layOut();
      watchRatio();
    };
    if (query.addEventListener) {
      query.addEventListener('change', again, { once: true });
    }
  })();

  // ---- Full screen ----------------------------------------------------------------------
  var root = document.documentElement;
  function fullScreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }
  function fullScreenPossible() {
    return !!((document.fullscreenEnabled && root.requestFullscreen) ||
              (document.webkitFullscreenEnabled && root.webkitRequestFullscreen));
  }
  function toggleFullScreen() {
    if (fullScreenElement()) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    } else if (root.requestFullscreen && document.fullscreenEnabled) {
      root.requestFullscreen({ navigationUI: 'hide' }).catch(function () {});
    } else if (root.webkitRequestFullscreen) {
      root.webkitRequestFullscreen();
    }
  }
  // In full screen, Escape is the game's where the browser lets the page
  // keep it (holding it then leaves); the way out is said either way.
  function fullScreenChanged() {
    var on = !!fullScreenElement();
    var hint = byId('fullscreen-hint');
    if (on) {
      var locked = navigator.keyboard && navigator.keyboard.lock;
      hint.firstChild.textContent = locked ? 'Full screen: hold Esc, or press F11, to leave'
        : 'Full screen: press Esc or F11 to leave';
      if (locked) {
        navigator.keyboard.lock(['Escape']).catch(function () {});
      }
      hint.style.display = 'block';
      clearTimeout(hint.timer);
      hint.timer = setTimeout(function () { hint.style.display = 'none'; }, 4000);
    } else {
      hint.style.display = 'none';
      if (navigator.keyboard && navigator.keyboard.unlock) {
        navigator.keyboard.unlock();
      }
    }
    layOut();
  }
  document.addEventListener('fullscreenchange', fullScreenChanged);
  document.addEventListener('webkitfullscreenchange', fullScreenChanged);
  byId('fullscreen').addEventListener('click', function (event) {
    toggleFullScreen();
    event.currentTarget.blur();
  });

  // ---- Focus: keys reach the game only while the page has it ---------------------------
  function showFocusLayer() {
    var wanted = running && !document.hasFocus();
    byId('focus-layer').style.display = wanted ? 'flex' : 'none';
  }
  window.addEventListener('focus', showFocusLayer);
  window.addEventListener('blur', showFocusLayer);
  byId('focus-layer').addEventListener('pointerdown', function (event) {
    event.preventDefault();
    window.focus();
    byId('screen').focus({ preventScroll: true });
    byId('focus-layer').style.display = 'none';
    KorvaneWeb.resumeAudio();
  });

  window.addEventListener('keydown', function (event) {
    byId('sound-hint').style.display = 'none';
    byId('focus-layer').style.display = 'none';
    if (event.code === 'F11' || (event.code === 'Enter' && event.altKey)) {
      event.preventDefault();
      toggleFullScreen();
    }
  }, true);
  window.addEventListener('pointerdown', function (event) {
    byId('sound-hint').style.display = 'none';
    if (event.pointerType === 'touch') {
      showTouch();
    }
  }, true);

  // ---- Away and back: the game's own pause ------------------------------------------------
  // A page hidden in play is sent Escape (the main menu, where R resumes)
  // and its sound is held; a hidden page's timers are slowed, so the game
  // would otherwise fall on unseen. Escape does nothing on the menus.
  function away() {
    if (running) {
      KorvaneWeb.releaseKeys();
      KorvaneWeb.tapKey(KorvaneWeb.scanCodeOf('Escape'));
      KorvaneWeb.holdAudio(true);
    }
  }
  function back() {
    if (running) {
      KorvaneWeb.holdAudio(false);
      showFocusLayer();
      layOut();
    }
  }
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden') {
      away();
    } else {
      back();
    }
  });
  document.addEventListener('freeze', away);
  document.addEventListener('resume', back);
  window.addEventListener('pagehide', away);
  window.addEventListener('pageshow', function (event) {
    if (event.persisted) {
      back();
    }
  });

  // ---- The on-screen buttons: each is its key while the finger stays on it ----------------
  Array.prototype.forEach.call(document.querySelectorAll('#touch button'), function (button) {
    // Named as KeyboardEvent.code names keys; the game's module, loaded by
    // the time a button shows, knows its scan code.
    var key = button.getAttribute('data-key');
    function hold(down, event) {
      event.preventDefault();
      button.classList.toggle('held', down);
      KorvaneWeb.setVirtualKey(KorvaneWeb.scanCodeOf(key), down);
    }
    button.addEventListener('pointerdown', function (event) {
      button.setPointerCapture(event.pointerId);
      hold(true, event);
    });
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (name) {
      button.addEventListener(name, function (event) {
        if (button.classList.contains('held')) {
          hold(false, event);
        }
      });
    });
  });
  // No long-press menu, selection, double-tap zoom or pinch on the stage.
  ['contextmenu', 'selectstart', 'dblclick', 'gesturestart'].forEach(function (name) {
    document.addEventListener(name, function (event) {
      if (!byId('ended').contains(event.target)) {
        event.preventDefault();
      }
    });
  });

  byId('again').addEventListener('click', function () { window.location.reload(); });
  byId('stalled-again').addEventListener('click', function () { window.location.reload(); });

  // ---- Offline: the worker that keeps the files ------------------------------------------
  if ('serviceWorker' in navigator && !unfitPage()) {
    window.addEventListener('load', function () {
      navigator.serviceWorker.register('korvane-sw.js').catch(function (error) {
        console.log('korvane: no offline copy: ' + error.message);
      });
    });
  }

  // ---- Start ---------------------------------------------------------------------------------
  Module.onKeysInUse([]);
  if (unfitPage()) {
    cannotLoad(unfitPage());
    return;
  }
  pack.catch(function (error) { cannotLoad(error.message); });
  var script = document.createElement('script');
  script.src = 'korvane.js';
  script.onerror = function () { cannotLoad(missing('korvane.js')); };
  document.body.appendChild(script);
})();
