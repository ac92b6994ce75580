// The picture on the page's canvas, laid out by the game's own rule
// (web_runtime.js).
/* global HEAPU8, HEAP32, Module */
(function (api) {
  'use strict';

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

  api.canvas = canvas;
  api.place = place;
  // Lays the picture out again: the page's own way (Module.layOut, which
  // keeps room for its buttons), or over the whole window.
  api.layOut = function () {
    if (Module.layOut) {
      Module.layOut();
    } else {
      var ratio = window.devicePixelRatio || 1;
      place(Math.floor(window.innerWidth * ratio), Math.floor(window.innerHeight * ratio), 0, 0, ratio);
    }
  };
  // Shows the rectangle (x, y, w, h) of the RGBA picture at `pointer`,
  // `width` x `height` pixels, on the canvas.
  api.present = function (pointer, width, height, x, y, w, h) {
    if (!canvas()) {
      return;
    }
    screenContext.putImageData(imageOver(pointer, width, height), 0, 0, x, y, w, h);
    copyToSharp(x, y, w, h);
  };
  // Every flip of the picture, changed or not: once a frame while the game
  // runs. A page may count them (Module.onFlip).
  api.flipped = function () {
    if (Module.onFlip) {
      Module.onFlip();
    }
  };
  // The module's memory in bytes.
  api.memoryBytes = function () {
    return HEAPU8.length;
  };
  api.setCursorHidden = function (hidden) {
    if (canvas()) {
      screen.style.cursor = hidden ? 'none' : '';
      if (sharp) {
        sharp.style.cursor = screen.style.cursor;
      }
    }
  };
})(KorvaneWeb);
