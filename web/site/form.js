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

  function numberBox(question, id) {
    return element('input', {
      type: 'number', id, name: question.key, 'aria-label': question.label,
      min: String(question.min), max: String(question.max), step: '1', inputmode: 'numeric',
    });
  }

  // One question: its row and the control (or, for a selection, the boxes) the page reads.
  function buildQuestion(question, page, index) {
    const id = idOf(question.key);
    const control = { page, index, question, kind: question.kind, id };
    let row;
    switch (question.kind) {
      case 'check': {
        row = element('div', { class: 'q check' });
        const box = element('input', { type: 'checkbox', id, name: question.key, 'aria-label': question.label });
        row.append(box, element('label', { for: id }, visibleText(question)));
        control.element = box;
        break;
      }
      case 'list': {
        row = element('div', { class: 'q list' });
        const list = element('select', { id, name: question.key, 'aria-label': question.label });
        question.rows.forEach((text, rowIndex) => list.append(element('option', { value: String(rowIndex) }, text)));
        row.append(element('label', { for: id }, visibleText(question)), list);
        control.element = list;
        break;
      }
      case 'slider': {
        row = element('div', { class: question.inverted ? 'q slider upright' : 'q slider' });
        const slider = element('input', {
          type: 'range', id, name: question.key, 'aria-label': question.label,
          min: String(question.min), max: String(question.max), step: '1',
        });
        const shows = element('output', { for: id, 'aria-hidden': 'true', class: 'level' });
        row.append(element('label', { for: id }, visibleText(question)), slider, shows);
        control.element = slider;
        control.shows = shows;
        break;
      }
      case 'tune':
      case 'spin':
      case 'count': {
        row = element('div', { class: 'q number ' + question.kind });
        const box = numberBox(question, id);
        row.append(element('label', { for: id }, visibleText(question)), box);
        control.element = box;
        if (question.kind === 'count') {
          const problem = element('span', { id: id + '-problem', class: 'problem' });
          row.append(problem);
          control.problem = problem;
        }
        break;
      }
      case 'selection': {
        // A box a row, rows 1 and on: easier to touch than a multiple-choice list.
        row = element('fieldset', { class: 'q selection', id, 'aria-label': question.label });
        row.append(element('legend', { title: question.label }, visibleText(question)));
        control.boxes = [];
        question.rows.forEach((text, rowIndex) => {
          if (rowIndex === 0) return;
          const boxId = id + '-' + rowIndex;
          const label = element('label', { for: boxId, class: 'choice' });
          const box = element('input', { type: 'checkbox', id: boxId, name: question.key, value: String(rowIndex) });
          label.append(box, document.createTextNode(text));
          row.append(label);
          control.boxes.push(box);
        });
        control.element = row;
        break;
      }
      default:
        throw new Error('Unknown control kind ' + question.kind);
    }
    control.row = row;
    return control;
  }

  // The fieldset of a group, made where its first question comes, inside its parent's.
  function fieldsetOf(pageForm, groupIndex, section, fieldsets) {
    if (groupIndex < 0) return section;
    if (!fieldsets[groupIndex]) {
      const group = pageForm.groups[groupIndex];
      const parent = fieldsetOf(pageForm, group.parent, section, fieldsets);
      const fieldset = element('fieldset', { class: 'group', 'data-group': group.name });
      fieldset.append(element('legend', {}, group.plain));
      parent.append(fieldset);
      fieldsets[groupIndex] = fieldset;
    }
    return fieldsets[groupIndex];
  }

  // Builds every page into the form; returns {pages: [{section, controls, fieldsets}], byKey}.
  ns.buildForm = function (form, container) {
    const pages = [];
    const byKey = new Map();
    form.forEach((pageForm, page) => {
      const section = element('section', { class: 'page', id: 'page-' + page });
      const heading = element('h2', { id: 'page-' + page + '-heading', class: 'page-heading' }, pageForm.caption);
      section.setAttribute('aria-labelledby', heading.id);
      section.append(heading);
      const fieldsets = [];
      const controls = pageForm.questions.map((question, index) => {
        const control = buildQuestion(question, page, index);
        fieldsetOf(pageForm, question.group, section, fieldsets).append(control.row);
        byKey.set(question.key, control);
        return control;
      });
      container.append(section);
      pages.push({ section, heading, controls, fieldsets });
    });
    return { pages, byKey };
  };

  // Text the engine writes beside a control (the years beside their spin, the obsession level's
  // description), placed after that control's row.
  ns.addNote = function (control, className) {
    const note = element('output', { for: control.id, class: className });
    control.row.append(note);
    return note;
  };

  // On a wide screen the pages are tabs; on a narrow one, sections one below the other.
  ns.makeTabs = function (pages, captions, container) {
    const list = element('div', { role: 'tablist', 'aria-label': 'Pages', class: 'tabs' });
    const tabs = pages.map((page, index) => {
      const tab = element('button', {
        type: 'button', role: 'tab', id: 'tab-' + index, 'aria-controls': page.section.id, class: 'tab',
      }, captions[index]);
      list.append(tab);
      return tab;
    });
    container.prepend(list);
    const wide = window.matchMedia('(min-width: 56em)');
    let current = 0;

    function select(index, focus) {
      current = index;
      tabs.forEach((tab, i) => {
        const on = i === index;
        tab.setAttribute('aria-selected', on ? 'true' : 'false');
        tab.tabIndex = on ? 0 : -1;
        pages[i].section.classList.toggle('inactive', !on);
      });
      if (focus) tabs[index].focus();
    }

    function layout() {
      pages.forEach((page, i) => {
        if (wide.matches) {
          page.section.setAttribute('role', 'tabpanel');
          page.section.setAttribute('aria-labelledby', tabs[i].id);
        } else {
          page.section.removeAttribute('role');
          page.section.setAttribute('aria-labelledby', page.heading.id);
        }
      });
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
    select(0, false);
    layout();
  };
})();
