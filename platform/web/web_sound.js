// Sounds through Web Audio (web_runtime.js).
/* global HEAPU8, Module */
(function (api) {
  'use strict';

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
        api.yieldNow(slice);
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

  api.audioAvailable = function () {
    return audioContext() !== null;
  };
  api.audioContext = function () {
    return audio.context;
  };
  api.createSound = function () {
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
  };
  // The buffer's PCM bytes (unsigned 8-bit or signed 16-bit little-endian,
  // interleaved) as the sound's samples.
  api.setSamples = function (handle, pointer, bytes, channels, bits, rate) {
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
  };
  // The sound plays (or not) from `startFrame` at `startedAtMs` on the
  // page's clock, `rate` frames a second, looping or not.
  api.setPlaying = function (handle, playing, looping, startedAtMs, startFrame, rate) {
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
  };
  api.setGains = function (handle, left, right) {
    var sound = audio.sounds[handle];
    if (sound) {
      sound.left.gain.value = left;
      sound.right.gain.value = right;
    }
  };
  api.releaseSound = function (handle) {
    var sound = audio.sounds[handle];
    if (sound) {
      stopNode(sound);
      sound.merger.disconnect();
      if (sound.madeFile && expected[sound.madeFile]) {
        expected[sound.madeFile].sound = null;
      }
      delete audio.sounds[handle];
    }
  };
  // While the page is hidden its sound is held (suspended); the player's
  // next act after it shows again lets it go on.
  api.holdAudio = function (held) {
    audio.held = held;
    if (held && audio.context && audio.context.state === 'running') {
      audio.context.suspend().catch(function () {});
    }
  };
  api.resumeAudio = resumeAudio;
  // The page lays down `name` as its head and silence, and makes the rest
  // itself; the sound the game loads from it is found by its size and
  // format when it is loaded.
  api.expectFile = function (name, head, totalBytes) {
    var format = waveFormat(head);
    if (format) {
      expected[name] = { dataBytes: totalBytes - head.byteLength, channels: format.channels,
                         bits: format.bits, rate: format.rate, headBytes: head.byteLength,
                         sound: null };
    }
  };
  // `name` has been made (`bytes`, the whole file): a sound loaded from its
  // silent copy takes the real samples, in the module's memory too, and
  // is heard from where the game's clock has it. True when a loaded sound
  // took them.
  api.fileMade = function (name, bytes) {
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
  };
  api.silenceAll = function () {
    for (var handle in audio.sounds) {
      audio.sounds[handle].playing = false;
      stopNode(audio.sounds[handle]);
    }
  };

  if (typeof window !== 'undefined' && typeof document !== 'undefined') {
    // Safari starts sound only at the end of a touch or at a click.
    ['pointerdown', 'pointerup', 'touchstart', 'touchend', 'mousedown', 'click'].forEach(
      function (name) {
        window.addEventListener(name, resumeAudio, { passive: true, capture: true });
      });
  }
})(KorvaneWeb);
