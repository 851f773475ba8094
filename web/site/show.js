// SPDX-License-Identifier: MIT
// Shows the engine's state: each control's value and whether it is open, the code, the texts that
// follow from the answers and the sentences. Nothing here decides anything.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});

  function setDisabled(node, disabled) {
    if (node.disabled !== disabled) node.disabled = disabled;
  }

  function setText(node, text) {
    if (node.textContent !== text) node.textContent = text;
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
      case 'slider':
        if (node.value !== String(shown)) node.value = String(shown);
        setText(control.shows, String(shown));
        break;
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

  function showSentences(container, groups) {
    const fragment = document.createDocumentFragment();
    for (const group of groups) {
      const section = document.createElement('section');
      const heading = document.createElement('h3');
      heading.textContent = group.title;
      const list = document.createElement('ul');
      for (const line of group.lines) {
        const item = document.createElement('li');
        item.textContent = line.text;
        if (line.ambiguous) item.className = 'ambiguous';
        list.append(item);
      }
      section.append(heading, list);
      fragment.append(section);
    }
    container.replaceChildren(fragment);
  }

  // view: {pages, codeBox, sentences, description, years, share}; state: glomie_state().
  ns.show = function (engine, view, state, typing) {
    state.pages.forEach((pageState, p) => {
      const page = view.pages[p];
      page.controls.forEach((control, i) => {
        setDisabled(control.element, !pageState.open[i]);
        showValue(control, pageState.shown[i], typing);
        if (control.problem) showCountProblem(engine, control);
      });
      pageState.groups.forEach((open, g) => {
        if (page.fieldsets[g]) setDisabled(page.fieldsets[g], !open);
      });
    });
    if (view.description) setText(view.description, state.description);
    if (view.years) setText(view.years, state.years);
    if (view.codeBox.value !== state.code) {
      view.codeBox.value = state.code;
      view.share.href = ns.shareAddress(state.code);
      showSentences(view.sentences, state.sentences);
    }
  };
})();
