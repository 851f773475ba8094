// SPDX-License-Identifier: MIT
// Starts the page: loads the engine, builds the form, takes the kept answers, and passes every
// change to the engine, then shows what it says.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});
  const storageKey = 'glomiecode.answers';

  // The engine's C functions as the page calls them. A string goes to the engine on its stack, so
  // a box's text is handed over up to a length far past any sensible number.
  function wrap(module) {
    // UTF8ToString finds the end of a long string a byte at a time in JavaScript, which shows when
    // the page starts; the heap's own search and a TextDecoder read the same text.
    const decoder = new TextDecoder();
    const text = (pointer) => {
      const heap = module.HEAPU8;
      const end = pointer && heap ? heap.indexOf(0, pointer) : -1;
      return end < 0 ? module.UTF8ToString(pointer) : decoder.decode(heap.subarray(pointer, end));
    };
    const bounded = (box) => (box.length > ns.longestText ? box.slice(0, ns.longestText) : box);
    const json = (pointer) => JSON.parse(text(pointer));
    return {
      form: () => json(module._glomie_form()),
      changes: (control) => json(module._glomie_changes(control ? control.page : -1, control ? control.index : -1)),
      forget: () => module._glomie_forget(),
      answers: () => json(module._glomie_answers()),
      answer: (page, question, value) => module._glomie_answer(page, question, value),
      parseCount: (box) => module.ccall('glomie_parse_count', 'number', ['string'], [bounded(box)]),
      countProblem: (page, question, box) =>
        text(module.ccall('glomie_count_problem', 'number', ['number', 'number', 'string'], [page, question, bounded(box)])),
      reset: () => module._glomie_reset(),
      set: (key, value) => module.ccall('glomie_set', 'number', ['string', 'number'], [key, value]),
      showAll: () => module._glomie_show_all(),
      readCode: (pasted) => json(module.ccall('glomie_read_code', 'number', ['string'], [bounded(pasted)])),
      takePasted: () => module._glomie_take_pasted(),
      header: () => text(module._glomie_header()),
    };
  }

  // The answers kept in this browser. Storage may be missing or refuse (private mode, a full
  // quota): then the answers last as long as the page.
  const store = {
    text() {
      try {
        return window.localStorage.getItem(storageKey);
      } catch (error) {
        return null;
      }
    },
    save(answers) {
      try {
        window.localStorage.setItem(storageKey, JSON.stringify(answers));
      } catch (error) {
        // Not kept.
      }
    },
    clear() {
      try {
        window.localStorage.removeItem(storageKey);
      } catch (error) {
        // Nothing was kept.
      }
    },
  };

  // The kept answers: answers the engine has, as whole numbers in the 32-bit range, and other than
  // what it has already (the first answers, after a reset: most kept answers are those).
  function kept(known, text) {
    let answers;
    try {
      answers = JSON.parse(text || '{}');
    } catch (error) {
      return {};
    }
    if (!answers || typeof answers !== 'object' || Array.isArray(answers)) return {};
    return Object.fromEntries(Object.entries(answers).filter(([key, value]) => Object.hasOwn(known, key) &&
      Number.isInteger(value) && value >= -2147483648 && value <= 2147483647 && value !== known[key]));
  }

  // What a control gives the engine: a check box's 0 or 1, a list's row, a level, a number, a
  // count box's text as the engine reads it, a selection's mask (bit k for row k + 1).
  function valueOf(engine, control) {
    const node = control.element;
    switch (control.kind) {
      case 'check':
        return node.checked ? 1 : 0;
      case 'list':
        return node.selectedIndex;
      case 'count':
        return engine.parseCount(node.value);
      case 'selection':
        return control.boxes.reduce((mask, box, k) => (box.checked ? mask + 2 ** k : mask), 0);
      default: {
        if (node.value === '') return null; // nothing a number can be read from yet
        const number = Number(node.value);
        return Number.isFinite(number) ? Math.trunc(Math.max(-2147483648, Math.min(2147483647, number))) : null;
      }
    }
  }

  // Where an upright slider's keys take it: Up and Right raise its intensity (towards the top, its
  // minimum), in every browser alike; Home is the top, End the bottom.
  const uprightSteps = { ArrowUp: -1, ArrowRight: -1, PageUp: -1, ArrowDown: 1, ArrowLeft: 1, PageDown: 1 };
  function uprightKey(node, key) {
    const min = Number(node.min), max = Number(node.max);
    if (key === 'Home') return min;
    if (key === 'End') return max;
    if (!(key in uprightSteps)) return null;
    return Math.max(min, Math.min(max, Number(node.value) + uprightSteps[key]));
  }

  // The form, built from the questions (form-data.js, written from the engine when the site was
  // built, or the engine's own glomie_form()): the tabs and the first page at once, kept out of
  // sight until the engine shows its state; the other pages once that is shown (buildLater), each
  // showing at once what it was given meanwhile. A tab asked for before its page is built builds it.
  function buildPage(form) {
    const formNode = document.getElementById('questions');
    formNode.classList.add('waiting');
    const built = ns.buildForm(form, formNode);
    const view = {
      pages: built.pages,
      codeBox: document.getElementById('code'),
      barCode: document.getElementById('bar-code'),
      share: document.getElementById('share'),
      sentences: document.getElementById('sentences'),
      currentPage: () => tabs.current(),
    };
    // A control's element, or the selection a box belongs to.
    const controlOf = new Map();
    const shared = { formNode, built, view, controlOf, engine: null, buildLater };
    function build(p) {
      if (built.pages[p].built) return;
      const page = built.build(p);
      for (const control of page.controls) {
        controlOf.set(control.element, control);
        for (const box of control.boxes || []) controlOf.set(box, control);
      }
      const years = built.byKey.get('Exp/Years');
      if (years && years.page === p) view.years = ns.addNote(years, 'years');
      const level = built.byKey.get('SM/Pri');
      if (level && level.page === p) {
        view.description = document.createElement('p');
        view.description.className = 'description';
        page.section.append(view.description);
      }
      tabs.place(p);
      if (shared.engine) ns.showBuilt(shared.engine, view, p);
    }
    const tabs = ns.makeTabs(built.pages, form.map((page) => page.caption), formNode, build);
    build(0);

    // The other pages, a few at a time so that the page answers meanwhile, after the first is
    // drawn (or at once when nothing is drawn: a page out of sight gets no frames).
    function buildLater(done) {
      const unbuilt = () => built.pages.findIndex((page) => !page.built);
      const step = () => {
        const until = performance.now() + 8;
        for (let p = unbuilt(); p >= 0; p = unbuilt()) {
          build(p);
          if (performance.now() >= until) break;
        }
        if (unbuilt() >= 0) window.setTimeout(step, 0);
        else done();
      };
      let begun = false;
      const begin = () => {
        if (begun) return;
        begun = true;
        step();
      };
      window.requestAnimationFrame(() => window.setTimeout(begin, 0));
      window.setTimeout(begin, 100);
    }
    return shared;
  }
  const prebuilt = ns.formData ? buildPage(ns.formData) : null;
  // The first look at the browser's storage may wait on the disk: done while the engine is on its
  // way.
  const keptAtStart = store.text();

  function start(module) {
    performance.mark('glomie-engine-ready');
    const engine = wrap(module);
    const form = prebuilt || buildPage(engine.form());
    const { formNode, view, controlOf } = form;
    form.engine = engine;

    // Keeping the answers costs more than a change: it waits until the browser is idle, and is
    // done at once when the page is hidden or left. While the person looks at a code from a link
    // or from Open Code, nothing is kept: their own answers stay as they were.
    let unkept = false;
    let keepTimer = null;
    let looking = false;
    function keepNow() {
      if (keepTimer !== null) {
        (window.cancelIdleCallback || window.clearTimeout)(keepTimer);
        keepTimer = null;
      }
      if (!unkept || looking) return;
      unkept = false;
      store.save(engine.answers());
    }
    function keepLater() {
      if (looking) return;
      unkept = true;
      if (keepTimer !== null) return;
      keepTimer = window.requestIdleCallback ? window.requestIdleCallback(() => { keepTimer = null; keepNow(); }, { timeout: 1000 })
        : window.setTimeout(() => { keepTimer = null; keepNow(); }, 300);
    }
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden') keepNow();
    });
    window.addEventListener('pagehide', keepNow);
    ns.keepNow = keepNow;

    const statusNode = document.getElementById('status');
    const lookingNode = document.getElementById('looking');
    const showAll = () => {
      engine.forget();
      ns.show(engine, view, engine.changes(), null);
    };
    const app = {
      engine,
      view,
      // The person keeps answers of their own in this browser.
      hasOwnAnswers() {
        keepNow();
        return store.text() !== null;
      },
      // The answers the engine holds now are a code to look at, not (yet) the person's.
      look(from) {
        looking = true;
        unkept = false;
        document.getElementById('looking-from').textContent = from;
        lookingNode.hidden = false;
        document.body.classList.add('is-looking');
        showAll();
      },
      // The answers the engine holds now are the person's: shown and kept.
      changed() {
        looking = false;
        lookingNode.hidden = true;
        document.body.classList.remove('is-looking');
        showAll();
        unkept = true;
        keepNow();
      },
      status(text) {
        statusNode.textContent = text;
      },
    };

    // The person's own answers, as kept.
    function loadOwn(text) {
      engine.reset();
      if (text !== null) for (const [key, value] of Object.entries(kept(engine.answers(), text))) engine.set(key, value);
      engine.showAll();
    }

    document.getElementById('make-mine').addEventListener('click', () => {
      app.changed();
      app.status('This code is now yours: it is kept in this browser.');
      view.codeBox.focus();
    });
    document.getElementById('back-to-mine').addEventListener('click', () => {
      looking = false;
      loadOwn(store.text());
      app.changed();
      app.status('Your own answers are back.');
      view.codeBox.focus();
    });

    const notes = [statusNode, document.getElementById('open-note')];
    function answered(event) {
      const control = controlOf.get(event.target);
      if (!control) return;
      for (const note of notes) if (note.textContent) note.textContent = ''; // told of an earlier state
      const value = valueOf(engine, control);
      if (value !== null) engine.answer(control.page, control.index, value);
      ns.show(engine, view, engine.changes(control), control);
      keepLater();
    }
    // A check box or list tells of a change twice, as input and as change: answer it once.
    formNode.addEventListener('input', (event) => {
      if (event.target.type !== 'checkbox' && event.target.tagName !== 'SELECT') answered(event);
    });
    formNode.addEventListener('change', (event) => {
      const control = controlOf.get(event.target);
      // A count box left blank reads as 0 and shows it, as on the desktop.
      if (control && control.kind === 'count' && event.target.value === '' && !event.target.validity.badInput)
        event.target.value = '0';
      answered(event);
    });
    // A key on a slider or tune that leaves it where it was is an answer too: it keeps the tune
    // within its slider. An upright slider's keys are the page's own, the same in every browser.
    const stepKeys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Home', 'End', 'PageUp', 'PageDown'];
    let before = null;
    formNode.addEventListener('keydown', (event) => {
      before = stepKeys.includes(event.key) ? event.target.value : null;
      const control = controlOf.get(event.target);
      if (control && control.kind === 'slider' && control.question.inverted && !event.altKey && !event.ctrlKey && !event.metaKey) {
        const next = uprightKey(event.target, event.key);
        if (next === null) return;
        event.preventDefault();
        event.target.value = String(next);
        answered(event);
        before = null;
      }
    });
    formNode.addEventListener('keyup', (event) => {
      const control = controlOf.get(event.target);
      if (before !== null && control && (control.kind === 'slider' || control.kind === 'tune') &&
          event.target.value === before)
        answered(event);
      before = null;
    });
    // A count box takes digits only, as the desktop's does: a sign or an exponent is no count.
    formNode.addEventListener('beforeinput', (event) => {
      const control = controlOf.get(event.target);
      if (control && control.kind === 'count' && event.data && /[^0-9]/.test(event.data)) event.preventDefault();
    });
    formNode.addEventListener('submit', (event) => event.preventDefault());

    document.getElementById('start-over').addEventListener('click', () => {
      if (!window.confirm('Start over with the first answers? Every answer you gave is lost.')) return;
      engine.reset();
      store.clear();
      looking = false;
      unkept = false;
      lookingNode.hidden = true;
      document.body.classList.remove('is-looking');
      showAll();
      app.status('Every answer is back at its first value.');
    });

    document.getElementById('share').addEventListener('click', (event) => {
      event.preventDefault();
      const address = view.share.href;
      const refused = () => app.status('The browser would not copy the link: copy it from the Share Link menu.');
      if (navigator.clipboard && navigator.clipboard.writeText)
        navigator.clipboard.writeText(address).then(() => app.status('The link to your code was copied.'), refused);
      else refused();
    });

    loadOwn(keptAtStart);
    showAll();
    document.getElementById('loading').remove();
    formNode.classList.remove('waiting');
    performance.mark('glomie-first-render');

    formNode.addEventListener('glomie-page', () => ns.showSentencesFor(view));
    const tools = ns.codeTools(app);
    ns.codeBar(view);
    tools.openAddressCode();
    form.buildLater(() => {
      performance.mark('glomie-form-built');
      ns.ready = true;
    });
  }

  const served = window.location.protocol === 'http:' || window.location.protocol === 'https:';
  // The engine was sent for as the page began (load.js, in the page).
  const engineLoading = ns.engineLoading || Promise.reject(new Error('its engine was not sent for'));
  engineLoading.then(start, (error) => {
    const loading = document.getElementById('loading');
    if (loading) loading.textContent = 'The encoder could not start in this browser: ' + error;
  });

  // Installable when served: from a folder the browser may not read the manifest.
  if (served) {
    const manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.append(manifest);
  }
  if (served && 'serviceWorker' in navigator)
    window.addEventListener('load', () => {
      navigator.serviceWorker.register('offline.js').catch(() => {
        // Not kept for offline use; the page works as it is.
      });
    });
})();
