// The message box: modal, over the page (web_runtime.js).
/* global Module */
(function (api) {
  'use strict';

  // A modal box over the page with the text and an OK button; Enter, Space
  // or a click on OK closes it and calls `done`.
  api.showMessage = function (text, done) {
    if (Module.printErr) {
      Module.printErr('message box: ' + text);
    }
    api.releaseKeys();
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
      api.takeKeys(false);
      api.releaseKeys();
      done();
    }
    function onDialogKey(event) {
      if (event.code === 'Enter' || event.code === 'NumpadEnter' || event.code === 'Space') {
        close(event);
      }
    }
    document.addEventListener('keydown', onDialogKey, true);
    ok.addEventListener('click', close);
    api.takeKeys(true);
    ok.focus();
  };
})(KorvaneWeb);
