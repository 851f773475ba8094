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
      state: () => json(module._glomie_state()),
      answers: () => json(module._glomie_answers()),
      answer: (page, question, value) => module._glomie_answer(page, question, value),
      parseCount: (box) => module.ccall('glomie_parse_count', 'number', ['string'], [bounded(box)]),
      countProblem: (page, question, box) =>
        text(module.ccall('glomie_count_problem', 'number', ['number', 'number', 'string'], [page, question, bounded(box)])),
      reset: () => module._glomie_reset(),
      set: (key, value) => module.ccall('glomie_set', 'number', ['string', 'number'], [key, value]),
      showAll: () => module._glomie_show_all(),
      readCode: (pasted) => json(module.ccall('glomie_read_code', 'number', ['string'], [pasted])),
      takePasted: () => module._glomie_take_pasted(),
      header: () => text(module._glomie_header()),
    };
  }

  function keep(engine) {
    try {
      window.localStorage.setItem(storageKey, JSON.stringify(engine.answers()));
    } catch (error) {
      // No storage (private mode, a full quota): the answers last as long as the page.
    }
  }

  // The kept answers: answers the engine has, as whole numbers in the 32-bit range.
  function kept(known) {
    let answers;
    try {
      answers = JSON.parse(window.localStorage.getItem(storageKey) || '{}');
    } catch (error) {
      return {};
    }
    if (!answers || typeof answers !== 'object' || Array.isArray(answers)) return {};
    return Object.fromEntries(Object.entries(answers).filter(([key, value]) => Object.hasOwn(known, key) &&
      Number.isInteger(value) && value >= -2147483648 && value <= 2147483647));
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

  function start(module) {
    const engine = wrap(module);
    const formNode = document.getElementById('questions');
    const form = engine.form();
    const built = ns.buildForm(form, formNode);
    document.getElementById('loading').remove();
    ns.makeTabs(built.pages, form.map((page) => page.caption), formNode);

    const view = {
      pages: built.pages,
      codeBox: document.getElementById('code'),
      share: document.getElementById('share'),
      sentences: document.getElementById('sentences'),
    };
    const years = built.byKey.get('Exp/Years');
    if (years) view.years = ns.addNote(years, 'years');
    const level = built.byKey.get('SM/Pri');
    if (level) {
      view.description = document.createElement('p');
      view.description.className = 'description';
      level.row.closest('.page').append(view.description);
    }

    const statusNode = document.getElementById('status');
    const app = {
      engine,
      view,
      changed() {
        ns.show(engine, view, engine.state(), null);
        keep(engine);
      },
      status(text) {
        statusNode.textContent = text;
      },
    };

    // A control's element, or the selection a box belongs to.
    const controlOf = new Map();
    for (const page of built.pages)
      for (const control of page.controls) {
        controlOf.set(control.element, control);
        for (const box of control.boxes || []) controlOf.set(box, control);
      }

    const notes = [statusNode, document.getElementById('open-note')];
    function answered(event) {
      const control = controlOf.get(event.target);
      if (!control) return;
      for (const note of notes) if (note.textContent) note.textContent = ''; // told of an earlier state
      const value = valueOf(engine, control);
      if (value !== null) engine.answer(control.page, control.index, value);
      ns.show(engine, view, engine.state(), control);
      keep(engine);
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
    // within its slider.
    const stepKeys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Home', 'End', 'PageUp', 'PageDown'];
    let before = null;
    formNode.addEventListener('keydown', (event) => {
      before = stepKeys.includes(event.key) ? event.target.value : null;
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
      try {
        window.localStorage.removeItem(storageKey);
      } catch (error) {
        // Nothing was kept.
      }
      ns.show(engine, view, engine.state(), null);
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

    engine.reset();
    for (const [key, value] of Object.entries(kept(engine.answers()))) engine.set(key, value);
    engine.showAll();
    ns.show(engine, view, engine.state(), null);
    performance.mark('glomie-form-built');

    const tools = ns.codeTools(app);
    tools.openAddressCode();
    ns.ready = true;
  }

  // Emscripten's glue would first fetch() the module from its own data: address, which the page's
  // policy refuses (and reports); without fetch it decodes the module itself at once.
  const fetchFunction = window.fetch;
  window.fetch = undefined;
  let engineStarting;
  try {
    engineStarting = GlomieEngine();
  } finally {
    window.fetch = fetchFunction;
  }
  engineStarting.then(start, (error) => {
    const loading = document.getElementById('loading');
    if (loading) loading.textContent = 'The encoder could not start in this browser: ' + error;
  });
})();
