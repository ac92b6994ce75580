// Keys, game controllers and touch buttons, read by the game as one
// snapshot (web_runtime.js). The controllers are read as they are, by the
// standard layout; the module's own map (platform/common/controller_map.h)
// says which keys they stand for.
/* global HEAPU8, HEAPU32, HEAPF64, Module */
(function (api) {
  'use strict';

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
  // Keys whose default action would move the page under the game.
  var keepFromPage = { ArrowUp: 1, ArrowDown: 1, ArrowLeft: 1, ArrowRight: 1, Space: 1,
                       PageUp: 1, PageDown: 1, Home: 1, End: 1, Backspace: 1, Tab: 1 };

  var keys = new Uint8Array(256);         // the keyboard, by scan code
  var virtualKeys = new Uint8Array(256);  // the on-screen buttons
  // A press the game has not read yet: it stays down until one read has
  // seen it, however short the tap (the game reads every 100 ms or more).
  var unread = new Uint8Array(256);
  var letGoUnread = new Uint8Array(256);
  var taken = false;                      // the message box takes the keys
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
    if (taken) {
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

  // Writes the held buttons (bit n: the button at place n of the standard
  // layout) and the left stick's x and y of each connected controller, at
  // most `most`; answers how many were written. None while the message box
  // shows.
  function readPads(heldPointer, axesPointer, most) {
    if (taken) {
      return 0;
    }
    var pads = connectedPads();
    var count = 0;
    for (var i = 0; i < pads.length && count < most; ++i) {
      var pad = pads[i];
      if (!pad || pad.connected === false) {
        continue;
      }
      var held = 0;
      for (var b = 0; b < pad.buttons.length && b < 32; ++b) {
        var button = pad.buttons[b];
        if (button && (button.pressed || button.value > 0.5)) {
          held |= 1 << b;
        }
      }
      HEAPU32[(heldPointer >> 2) + count] = held >>> 0;
      HEAPF64[(axesPointer >> 3) + 2 * count] = pad.axes.length > 1 ? pad.axes[0] : 0;
      HEAPF64[(axesPointer >> 3) + 2 * count + 1] = pad.axes.length > 1 ? pad.axes[1] : 0;
      ++count;
    }
    return count;
  }

  // ---- Called by the backend and by the page ----
  api.readKeys = function (pointer) {
    for (var i = 0; i < 256; ++i) {
      HEAPU8[pointer + i] = keys[i] | virtualKeys[i] ? 0x80 : 0;
      if (unread[i]) {
        unread[i] = 0;
        if (letGoUnread[i]) {
          letGoUnread[i] = 0;
          virtualKeys[i] = 0;
        }
      }
    }
  };
  api.readPads = readPads;
  // An on-screen button held (down) or let go, as the key `scanCode`; a
  // press counts once read, however short.
  api.setVirtualKey = function (scanCode, down) {
    if (down) {
      pressVirtual(scanCode);
    } else {
      releaseVirtual(scanCode);
    }
    api.resumeAudio();
  };
  // The scan code of the key a KeyboardEvent.code names: the page's buttons
  // are named as keys are, and take their codes from here.
  api.scanCodeOf = function (code) {
    return scanCodes[code];
  };
  // Presses the key `scanCode` for exactly one read of the game's: what
  // the page does for the player (Escape when it is hidden).
  api.tapKey = function (scanCode) {
    pressVirtual(scanCode);
    releaseVirtual(scanCode);
  };
  // Every key let go, as when the page loses the focus.
  api.releaseKeys = releaseAll;
  // While the message box shows, it takes the keys for itself.
  api.takeKeys = function (byDialog) {
    taken = byDialog;
  };
  // The scan codes the screen now shown acts on; the page shows just
  // those on-screen buttons (Module.onKeysInUse).
  api.keysInUse = function (scanCodes) {
    if (Module.onKeysInUse) {
      Module.onKeysInUse(scanCodes);
    }
  };

  if (typeof window !== 'undefined' && typeof document !== 'undefined') {
    window.addEventListener('keydown', function (event) {
      api.resumeAudio();
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
  }
})(KorvaneWeb);
