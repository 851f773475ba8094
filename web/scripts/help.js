// SPDX-License-Identifier: MIT
// The Help button: the desktop's help text (help-text.js, made from it when the site is built) in a
// dialog on the page, with what is the browser's own below it.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});
  const dialog = document.getElementById('help');
  const button = document.getElementById('help-button');
  const text = document.getElementById('help-text');
  button.addEventListener('click', () => {
    if (!text.firstChild) {
      const pre = document.createElement('pre');
      pre.textContent = ns.helpText || 'The help text is missing from this copy of the page.';
      text.append(pre);
    }
    dialog.showModal();
    text.focus();
  });
  document.getElementById('help-close').addEventListener('click', () => dialog.close());
  dialog.addEventListener('close', () => button.focus());
})();
