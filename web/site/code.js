// SPDX-License-Identifier: MIT
// The code box's buttons and the opening of a code: pasted, or in the page's address. What a code
// holds, what can be taken and what is wrong with it are the engine's to say.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});

  // The text goes to the engine on its stack; far more than any code with a letter around it fits.
  ns.longestText = 200000;
  const problemTextShown = 40;

  ns.shareAddress = function (code) {
    const here = window.location.href.replace(/#.*$/, '');
    return here + '#code=' + encodeURIComponent(code);
  };

  // "At position N, "text": message", the text cut to 40 characters.
  function problemLine(problem) {
    const text = problem.text.length > problemTextShown ? problem.text.slice(0, problemTextShown) + '...' : problem.text;
    return 'At position ' + problem.position + ', "' + text + '": ' + problem.message;
  }

  // app: {engine, view, changed(), status(text)}.
  ns.codeTools = function (app) {
    const dialog = document.getElementById('problems');
    const problemList = document.getElementById('problem-list');
    const openNote = document.getElementById('open-note');
    let returnFocus = null;

    function takeRead(note) {
      app.engine.takePasted();
      app.changed();
      note.textContent = 'The code was opened: every page shows its answers.';
    }

    // Reads a text as a pasted one: takes a code read whole at once, asks when part of it cannot be
    // taken as it is. note: where to say what happened.
    function open(text, note, focusAfter) {
      if (text.length > ns.longestText) {
        note.textContent = 'This text is too long to read. Paste the code alone.';
        return;
      }
      const read = app.engine.readCode(text);
      if (!read.found) {
        note.textContent = 'There is no Glomie Code in this text. A code begins with "' + app.engine.header() + '".';
        return;
      }
      if (read.problems.length === 0) {
        takeRead(note);
        return;
      }
      problemList.replaceChildren(...read.problems.map((problem) => {
        const item = document.createElement('li');
        item.textContent = problemLine(problem);
        return item;
      }));
      note.textContent = '';
      returnFocus = focusAfter;
      dialog.dataset.note = note.id;
      dialog.showModal();
      document.getElementById('take').focus();
    }

    function close(take) {
      const note = document.getElementById(dialog.dataset.note) || openNote;
      if (take) takeRead(note);
      else note.textContent = 'Your answers were left as they were.';
      if (dialog.open) dialog.close();
      if (returnFocus) returnFocus.focus();
      returnFocus = null;
    }

    document.getElementById('take').addEventListener('click', () => close(true));
    document.getElementById('leave').addEventListener('click', () => close(false));
    // Escape leaves the answers as they are.
    dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      close(false);
    });

    const openButton = document.getElementById('open');
    openButton.addEventListener('click', () => {
      open(document.getElementById('open-code').value, openNote, openButton);
    });

    const codeBox = document.getElementById('code');
    document.getElementById('copy').addEventListener('click', () => {
      const copied = () => app.status('Copied.');
      const refused = () => {
        codeBox.focus();
        codeBox.select();
        app.status('The browser would not copy: the code is selected, press Ctrl+C (or use Copy from its menu).');
      };
      if (navigator.clipboard && navigator.clipboard.writeText) {
        navigator.clipboard.writeText(codeBox.value).then(copied, refused);
      } else {
        refused();
      }
    });

    // A code in the address (#code=...) is opened as if pasted, once: the address loses it.
    function openAddressCode() {
      const match = /^#code=(.*)$/s.exec(window.location.hash);
      if (!match) return;
      history.replaceState(null, '', window.location.href.replace(/#.*$/, ''));
      let text;
      try {
        text = decodeURIComponent(match[1]);
      } catch (error) {
        app.status('The code in the address is damaged; nothing was changed.');
        return;
      }
      open(text, document.getElementById('status'), codeBox);
    }
    window.addEventListener('hashchange', openAddressCode);
    return { openAddressCode };
  };
})();
