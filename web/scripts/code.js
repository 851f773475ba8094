// SPDX-License-Identifier: MIT
// The code box's buttons and the opening of a code: pasted, or in the page's address. What a code
// holds, what can be taken and what is wrong with it are the engine's to say.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});

  // A text to read is refused past this many bytes (of UTF-8): a code with a letter around it is
  // a few hundred, and a longer one would only cost time.
  ns.longestText = 65536;
  const tooLong = 'This text is longer than 64 KB, far longer than any code: paste the code alone.';
  const problemTextShown = 40;

  // The text's length in UTF-8 bytes, or more than the bound as soon as it is past it.
  function utf8Length(text) {
    if (text.length > ns.longestText) return text.length;
    let bytes = 0;
    for (let i = 0; i < text.length; i += 1) {
      const unit = text.charCodeAt(i);
      bytes += unit < 0x80 ? 1 : unit < 0x800 ? 2 : unit >= 0xd800 && unit < 0xdc00 ? 2 : 3;
    }
    return bytes;
  }
  ns.tooLong = (text) => utf8Length(text) > ns.longestText;

  // The page's address without its fragment: the page changes nothing else of it (a code in the
  // address is taken out by replaceState, which keeps the rest), so it is read once.
  let here = null;
  ns.shareAddress = function (code) {
    if (here === null) here = window.location.href.replace(/#.*$/, '');
    return here + '#code=' + encodeURIComponent(code);
  };

  // An address's percent-encoded text: every %XX is a byte of UTF-8 (a broken sequence reads as
  // U+FFFD), and a '%' that begins no %XX, as typed by hand, is itself.
  ns.addressText = function (raw) {
    try {
      return decodeURIComponent(raw);
    } catch (error) {
      // Read below, byte by byte.
    }
    const encoder = new TextEncoder();
    const parts = [];
    let bytes = [];
    const flush = () => {
      if (bytes.length) parts.push(new TextDecoder().decode(new Uint8Array(bytes)));
      bytes = [];
    };
    for (const piece of raw.split(/(%[0-9A-Fa-f]{2})/)) {
      if (/^%[0-9A-Fa-f]{2}$/.test(piece)) {
        bytes.push(parseInt(piece.slice(1), 16));
      } else if (piece) {
        for (const byte of encoder.encode(piece)) bytes.push(byte);
      }
      if (bytes.length > 4096) {
        // Whole characters only: a sequence's bytes stay together.
        let cut = bytes.length;
        while (cut > 0 && (bytes[cut - 1] & 0xc0) === 0x80) cut -= 1;
        if (cut > 0 && bytes[cut - 1] >= 0xc0) cut -= 1;
        const rest = bytes.slice(cut);
        bytes = bytes.slice(0, cut);
        flush();
        bytes = rest;
      }
    }
    flush();
    return parts.join('');
  };

  // "At position N, "text": message", the text cut to 40 characters.
  function problemLine(problem) {
    const text = problem.text.length > problemTextShown ? problem.text.slice(0, problemTextShown) + '...' : problem.text;
    return 'At position ' + problem.position + ', "' + text + '": ' + problem.message;
  }

  // app: {engine, view, hasOwnAnswers(), look(from), changed(), status(text)}.
  ns.codeTools = function (app) {
    const dialog = document.getElementById('problems');
    const problemList = document.getElementById('problem-list');
    const openNote = document.getElementById('open-note');
    const openBox = document.getElementById('open-code');
    let returnFocus = null;
    let from = '';

    // A code read is shown. It becomes the person's own answers at once only when they keep none
    // yet; else it is there to look through until they make it theirs.
    function takeRead(note) {
      const own = app.hasOwnAnswers();
      app.engine.takePasted();
      if (own) {
        app.look(from);
        note.textContent = 'The code is shown on every page. Your own answers are kept as they were until you make this code yours.';
      } else {
        app.changed();
        note.textContent = 'The code was opened: every page shows its answers.';
      }
    }

    // Reads a text as a pasted one: takes a code read whole at once, asks when part of it cannot be
    // taken as it is. note: where to say what happened.
    function open(text, note, focusAfter) {
      if (ns.tooLong(text)) {
        note.textContent = tooLong;
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
      from = 'the code you opened';
      open(openBox.value, openNote, openButton);
    });
    // A paste or a drop past the bound is refused before the box holds it: laying out a long line
    // would hold up the page.
    const refuseLong = (event, text) => {
      if (!ns.tooLong(text)) return;
      event.preventDefault();
      openNote.textContent = tooLong;
    };
    openBox.addEventListener('paste', (event) => {
      if (event.clipboardData) refuseLong(event, event.clipboardData.getData('text/plain'));
    });
    openBox.addEventListener('drop', (event) => {
      if (event.dataTransfer) refuseLong(event, event.dataTransfer.getData('text/plain'));
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
      const hash = window.location.hash;
      if (!hash.startsWith('#code=')) return;
      history.replaceState(null, '', window.location.href.replace(/#.*$/, ''));
      from = 'the code from the link';
      // Each byte of the text is at most three characters of the address.
      const raw = hash.slice('#code='.length);
      if (raw.length > 3 * ns.longestText) {
        app.status(tooLong);
        return;
      }
      open(ns.addressText(raw), document.getElementById('status'), codeBox);
    }
    window.addEventListener('hashchange', openAddressCode);
    return { openAddressCode };
  };

  // On a narrow screen the code stays in sight at the foot of the screen while the person answers,
  // with a way to the whole box and its sentences and back to where they were.
  ns.codeBar = function (view) {
    const bar = document.getElementById('code-bar');
    const area = document.getElementById('code-area');
    const toCode = document.getElementById('to-code');
    const back = document.getElementById('back-to-question');
    let returnTo = null;
    // The control last answered: where to come back to when nothing else had the focus (a touch
    // on a label leaves it on the page).
    let answered = null;
    const form = document.getElementById('questions');
    for (const type of ['input', 'change']) form.addEventListener(type, (event) => { answered = event.target; });
    toCode.addEventListener('click', () => {
      const focused = document.activeElement;
      returnTo = { scroll: window.scrollY, focus: focused && focused !== document.body && focused !== toCode ? focused : answered };
      back.hidden = false;
      area.scrollIntoView({ block: 'start' });
      area.focus({ preventScroll: true });
    });
    back.addEventListener('click', () => {
      const to = returnTo;
      returnTo = null;
      back.hidden = true;
      if (!to) return;
      window.scrollTo(0, to.scroll);
      if (to.focus && document.contains(to.focus)) to.focus.focus({ preventScroll: true });
    });
    // The bar steps aside while the code's own part of the page is in sight.
    if ('IntersectionObserver' in window) {
      new IntersectionObserver((entries) => {
        for (const entry of entries) bar.classList.toggle('beside-box', entry.isIntersecting);
      }).observe(area);
    }
  };
})();
