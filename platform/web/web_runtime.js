// The browser backend's side in the page, linked into every program built on
// it (the game and the seam's contract tests): keys, game controllers and
// touch buttons into one snapshot; the picture onto the canvas; sounds
// through Web Audio; the message box; and the turns the game's waits give
// back to the page. The C++ side reaches it through EM_JS functions.
/* global Module, HEAPU8, HEAP32 */
/* exported KorvaneWeb */
var KorvaneWeb = (function () {
  'use strict';

  // ---- Keys ----------------------------------------------------------------
  // KeyboardEvent.code to the set-1 scan codes the game indexes its snapshot
  // by, as the desktop's table has them; the cursor block and the keys right
  // of Alt are the extended (0x80 and up) codes.
  var scanCodes = {
    Escape: 0x01, Digit1: 0x02, Digit2: 0x03, Digit3: 0x04, Digit4: 0x05, Digit5: 0x06,
    Digit6: 0x07, Digit7: 0x08, Digit8: 0x09, Digit9: 0x0A, Digit0: 0x0B, Minus: 0x0C,
    Equal: 0x0D, Backspace: 0x0E, Tab: 0x0F, KeyQ: 0x10, KeyW: 0x11, KeyE: 0x12, KeyR: 0x13,
    KeyT: 0x14, KeyY: 0x15, KeyU: 0x16, KeyI: 0x17, KeyO: 0x18, KeyP: 0x19,
    BracketLeft: 0x1A, BracketRight: 0x1B, Enter: 0x1C, ControlLeft: 0x1D, KeyA: 0x1E,
    KeyS: 0x1F, KeyD: 0x20, KeyF: 0x21, KeyG: 0x22, KeyH: 0x23, KeyJ: 0x24, KeyK: 0x25,
    KeyL: 0x26, Semicolon: 0x27, Quote: 0x28, Backquote: 0x29, ShiftLeft: 0x2A,
    Backslash: 0x2B, KeyZ: 0x2C, KeyX: 0x2D, KeyC: 0x2E, KeyV: 0x2F, KeyB: 0x30, KeyN: 0x31,
    KeyM: 0x32, Comma: 0x33, Period: 0x34, Slash: 0x35, ShiftRight: 0x36,
    NumpadMultiply: 0x37, AltLeft: 0x38, Space: 0x39, CapsLock: 0x3A, F1: 0x3B, F2: 0x3C,
    F3: 0x3D, F4: 0x3E, F5: 0x3F, F6: 0x40, F7: 0x41, F8: 0x42, F9: 0x43, F10: 0x44,
    NumLock: 0x45, ScrollLock: 0x46, Numpad7: 0x47, Numpad8: 0x48, Numpad9: 0x49,
    NumpadSubtract: 0x4A, Numpad4: 0x4B, Numpad5: 0x4C, Numpad6: 0x4D, NumpadAdd: 0x4E,
    Numpad1: 0x4F, Numpad2: 0x50, Numpad3: 0x51, Numpad0: 0x52, NumpadDecimal: 0x53,
    IntlBackslash: 0x56, F11: 0x57, F12: 0x58, F13: 0x64, F14: 0x65, F15: 0x66,
    NumpadEqual: 0x8D, NumpadEnter: 0x9C, ControlRight: 0x9D, NumpadDivide: 0xB5,
    PrintScreen: 0xB7, AltRight: 0xB8, Pause: 0xC5, Home: 0xC7, ArrowUp: 0xC8, PageUp: 0xC9,
    ArrowLeft: 0xCB, ArrowRight: 0xCD, End: 0xCF, ArrowDown: 0xD0, PageDown: 0xD1,
    Insert: 0xD2, Delete: 0xD3, MetaLeft: 0xDB, MetaRight: 0xDC, ContextMenu: 0xDD,
    Power: 0xDE, Sleep: 0xDF
  };
  var KEY = { Escape: 0x01, E: 0x12, R: 0x13, G: 0x22, B: 0x30, N: 0x31,
              Up: 0xC8, Left: 0xCB, Right: 0xCD, Down: 0xD0 };
  // Keys whose default action would move the page under the game.
  var keepFromPage = { ArrowUp: 1, ArrowDown: 1, ArrowLeft: 1, ArrowRight: 1, Space: 1,
                       PageUp: 1, PageDown: 1, Home: 1, End: 1, Backspace: 1, Tab: 1 };

  var keys = new Uint8Array(256);         // the keyboard, by scan code
  var virtualKeys = new Uint8Array(256);  // the on-screen buttons
  // A press the game has not read yet: it stays down until one read has
  // seen it, however short the tap (the game reads every 100 ms or more).
  var unread = new Uint8Array(256);
  var letGoUnread = new Uint8Array(256);
  var dialog = null;                      // the message box while it shows
  var arriving = {};                      // files still to come: name -> waiting

  // Every key let go; a press not read yet is still read once (the page
  // taps Escape as it is hidden, and the focus goes with it).
  function releaseAll() {
    keys.fill(0);
    for (var i = 0; i < 256; ++i) {
      if (unread[i]) {
        letGoUnread[i] = 1;
      } else {
        virtualKeys[i] = 0;
      }
    }
  }

  function pressVirtual(scanCode) {
    virtualKeys[scanCode] = 1;
    unread[scanCode] = 1;
    letGoUnread[scanCode] = 0;
  }

  function releaseVirtual(scanCode) {
    if (unread[scanCode]) {
      letGoUnread[scanCode] = 1;
    } else {
      virtualKeys[scanCode] = 0;
    }
  }

  function onKey(event, down) {
    if (dialog) {
      return;  // the message box takes its own keys
    }
    var code = scanCodes[event.code];
    if (keepFromPage[event.code]) {
      event.preventDefault();
    }
    if (code !== undefined) {
      keys[code] = down ? 1 : 0;
    }
    // A Mac sends no key-up for a key let go while Command is held: when
    // Command comes up, everything is let go.
    if (!down && (event.code === 'MetaLeft' || event.code === 'MetaRight' || event.key === 'Meta')) {
      keys.fill(0);
    }
  }

  // The game controllers' buttons as keys, with the desktop's mapping (the
  // standard layout): D-pad and left stick move, A turns, B leaves (Escape)
  // and goes back (B), Start is N, X is R, Y is G, Back is E.
  var buttonKeys = [
    [12, KEY.Up], [13, KEY.Down], [14, KEY.Left], [15, KEY.Right], [0, KEY.Up],
    [1, KEY.Escape], [1, KEY.B], [9, KEY.N], [2, KEY.R], [3, KEY.G], [8, KEY.E]
  ];
  // The stick counts past half its travel, along the axis pushed further.
  var stickThreshold = 0.5;

  // A frame the host has not given the gamepad permission makes
  // getGamepads() throw: controllers are then given up, not the keyboard.
  var gamepadsAllowed = typeof navigator !== 'undefined' && !!navigator.getGamepads;

  function connectedPads() {
    if (!gamepadsAllowed) {
      return [];
    }
    try {
      return navigator.getGamepads() || [];
    } catch (e) {
      gamepadsAllowed = false;
      return [];
    }
  }

  function addControllerKeys(snapshot) {
    var pads = connectedPads();
    for (var i = 0; i < pads.length; ++i) {
      var pad = pads[i];
      if (!pad || pad.connected === false) {
        continue;
      }
      for (var b = 0; b < buttonKeys.length; ++b) {
        var button = pad.buttons[buttonKeys[b][0]];
        if (button && (button.pressed || button.value > 0.5)) {
          snapshot[buttonKeys[b][1]] = 1;
        }
      }
      var x = pad.axes.length > 1 ? pad.axes[0] : 0;
      var y = pad.axes.length > 1 ? pad.axes[1] : 0;
      if (Math.max(Math.abs(x), Math.abs(y)) > stickThreshold) {
        if (Math.abs(x) >= Math.abs(y)) {
          snapshot[x < 0 ? KEY.Left : KEY.Right] = 1;
        } else {
          snapshot[y < 0 ? KEY.Up : KEY.Down] = 1;
        }
      }
    }
  }

  // ---- Turns given back to the page -----------------------------------------
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

  // ---- The picture ------------------------------------------------------------
  var screen = null;   // the 640x480 canvas the game draws on
  var screenContext = null;
  var image = null;    // an ImageData over the backend's RGBA pixels
  var sharp = null;    // the enlarged copy shown where the picture is scaled sharply
  var sharpContext = null;
  var placement = null;

  function canvas() {
    if (!screen) {
      screen = Module.canvas || document.getElementById('screen');
      if (screen) {
        screenContext = screen.getContext('2d', { alpha: false });
      }
    }
    return screenContext ? screen : null;
  }

  function imageOver(pointer, width, height) {
    var bytes = width * height * 4;
    if (!image || image.data.buffer !== HEAPU8.buffer || image.pointer !== pointer ||
        image.width !== width || image.height !== height) {
      image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pointer, bytes), width, height);
      image.pointer = pointer;
    }
    return image;
  }

  function copyToSharp(x, y, w, h) {
    if (!sharp || !placement || !placement.smooth) {
      return;
    }
    var k = placement.factor;
    sharpContext.imageSmoothingEnabled = false;
    sharpContext.drawImage(screen, x, y, w, h, x * k, y * k, w * k, h * k);
  }

  // Lays the picture on the page by the shared rule (the game's own
  // PlacePicture, computed by the module): a whole-number factor, nearest,
  // where it leaves a thin border; else the next whole factor up, nearest,
  // then smoothly down. The room is `viewWidth` x `viewHeight` device
  // pixels whose corner is at (`left`, `top`) in CSS pixels; `ratio` is
  // device pixels per CSS pixel, so a whole factor stays exact on a screen
  // of any density.
  function place(viewWidth, viewHeight, left, top, ratio) {
    if (!canvas() || !Module._korvane_web_place) {
      return null;
    }
    left = left || 0;
    top = top || 0;
    ratio = ratio || 1;
    var at = Module._korvane_web_place(screen.width, screen.height, viewWidth, viewHeight) >> 2;
    placement = {
      x: HEAP32[at], y: HEAP32[at + 1], width: HEAP32[at + 2],
      height: HEAP32[at + 3], factor: HEAP32[at + 4], smooth: !!HEAP32[at + 5]
    };
    var shown = screen;
    if (placement.smooth) {
      if (!sharp) {
        sharp = document.createElement('canvas');
        sharp.id = 'screen-sharp';
        sharp.className = screen.className;
        screen.parentNode.insertBefore(sharp, screen.nextSibling);
        sharpContext = sharp.getContext('2d', { alpha: false });
      }
      if (sharp.width !== screen.width * placement.factor) {
        sharp.width = screen.width * placement.factor;
        sharp.height = screen.height * placement.factor;
      }
      copyToSharp(0, 0, screen.width, screen.height);
      shown = sharp;
    }
    [screen, sharp].forEach(function (c) {
      if (!c) {
        return;
      }
      c.style.display = c === shown ? 'block' : 'none';
      c.style.position = 'absolute';
      c.style.left = (left + placement.x / ratio) + 'px';
      c.style.top = (top + placement.y / ratio) + 'px';
      c.style.width = (placement.width / ratio) + 'px';
      c.style.height = (placement.height / ratio) + 'px';
      c.style.imageRendering = placement.smooth ? 'auto' : 'pixelated';
    });
    return placement;
  }

  // ---- Sound --------------------------------------------------------------------
  // Each sound is kept once as an AudioBuffer at its own rate and played by a
  // buffer source node through a gain per side, as the shared mixer would
  // play it. Until the page may make sound (the first key or click), nodes
  // are not started; the game's sound state runs on the clock regardless, and
  // when the sound starts every sound that is playing by then joins in where
  // it has got to.
  var audio = { context: null, out: null, sounds: {}, next: 1, failed: false, held: false };
  // Files the page is still making (the music, in a worker), by name: the
  // game has been given a silent copy of the right size, and the sound
  // loaded from it takes the real samples when they come.
  var expected = {};

  function audioContext() {
    if (!audio.context && !audio.failed) {
      var Context = window.AudioContext || window.webkitAudioContext;
      try {
        audio.context = new Context({ latencyHint: 'interactive' });
      } catch (e) {
        audio.failed = true;
        return null;
      }
      // A phone's silent switch mutes "ambient" sound; a game is played for
      // its sound, as a video is.
      try {
        if (navigator.audioSession) {
          navigator.audioSession.type = 'playback';
        }
      } catch (e) { /* not offered */ }
      audio.out = audio.context.createGain();
      audio.out.connect(audio.context.destination);
      audio.context.onstatechange = function () {
        if (audio.context.state === 'running') {
          for (var handle in audio.sounds) {
            startNode(audio.sounds[handle]);
          }
        }
      };
    }
    return audio.context;
  }

  // Called on every act of the player's: a context that is not running
  // (not yet allowed, suspended while the page was hidden, or "interrupted"
  // by a call or a screen lock on a phone) is started again.
  function resumeAudio() {
    if (audio.context && audio.context.state !== 'running' && audio.context.state !== 'closed' &&
        !audio.held) {
      audio.context.resume().catch(function () {});
    }
  }

  function stopNode(sound) {
    if (sound.node) {
      sound.node.onended = null;
      try {
        sound.node.stop();
      } catch (e) { /* never started */ }
      sound.node.disconnect();
      sound.node = null;
    }
  }

  function startNode(sound) {
    stopNode(sound);
    if (!sound.playing || !sound.buffer || audio.context.state !== 'running') {
      return;
    }
    // Where the sound has got to by now, as the game's clock has it.
    var frames = sound.buffer.length;
    var frame = sound.startFrame + (performance.now() - sound.startedAtMs) / 1000 * sound.rate;
    if (frame >= frames) {
      if (!sound.looping) {
        return;
      }
      frame %= frames;
    }
    var node = audio.context.createBufferSource();
    node.buffer = sound.buffer;
    node.loop = sound.looping;
    node.playbackRate.value = sound.rate / sound.buffer.sampleRate;
    if (sound.buffer.numberOfChannels === 2) {
      node.connect(sound.splitter);
    } else {
      node.connect(sound.left);
      node.connect(sound.right);
    }
    node.start(0, frame / sound.buffer.sampleRate);
    node.onended = function () {
      if (sound.node === node) {
        sound.node = null;
      }
    };
    sound.node = node;
  }

  // The sound's PCM bytes in the module's memory as an AudioBuffer. An
  // AudioBuffer holds 3 to 768 kHz; a rate outside is played at its own speed
  // through the node's rate instead. A long sound (the music) is converted a
  // slice at a time, each in a task of its own, so that the page is never
  // held up long; it keeps its old buffer until the new one is whole. The
  // silent copy of a file still being made needs no converting.
  var decodeSliceFrames = 65536;

  function decodeSamples(sound, silent) {
    var pcm = sound.pcm;
    var frameBytes = pcm.channels * pcm.bits / 8;
    var frames = Math.floor(pcm.bytes / frameBytes);
    if (frames === 0) {
      return;
    }
    var bufferRate = Math.min(768000, Math.max(3000, pcm.rate));
    var buffer = audio.context.createBuffer(pcm.channels, frames, bufferRate);
    var token = {};
    sound.decoding = token;
    var from = 0;
    function slice() {
      if (sound.decoding !== token || audio.sounds[sound.handle] !== sound) {
        return;  // released, or given other samples meanwhile
      }
      var to = silent ? frames : Math.min(frames, from + decodeSliceFrames);
      if (!silent) {
        convertFrames(pcm, buffer, from, to);
      }
      from = to;
      if (from < frames) {
        yieldNow(slice);
        return;
      }
      sound.decoding = null;
      sound.buffer = buffer;
      startNode(sound);
    }
    slice();
  }

  // Frames [from, to) of the PCM bytes into the buffer's channels. 16-bit
  // samples are read in place where they lie on an even address, as the
  // backend's buffers do.
  function convertFrames(pcm, buffer, from, to) {
    var channels = pcm.channels;
    var frameBytes = channels * pcm.bits / 8;
    var frames = buffer.length;
    var wide = pcm.bits === 16 && pcm.pointer % 2 === 0
      ? new Int16Array(HEAPU8.buffer, pcm.pointer, frames * channels) : null;
    var view = new DataView(HEAPU8.buffer, pcm.pointer, frames * frameBytes);
    for (var c = 0; c < channels; ++c) {
      var out = buffer.getChannelData(c);
      var i = from;
      if (pcm.bits === 8) {
        for (var at = from * channels + c; i < to; ++i, at += channels) {
          out[i] = (view.getUint8(at) - 128) / 128;
        }
      } else if (wide) {
        for (var w = from * channels + c; i < to; ++i, w += channels) {
          out[i] = wide[w] / 32768;
        }
      } else {
        for (var b = from * frameBytes + 2 * c; i < to; ++i, b += frameBytes) {
          out[i] = view.getInt16(b, true) / 32768;
        }
      }
    }
  }

  // Reads the format of a RIFF WAVE file's head: what its samples will be.
  function waveFormat(head) {
    var view = new DataView(head.buffer, head.byteOffset, head.byteLength);
    for (var at = 12; at + 8 <= head.byteLength;) {
      var id = String.fromCharCode(head[at], head[at + 1], head[at + 2], head[at + 3]);
      var size = view.getUint32(at + 4, true);
      if (id === 'fmt ' && at + 24 <= head.byteLength) {
        return { channels: view.getUint16(at + 10, true), rate: view.getUint32(at + 12, true),
                 bits: view.getUint16(at + 22, true) };
      }
      if (id === 'data') {
        return null;
      }
      at += 8 + size + (size & 1);
    }
    return null;
  }

  var api = {
    // ---- Keys, called by the backend and by the page ----
    readKeys: function (pointer) {
      var snapshot = new Uint8Array(256);
      for (var i = 0; i < 256; ++i) {
        snapshot[i] = keys[i] | virtualKeys[i];
        if (unread[i]) {
          unread[i] = 0;
          if (letGoUnread[i]) {
            letGoUnread[i] = 0;
            virtualKeys[i] = 0;
          }
        }
      }
      if (!dialog) {
        addControllerKeys(snapshot);
      }
      for (var k = 0; k < 256; ++k) {
        HEAPU8[pointer + k] = snapshot[k] ? 0x80 : 0;
      }
    },
    // An on-screen button held (down) or let go, as the key `scanCode`; a
    // press counts once read, however short.
    setVirtualKey: function (scanCode, down) {
      if (down) {
        pressVirtual(scanCode);
      } else {
        releaseVirtual(scanCode);
      }
      resumeAudio();
    },
    // Presses the key `scanCode` for exactly one read of the game's: what
    // the page does for the player (Escape when it is hidden).
    tapKey: function (scanCode) {
      pressVirtual(scanCode);
      releaseVirtual(scanCode);
    },
    // Every key let go, as when the page loses the focus.
    releaseKeys: releaseAll,

    // ---- Files still on their way (the page's download) ----
    // The page names the files still to come, then each as it is written;
    // the game's opening one of them waits for it.
    filesArriving: function (names) {
      names.forEach(function (name) {
        arriving[name] = arriving[name] || [];
      });
    },
    fileArriving: function (path) {
      return !!arriving[path.replace(/^\.?\//, '')];
    },
    whenFileArrives: function (path, wakeUp) {
      var name = path.replace(/^\.?\//, '');
      if (arriving[name]) {
        arriving[name].push(wakeUp);
      } else {
        wakeUp();
      }
    },
    // The game waiting for it goes on in a task of its own, not inside the
    // page's download.
    fileArrived: function (name) {
      var waiting = arriving[name] || [];
      delete arriving[name];
      waiting.forEach(function (wakeUp) { yieldNow(wakeUp); });
    },
    // Nothing more will come (the download failed): every wait ends.
    noMoreFiles: function () {
      Object.keys(arriving).forEach(api.fileArrived);
    },
    // The scan codes the screen now shown acts on; the page shows just
    // those on-screen buttons (Module.onKeysInUse).
    keysInUse: function (scanCodes) {
      if (Module.onKeysInUse) {
        Module.onKeysInUse(scanCodes);
      }
    },
    keyCodes: KEY,

    yieldNow: yieldNow,

    // ---- The picture ----
    canvas: canvas,
    place: place,
    // Lays the picture out again: the page's own way (Module.layOut, which
    // keeps room for its buttons), or over the whole window.
    layOut: function () {
      if (Module.layOut) {
        Module.layOut();
      } else {
        var ratio = window.devicePixelRatio || 1;
        place(Math.floor(window.innerWidth * ratio), Math.floor(window.innerHeight * ratio), 0, 0, ratio);
      }
    },
    // Shows the rectangle (x, y, w, h) of the RGBA picture at `pointer`,
    // `width` x `height` pixels, on the canvas.
    present: function (pointer, width, height, x, y, w, h) {
      if (!canvas()) {
        return;
      }
      screenContext.putImageData(imageOver(pointer, width, height), 0, 0, x, y, w, h);
      copyToSharp(x, y, w, h);
    },
    // Every flip of the picture, changed or not: once a frame while the game
    // runs. A page may count them (Module.onFlip).
    flipped: function () {
      if (Module.onFlip) {
        Module.onFlip();
      }
    },
    // The module's memory in bytes.
    memoryBytes: function () {
      return HEAPU8.length;
    },
    setCursorHidden: function (hidden) {
      if (canvas()) {
        screen.style.cursor = hidden ? 'none' : '';
        if (sharp) {
          sharp.style.cursor = screen.style.cursor;
        }
      }
    },

    // ---- Sound ----
    audioAvailable: function () {
      return audioContext() !== null;
    },
    audioContext: function () {
      return audio.context;
    },
    createSound: function () {
      var context = audioContext();
      var handle = audio.next++;
      var sound = { handle: handle, buffer: null, node: null, playing: false, looping: false,
                    rate: 0, startedAtMs: 0, startFrame: 0, pcm: null, madeFile: null };
      sound.left = context.createGain();
      sound.right = context.createGain();
      sound.splitter = context.createChannelSplitter(2);
      sound.merger = context.createChannelMerger(2);
      sound.splitter.connect(sound.left, 0);
      sound.splitter.connect(sound.right, 1);
      sound.left.connect(sound.merger, 0, 0);
      sound.right.connect(sound.merger, 0, 1);
      sound.merger.connect(audio.out);
      audio.sounds[handle] = sound;
      return handle;
    },
    // The buffer's PCM bytes (unsigned 8-bit or signed 16-bit little-endian,
    // interleaved) as the sound's samples.
    setSamples: function (handle, pointer, bytes, channels, bits, rate) {
      var sound = audio.sounds[handle];
      if (!sound) {
        return;
      }
      sound.pcm = { pointer: pointer, bytes: bytes, channels: channels, bits: bits, rate: rate };
      for (var name in expected) {
        var file = expected[name];
        if (!file.sound && file.dataBytes === bytes && file.channels === channels &&
            file.bits === bits && file.rate === rate) {
          file.sound = sound;
          sound.madeFile = name;
          decodeSamples(sound, true);
          return;
        }
      }
      decodeSamples(sound, false);
    },
    // The sound plays (or not) from `startFrame` at `startedAtMs` on the
    // page's clock, `rate` frames a second, looping or not.
    setPlaying: function (handle, playing, looping, startedAtMs, startFrame, rate) {
      var sound = audio.sounds[handle];
      if (!sound) {
        return;
      }
      sound.playing = playing;
      sound.looping = looping;
      sound.startedAtMs = startedAtMs;
      sound.startFrame = startFrame;
      sound.rate = rate;
      startNode(sound);
    },
    setGains: function (handle, left, right) {
      var sound = audio.sounds[handle];
      if (sound) {
        sound.left.gain.value = left;
        sound.right.gain.value = right;
      }
    },
    releaseSound: function (handle) {
      var sound = audio.sounds[handle];
      if (sound) {
        stopNode(sound);
        sound.merger.disconnect();
        if (sound.madeFile && expected[sound.madeFile]) {
          expected[sound.madeFile].sound = null;
        }
        delete audio.sounds[handle];
      }
    },
    // While the page is hidden its sound is held (suspended); the player's
    // next act after it shows again lets it go on.
    holdAudio: function (held) {
      audio.held = held;
      if (held && audio.context && audio.context.state === 'running') {
        audio.context.suspend().catch(function () {});
      }
    },
    resumeAudio: resumeAudio,
    // The page lays down `name` as its head and silence, and makes the rest
    // itself; the sound the game loads from it is found by its size and
    // format when it is loaded.
    expectFile: function (name, head, totalBytes) {
      var format = waveFormat(head);
      if (format) {
        expected[name] = { dataBytes: totalBytes - head.byteLength, channels: format.channels,
                           bits: format.bits, rate: format.rate, headBytes: head.byteLength,
                           sound: null };
      }
    },
    // `name` has been made (`bytes`, the whole file): a sound loaded from its
    // silent copy takes the real samples, in the module's memory too, and
    // is heard from where the game's clock has it. True when a loaded sound
    // took them.
    fileMade: function (name, bytes) {
      var file = expected[name];
      delete expected[name];
      if (!file || !file.sound || !audio.sounds[file.sound.handle]) {
        return false;
      }
      var sound = file.sound;
      var samples = bytes.subarray(file.headBytes, file.headBytes + sound.pcm.bytes);
      HEAPU8.set(samples, sound.pcm.pointer);
      decodeSamples(sound, false);
      return true;
    },
    silenceAll: function () {
      for (var handle in audio.sounds) {
        audio.sounds[handle].playing = false;
        stopNode(audio.sounds[handle]);
      }
    },

    // ---- The message box ----
    // A modal box over the page with the text and an OK button; Enter, Space
    // or a click on OK closes it and calls `done`.
    showMessage: function (text, done) {
      if (Module.printErr) {
        Module.printErr('message box: ' + text);
      }
      releaseAll();
      var overlay = document.createElement('div');
      overlay.className = 'korvane-message';
      overlay.setAttribute('role', 'alertdialog');
      overlay.setAttribute('aria-modal', 'true');
      var box = document.createElement('div');
      var words = document.createElement('p');
      words.textContent = text;
      var ok = document.createElement('button');
      ok.textContent = 'OK';
      box.appendChild(words);
      box.appendChild(ok);
      overlay.appendChild(box);
      document.body.appendChild(overlay);
      var closed = false;
      function close(event) {
        if (closed) {
          return;
        }
        closed = true;
        if (event) {
          event.preventDefault();
        }
        document.removeEventListener('keydown', onDialogKey, true);
        overlay.remove();
        dialog = null;
        releaseAll();
        done();
      }
      function onDialogKey(event) {
        if (event.code === 'Enter' || event.code === 'NumpadEnter' || event.code === 'Space') {
          close(event);
        }
      }
      document.addEventListener('keydown', onDialogKey, true);
      ok.addEventListener('click', close);
      dialog = overlay;
      ok.focus();
    }
  };

  if (typeof window !== 'undefined' && typeof document !== 'undefined') {
    window.addEventListener('keydown', function (event) {
      resumeAudio();
      onKey(event, true);
    });
    window.addEventListener('keyup', function (event) {
      onKey(event, false);
    });
    // Keys count only while the page has the focus: one held while it goes
    // away is let go.
    window.addEventListener('blur', releaseAll);
    document.addEventListener('visibilitychange', function () {
      if (document.visibilityState !== 'visible') {
        releaseAll();
      }
    });
    // Safari starts sound only at the end of a touch or at a click.
    ['pointerdown', 'pointerup', 'touchstart', 'touchend', 'mousedown', 'click'].forEach(
      function (name) {
        window.addEventListener(name, resumeAudio, { passive: true, capture: true });
      });
  }
  return api;
})();
