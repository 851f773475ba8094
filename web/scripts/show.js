// SPDX-License-Identifier: MIT
// Shows the engine's state: each control's value and whether it is open, the code, the texts that
// follow from the answers and the sentences. Nothing here decides anything.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});

  function setDisabled(node, disabled) {
    if (node.disabled !== disabled) node.disabled = disabled;
  }

  // A node's text; where it is one text already, that text is written over, not replaced.
  function setText(node, text) {
    const only = node.firstChild;
    if (only && only === node.lastChild && only.nodeType === Node.TEXT_NODE) {
      if (only.data !== text) only.data = text;
    } else if (node.textContent !== text) {
      node.textContent = text;
    }
  }

  // typing: the control whose text is the user's own just now, which keeps it.
  function showValue(control, shown, typing) {
    const node = control.element;
    switch (control.kind) {
      case 'check': {
        const checked = shown === 1;
        const third = shown === 2; // a stored 2 shows as the third state until clicked
        if (node.checked !== checked) node.checked = checked;
        if (node.indeterminate !== third) node.indeterminate = third;
        break;
      }
      case 'list':
        if (node.selectedIndex !== shown) node.selectedIndex = shown;
        break;
      case 'slider': {
        if (node.value !== String(shown)) node.value = String(shown);
        // As the code and its sentences count it: a level "5+", an upright slider from its bottom.
        const text = control.texts[shown - control.question.min] ?? String(shown);
        setText(control.shows, text);
        if (node.getAttribute('aria-valuetext') !== text) node.setAttribute('aria-valuetext', text);
        break;
      }
      case 'tune':
      case 'spin':
        // Half-typed text ("-") is no number yet; leave it until it is one.
        if (typing === control && node.value === '') break;
        if (node.value !== String(shown)) node.value = String(shown);
        break;
      case 'count':
        if (typing !== control && node.value !== String(shown)) node.value = String(shown);
        break;
      case 'selection':
        control.boxes.forEach((box, k) => {
          const checked = Math.floor(shown / 2 ** k) % 2 === 1; // bit k is row k + 1
          if (box.checked !== checked) box.checked = checked;
        });
        break;
    }
  }

  // The engine's word on a count box's text, beside it.
  function showCountProblem(engine, control) {
    const message = engine.countProblem(control.page, control.index, control.element.value);
    setText(control.problem, message);
    if (message) {
      control.element.setAttribute('aria-invalid', 'true');
      control.element.setAttribute('aria-describedby', control.problem.id);
    } else if (control.element.hasAttribute('aria-invalid')) {
      control.element.removeAttribute('aria-invalid');
      control.element.removeAttribute('aria-describedby');
    }
  }

  // The code box grows with the code where the browser does not size it by its content itself;
  // measured when the browser draws next, not while it answers a change.
  const sizedByContent = window.CSS && CSS.supports('field-sizing', 'content');
  let fitting = null;
  function fitLater(box) {
    if (sizedByContent || fitting) return;
    fitting = window.requestAnimationFrame(() => {
      fitting = null;
      box.style.height = 'auto';
      box.style.height = box.scrollHeight + box.offsetHeight - box.clientHeight + 'px';
    });
  }

  // The sentences under their headings. The engine names a group it gave before unchanged ("same"):
  // that group's part of the page stays as it is; only a group whose lines changed is written again.
  const writtenGroups = new Map(); // a group's title and how often it came before → {group, section}
  // A group's heading and its lines; a group's section written before is written over in place,
  // line by line, where its text changed. What each line shows is kept beside it (shown: [{item,
  // text, page, className}]), so that a change reads nothing back from the page.
  function groupSection(group, written) {
    let section = written && written.section;
    let shown = written ? written.shown : [];
    if (!section) {
      section = document.createElement('section');
      const heading = document.createElement('h3');
      heading.textContent = group.title;
      section.append(heading, document.createElement('ul'));
      shown = [];
    }
    const list = section.lastChild;
    group.lines.forEach((line, i) => {
      let was = shown[i];
      if (!was) {
        was = shown[i] = { item: document.createElement('li'), text: null, page: null, className: '' };
        list.append(was.item);
      }
      if (was.text !== line.text) {
        was.item.textContent = line.text;
        was.text = line.text;
      }
      if (was.page !== line.page) {
        was.item.dataset.page = line.page;
        was.page = line.page;
      }
      const className = line.ambiguous ? 'ambiguous' : '';
      if (was.className !== className) {
        was.item.className = className;
        was.className = className;
      }
    });
    while (shown.length > group.lines.length) shown.pop().item.remove();
    return { group, section, shown };
  }
  // The engine's groups as written on the page: [{group, section}], in the code's order.
  function writeSentences(groups) {
    const seen = new Map();
    const keys = new Set();
    const written = groups.map((group) => {
      const before = seen.get(group.title) || 0;
      seen.set(group.title, before + 1);
      const key = group.title + '\u0000' + before;
      keys.add(key);
      let entry = writtenGroups.get(key);
      if (!group.same || !entry) {
        entry = groupSection(group, entry);
        writtenGroups.set(key, entry);
      }
      return entry;
    });
    for (const key of writtenGroups.keys()) if (!keys.has(key)) writtenGroups.delete(key);
    return written;
  }
  // Those of the page being answered first; a group moves only when the order changed. The order
  // last placed is kept (placed), so that an unchanged order costs no look at the page.
  let placed = [];
  function placeSentences(container, written, current) {
    const here = (entry) => entry.group.lines.some((line) => line.page === current);
    const sections = [...written.filter(here), ...written.filter((entry) => !here(entry))].map((entry) => entry.section);
    if (sections.length === placed.length && sections.every((section, i) => section === placed[i])) return;
    placed = sections;
    const wanted = new Set(sections);
    for (const child of [...container.children]) if (!wanted.has(child)) child.remove();
    const shown = container.children;
    sections.forEach((section, i) => {
      if (shown[i] !== section) container.insertBefore(section, shown[i] || null);
    });
  }

  // view: {pages, codeBox, barCode, sentences, description, years, share, currentPage()};
  // changes: glomie_changes(), what changed since the page was last shown.
  // What a page not built yet is to show is kept for it until it is (ns.showBuilt).
  ns.show = function (engine, view, changes, typing) {
    for (const change of changes.controls) {
      const page = view.pages[change[0]];
      if (!page.built) {
        (page.later || (page.later = { controls: new Map(), groups: new Map() })).controls.set(change[1], change);
        continue;
      }
      const control = page.controls[change[1]];
      setDisabled(control.element, change[2] !== 1);
      showValue(control, change[3], typing);
      if (control.problem && control !== typing) showCountProblem(engine, control);
    }
    if (typing && typing.problem) showCountProblem(engine, typing);
    for (const change of changes.groups) {
      const page = view.pages[change[0]];
      if (!page.built) {
        (page.later || (page.later = { controls: new Map(), groups: new Map() })).groups.set(change[1], change);
        continue;
      }
      const fieldset = page.fieldsets[change[1]];
      if (fieldset) setDisabled(fieldset, change[2] !== 1);
    }
    // The notes beside a control keep their text for when it is built.
    if (changes.description !== undefined) view.descriptionText = changes.description;
    if (changes.years !== undefined) view.yearsText = changes.years;
    if (view.description && view.descriptionText !== undefined) setText(view.description, view.descriptionText);
    if (view.years && view.yearsText !== undefined) setText(view.years, view.yearsText);
    if (changes.code !== undefined) {
      view.codeBox.value = changes.code;
      fitLater(view.codeBox);
      setText(view.barCode, changes.code);
      view.share.href = ns.shareAddress(changes.code);
      view.lastSentences = writeSentences(changes.sentences);
      placeSentences(view.sentences, view.lastSentences, view.currentPage());
    }
  };

  // A page just built shows what it was given while it was not.
  ns.showBuilt = function (engine, view, p) {
    const later = view.pages[p].later;
    view.pages[p].later = null;
    ns.show(engine, view, { controls: later ? [...later.controls.values()] : [], groups: later ? [...later.groups.values()] : [] }, null);
  };

  // The sentences again with another page's first.
  ns.showSentencesFor = function (view) {
    if (view.lastSentences) placeSentences(view.sentences, view.lastSentences, view.currentPage());
  };
})();
