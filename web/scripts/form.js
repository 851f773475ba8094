// SPDX-License-Identifier: MIT
// Builds the ten pages from the engine's questions: every caption, choice, range and group is the
// engine's; this file only turns them into elements.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});

  function element(tag, attributes, text) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) node.setAttribute(name, value);
    if (text !== undefined) node.textContent = text;
    return node;
  }

  function idOf(key) {
    return 'q-' + key.replace(/[^A-Za-z0-9]/g, '-');
  }

  // The text beside a control: its caption without the mnemonic, or its accessible name when it
  // has no caption (the desktop shows those in a tooltip).
  function visibleText(question) {
    return question.plain !== '' ? question.plain : question.label;
  }

  function escapeHtml(text) {
    return String(text).replace(/[&<>"']/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;', "'": '&#39;' })[c]);
  }

  function tag(name, attributes, inner) {
    const list = Object.entries(attributes).map(([key, value]) => ` ${key}="${escapeHtml(value)}"`).join('');
    return inner === undefined ? `<${name}${list}>` : `<${name}${list}>${inner}</${name}>`;
  }

  // Many lists offer the same rows (eight offer the villains): each set is written once.
  const writtenOptions = new Map();
  function optionsHtml(rows) {
    const key = rows.join('\n');
    if (!writtenOptions.has(key))
      writtenOptions.set(key, rows.map((text, row) => `<option value="${row}">${escapeHtml(text)}</option>`).join(''));
    return writtenOptions.get(key);
  }

  // One question's row. The page is written as HTML and parsed at once: far quicker than making
  // its elements one by one.
  function questionHtml(question) {
    const id = idOf(question.key);
    const named = { id, name: question.key, 'aria-label': question.label };
    const label = tag('label', { for: id }, escapeHtml(visibleText(question)));
    switch (question.kind) {
      case 'check':
        return tag('div', { class: 'q check' }, tag('input', { type: 'checkbox', ...named }) + label);
      case 'list':
        return tag('div', { class: 'q list' }, label + tag('select', named, optionsHtml(question.rows)));
      case 'slider':
        return tag('div', { class: question.inverted ? 'q slider upright' : 'q slider' }, label +
          tag('input', { type: 'range', ...named, min: question.min, max: question.max, step: 1 }) +
          tag('output', { for: id, 'aria-hidden': 'true', class: 'level' }, ''));
      case 'tune':
      case 'spin':
      case 'count': {
        const box = tag('input', { type: 'number', ...named, min: question.min, max: question.max, step: 1, inputmode: 'numeric' });
        const problem = question.kind === 'count' ? tag('span', { id: id + '-problem', class: 'problem' }, '') : '';
        return tag('div', { class: 'q number ' + question.kind }, label + box + problem);
      }
      case 'selection': {
        // A box a row, rows 1 and on: easier to touch than a multiple-choice list.
        const boxes = question.rows.slice(1).map((text, k) => {
          const boxId = `${id}-${k + 1}`;
          return tag('label', { for: boxId, class: 'choice' },
            tag('input', { type: 'checkbox', id: boxId, name: question.key, value: k + 1 }) + escapeHtml(text));
        }).join('');
        return tag('fieldset', { class: 'q selection', id, 'aria-label': question.label },
          tag('legend', { title: question.label }, escapeHtml(visibleText(question))) + boxes);
      }
      default:
        throw new Error('Unknown control kind ' + question.kind);
    }
  }

  // A page's questions in their groups, a group where its first question comes, inside its parent.
  function pageHtml(pageForm, page) {
    const top = [];
    const groups = [];
    const itemsOf = (g) => {
      if (g < 0) return top;
      if (!groups[g]) {
        groups[g] = [];
        itemsOf(pageForm.groups[g].parent).push({ group: g, items: groups[g] });
      }
      return groups[g];
    };
    pageForm.questions.forEach((question) => itemsOf(question.group).push({ question }));
    // A group holding selections lays them side by side where there is room.
    const groupClass = (items) => items.some((item) => item.question && item.question.kind === 'selection')
      ? 'group with-selections' : 'group';
    const write = (items) => items.map((item) => item.question ? questionHtml(item.question) :
      tag('fieldset', { class: groupClass(item.items), id: `page-${page}-group-${item.group}`, 'data-group': pageForm.groups[item.group].name },
        tag('legend', {}, escapeHtml(pageForm.groups[item.group].plain)) + write(item.items))).join('');
    return tag('section', { class: 'page', id: 'page-' + page, 'aria-labelledby': `page-${page}-heading` },
      tag('h2', { id: `page-${page}-heading`, class: 'page-heading' }, escapeHtml(pageForm.caption)) + write(top));
  }

  // The form's pages, each built when asked for (build(p)): the page in sight first, the others
  // once it is shown. Returns {pages: [{built, section, heading, controls, fieldsets}], byKey,
  // build(p)}; a page not yet built has no section and no controls.
  ns.buildForm = function (form, container) {
    const byKey = new Map();
    const pages = form.map(() => ({ built: false, section: null, heading: null, controls: [], fieldsets: [] }));
    let uprightAsked = false;
    function build(p) {
      const page = pages[p];
      if (page.built) return page;
      // In its place: before the next page built, else last.
      const next = pages.slice(p + 1).find((later) => later.built);
      if (next) next.section.insertAdjacentHTML('beforebegin', pageHtml(form[p], p));
      else container.insertAdjacentHTML('beforeend', pageHtml(form[p], p));
      page.section = document.getElementById('page-' + p);
      page.heading = document.getElementById(`page-${p}-heading`);
      page.controls = form[p].questions.map((question, index) => {
        const id = idOf(question.key);
        const node = document.getElementById(id);
        const control = { page: p, index, question, kind: question.kind, id, element: node };
        control.row = question.kind === 'selection' ? node : node.closest('.q');
        if (question.kind === 'slider') {
          control.shows = control.row.querySelector('.level');
          control.texts = question.texts || [];
        }
        if (question.kind === 'count') control.problem = document.getElementById(id + '-problem');
        if (question.kind === 'selection') control.boxes = [...node.querySelectorAll('input')];
        byKey.set(question.key, control);
        return control;
      });
      page.fieldsets = form[p].groups.map((group, g) => document.getElementById(`page-${p}-group-${g}`));
      page.built = true;
      // A browser that lays a range flat whatever its writing mode is given a slider drawn
      // upright: asked once the page is drawn, when its style is known anyway.
      const upright = uprightAsked ? null : page.section.querySelector('.q.upright input[type=range]');
      if (upright) {
        uprightAsked = true;
        window.requestAnimationFrame(() => window.setTimeout(() => {
          if (!getComputedStyle(upright).writingMode.startsWith('vertical')) document.documentElement.classList.add('upright-drawn');
        }));
      }
      return page;
    }
    return { pages, byKey, build };
  };

  // Text the engine writes beside a control (the years beside their spin, the obsession level's
  // description), placed after that control's row.
  ns.addNote = function (control, className) {
    const note = element('output', { for: control.id, class: className });
    control.row.append(note);
    return note;
  };

  // On a wide screen the pages are tabs; on a narrow one, sections one below the other.
  // build(index): builds a page not built yet when it is asked for. Returns {current(), place(i)}:
  // the page being answered (the tab shown, or the page in sight), and what places a page built
  // later in the tabs' state.
  ns.makeTabs = function (pages, captions, container, build) {
    const list = element('div', { role: 'tablist', 'aria-label': 'Pages', class: 'tabs' });
    const tabs = pages.map((page, index) => {
      const tab = element('button', {
        type: 'button', role: 'tab', id: 'tab-' + index, 'aria-controls': 'page-' + index, class: 'tab',
      }, captions[index]);
      list.append(tab);
      return tab;
    });
    container.parentNode.insertBefore(list, container); // across both columns on a wide screen
    const wide = window.matchMedia('(min-width: 56em)');
    let current = 0;

    // A page's section as the tabs and the width have it.
    function place(i) {
      const section = pages[i].section;
      if (!section) return;
      section.classList.toggle('inactive', i !== current);
      if (wide.matches) {
        section.setAttribute('role', 'tabpanel');
        section.setAttribute('aria-labelledby', tabs[i].id);
      } else {
        section.removeAttribute('role');
        section.setAttribute('aria-labelledby', pages[i].heading.id);
      }
    }

    function select(index, focus) {
      build(index);
      current = index;
      tabs.forEach((tab, i) => {
        const on = i === index;
        tab.setAttribute('aria-selected', on ? 'true' : 'false');
        tab.tabIndex = on ? 0 : -1;
        place(i);
      });
      if (focus) tabs[index].focus();
      container.dispatchEvent(new CustomEvent('glomie-page', { bubbles: true }));
    }

    function layout() {
      pages.forEach((page, i) => place(i));
      list.hidden = !wide.matches;
      container.classList.toggle('tabbed', wide.matches);
    }

    list.addEventListener('click', (event) => {
      const index = tabs.indexOf(event.target.closest('[role=tab]'));
      if (index >= 0) select(index, false);
    });
    list.addEventListener('keydown', (event) => {
      const moves = { ArrowRight: current + 1, ArrowLeft: current - 1, Home: 0, End: tabs.length - 1 };
      if (!(event.key in moves)) return;
      event.preventDefault();
      select((moves[event.key] + tabs.length) % tabs.length, true);
    });
    wide.addEventListener('change', layout);
    tabs.forEach((tab, i) => {
      tab.setAttribute('aria-selected', i === current ? 'true' : 'false');
      tab.tabIndex = i === current ? 0 : -1;
    });
    layout();
    // On a narrow screen, the page a control that is answered lies on.
    container.addEventListener('focusin', (event) => {
      if (wide.matches) return;
      const index = pages.findIndex((page) => page.section && page.section.contains(event.target));
      if (index >= 0 && index !== current) {
        current = index;
        container.dispatchEvent(new CustomEvent('glomie-page', { bubbles: true }));
      }
    });
    return { current: () => current, place };
  };
})();
