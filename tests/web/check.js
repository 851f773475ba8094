// SPDX-License-Identifier: MIT
// The encoder's page in the three browser engines (Chromium, Firefox ESR, WebKitGTK), served from
// loopback and opened from its folder, with one table of checks: the form against the engine's
// questions, random answers against glomiecode-cli, the worked examples through the page's address,
// a friend's link beside the person's own answers, a code with problems taken and left, the rules
// as shown, count boxes, kept answers, the tabs, a phone's width with the code in sight, dark mode,
// axe-core's WCAG 2.1 A and AA rules, offline use, and the size it loads. A check that an engine's
// driver cannot do names the engines it runs in, and says why.
// Usage: node check.js [ENGINE...]   (chromium, firefox, webkit; default all three, WebKit under an X
// server; build/web and the CLI built first; GLOMIE_CLI names another CLI)
'use strict';
const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { root, site, serveSite, launch } = require('./harness');
const budgets = require('../../bench/web/budgets');

const cli = process.env.GLOMIE_CLI || path.join(root, 'build', 'default', 'src', 'cli', 'glomiecode-cli');
const defaultCode = 'GlomieCode(1.12.05) SM:5m-';
// The answers the settings do not keep.
const unstored = ['Exp/IntensityMangaRaw', 'Exp/IntensityMangaSub', 'Exp/BoostMangaRaw', 'Exp/BoostMangaSub',
  'Per/NoTellWeight', 'Per/NoTellFat'];

// The worked examples of the desktop's paste test.
const workedExamples = [
  'GlomieCode(1.12.05) SM:5',
  'GlomieCode(1.12.05) SM:5-[7+]m+',
  'GlomieCode(1.12.05) SM:![0]m-',
  'GlomieCode(1.12.05) SM:5 F:sMo++ D:vBe- X:**',
  'GlomieCode(1.12.05) SM:5 F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---',
  'GlomieCode(1.12.05) SM:5 F:v4GA3:p*R1',
  'GlomieCode(1.12.05) SM:5 X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]',
  'GlomieCode(1.12.05) SM:5 X:a[R]d+',
  'GlomieCode(1.12.05) SM:5 O:d--:!s++:?o:a?:h-[-]:x+',
  'GlomieCode(1.12.05) SM:5 O:!sZ',
  'GlomieCode(1.12.05) SM:5 P:w?',
  'GlomieCode(1.12.05) SM:5 P:eBBrL|Gg[z]',
  'GlomieCode(1.12.05) SM:5 P:a23:eBg:hBr+:x:r+|+',
  'GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:' +
    'm18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+',
];

// ---------------------------------------------------------------------------------------------
// Random answers as the pages let a user enter them, stored answers only, with the ranges the
// engine's question table gives (glomie_form()): [key, low, high], or a level or list and its tune:
// ['tune', key, tuneKey, low, high, floor], or an upright slider and its tune: ['upright', key,
// tuneKey, maximum].

function answerTable(form, stored) {
  const rows = [];
  const rangeOf = (q) => {
    switch (q.kind) {
      case 'check': return [0, 1];
      case 'list': return [0, q.rows.length - 1];
      case 'selection': return [0, 2 ** (q.rows.length - 1) - 1];
      default: return [q.min, q.max];
    }
  };
  for (const pageForm of form)
    pageForm.questions.forEach((q, i) => {
      if (!stored.includes(q.key) || q.kind === 'tune') return;
      const tune = pageForm.questions[i + 1];
      const [low, high] = rangeOf(q);
      if (tune && tune.kind === 'tune' && stored.includes(tune.key))
        rows.push(q.inverted ? ['upright', q.key, tune.key, high] : ['tune', q.key, tune.key, low, high, tune.min]);
      else rows.push([q.key, low, high]);
    });
  return rows;
}

// splitmix64, as the engine's tests draw their numbers.
function seeded(seed) {
  const mask = (1n << 64n) - 1n;
  let state = BigInt(seed);
  return (low, high) => {
    state = (state + 0x9e3779b97f4a7c15n) & mask;
    let z = state;
    z = ((z ^ (z >> 30n)) * 0xbf58476d1ce4e5b9n) & mask;
    z = ((z ^ (z >> 27n)) * 0x94d049bb133111ebn) & mask;
    z ^= z >> 31n;
    return low + Number(z % BigInt(high - low + 1));
  };
}

function randomAnswers(table, seed) {
  const between = seeded(seed);
  // The ends of a range are drawn more often than the middle.
  const pick = (low, high) => {
    const draw = between(0, 7);
    return draw < 2 ? low : draw === 2 ? high : between(low, high);
  };
  const answers = {};
  for (const row of table) {
    if (row[0] === 'tune') {
      const [, key, tuneKey, low, high, floor] = row;
      answers[key] = pick(low, high);
      answers[tuneKey] = pick(Math.max(low - answers[key], floor), high - answers[key]);
    } else if (row[0] === 'upright') {
      const [, key, tuneKey, maximum] = row;
      answers[key] = pick(0, maximum);
      answers[tuneKey] = pick(0, answers[key]);
    } else {
      answers[row[0]] = pick(row[1], row[2]);
    }
  }
  return answers;
}

function iniOf(answers) {
  const sections = new Map();
  for (const [key, value] of Object.entries(answers)) {
    const [section, name] = key.split('/');
    if (!sections.has(section)) sections.set(section, []);
    sections.get(section).push(`${name}=${value}`);
  }
  return [...sections].map(([section, lines]) => `[${section}]\n${lines.join('\n')}\n`).join('\n');
}

// ---------------------------------------------------------------------------------------------
// In the page

// Sets answers through the named controls, in the form's order, as a user's input and change
// events: sliders and lists before their tunes, so that no clamp fires in between.
function setThroughForm(page, steps) {
  return page.evaluate((steps) => {
    const fire = (node, type) => node.dispatchEvent(new Event(type, { bubbles: true }));
    for (const [key, value] of steps) {
      const nodes = [...document.getElementsByName(key)];
      const first = nodes[0];
      if (!first) throw new Error('no control named ' + key);
      if (first.closest('.selection')) {
        for (const box of nodes) {
          box.checked = Math.floor(value / 2 ** (Number(box.value) - 1)) % 2 === 1;
          fire(box, 'change');
        }
      } else if (first.type === 'checkbox') {
        first.checked = value === 1;
        fire(first, 'change');
      } else if (first.tagName === 'SELECT') {
        first.selectedIndex = value;
        fire(first, 'change');
      } else {
        first.value = String(value);
        fire(first, 'input');
        fire(first, 'change');
      }
    }
  }, steps);
}

// What the page shows, in the form of glomie_state(): every control's value and whether it is open,
// the groups, the texts and the sentences.
function shownState(page, form) {
  return page.evaluate((form) => ({
    code: document.getElementById('code').value,
    pages: form.map((pageForm, p) => ({
      open: pageForm.questions.map((q) => !document.getElementById('q-' + q.key.replace(/[^A-Za-z0-9]/g, '-')).matches(':disabled')),
      shown: pageForm.questions.map((q) => {
        const nodes = [...document.getElementsByName(q.key)];
        const node = nodes[0];
        switch (q.kind) {
          case 'check': return node.checked ? 1 : node.indeterminate ? 2 : 0;
          case 'list': return node.selectedIndex;
          case 'selection': return nodes.reduce((mask, box) => (box.checked ? mask + 2 ** (Number(box.value) - 1) : mask), 0);
          default: return Number(node.value);
        }
      }),
      groups: pageForm.groups.map((g, i) => !document.getElementById(`page-${p}-group-${i}`).disabled),
    })),
    description: document.querySelector('.description').textContent,
    years: document.querySelector('.years').textContent,
    // In the page's order: the sentences of the page being answered first.
    sentences: [...document.querySelectorAll('#sentences section')].map((section) => ({
      title: section.querySelector('h3').textContent,
      lines: [...section.querySelectorAll('li')].map((li) => ({ text: li.textContent, ambiguous: li.classList.contains('ambiguous'), page: Number(li.dataset.page) })),
    })),
  }), form);
}

const codeOf = (page) => page.$eval('#code', (node) => node.value);
// The kept answers, once the page has kept what it waits to keep until the browser is idle.
const keptOf = (page) => page.evaluate(() => {
  window.GlomieEncoder.keepNow();
  return JSON.parse(localStorage.getItem('glomiecode.answers') || 'null');
});
const valueOf = (page, key) => page.$eval(`[name="${key}"]`, (node) => node.value);
const disabledOf = (page, key) => page.$eval(`[name="${key}"]`, (node) => node.matches(':disabled'));
// Selects a box's text and types over it, as a triple click and typing would.
async function typeInto(page, selector, text) {
  await page.focus(selector);
  await page.$eval(selector, (node) => node.select());
  if (text) await page.type(text);
}

const startOver = (page) => page.clickAndConfirm('#start-over', true);

async function runAxe(page) {
  await page.evaluate(new Function(fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8')));
  return page.evaluate(async () => {
    const result = await window.axe.run(document, {
      runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] },
    });
    return result.violations.map((v) => `${v.id}: ${v.help} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
  });
}

// ---------------------------------------------------------------------------------------------

async function checkEngine(engineName, shared, results) {
  const { engine, form, storedKeys, server, cliCode, work } = shared;
  // check(name, body) or check(name, [engines it runs in, why not in the others], body).
  async function check(name, only, body) {
    if (body === undefined) [only, body] = [null, only];
    if (chosen && !chosen.test(name)) return;
    if (only && !only[0].includes(engineName)) {
      results.skipped.push(`${engineName}: ${name} (${only[1]})`);
      return;
    }
    try {
      await body();
      results.passed += 1;
    } catch (error) {
      results.failed += 1;
      console.error(`FAILED [${engineName}] ${name}\n  ${String(error && error.stack || error).split('\n').slice(0, 14).join('\n  ')}`);
    }
  }
  const chromiumOnly = (why) => [['chromium'], why];
  const notWebKit = (why) => [['chromium', 'firefox'], why];
  const notFirefox = (why) => [['chromium', 'webkit'], why];

  const browser = await launch(engineName);
  const desktop = await browser.open(server.base);
  const loadRequests = server.requests.length;
  const unstoredKeys = unstored;
  const stored = (answers) => Object.fromEntries(Object.entries(answers).filter(([key]) => !unstoredKeys.includes(key)));
  const table = answerTable(form, storedKeys.filter((key) => !unstored.includes(key)));

  await check('the page loads its files only from its own folder, with its policy, no inline script but its loader, no inline style', async () => {
    const html = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
    // The one inline script is the loader, named in the policy by its hash: no other runs.
    const inline = [...html.matchAll(/<script(?![^>]*\bsrc=)[^>]*>([\s\S]*?)<\/script>/g)];
    assert.strictEqual(inline.length, 1, 'one inline script');
    assert.match(inline[0][1], /engineLoading/, 'the inline script is the loader');
    const hash = require('crypto').createHash('sha256').update(inline[0][1], 'utf8').digest('base64');
    const policy = `<meta http-equiv="Content-Security-Policy" content="default-src 'none'; script-src 'self' 'sha256-${hash}' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data:; connect-src 'self'; worker-src 'self'; manifest-src 'self'; base-uri 'none'; form-action 'none'">`;
    assert.ok(html.includes(policy), 'the policy: ' + policy);
    assert.doesNotMatch(html, /<style|\sstyle=/, 'an inline style');
    assert.doesNotMatch(html, /type="module"/);
    assert.deepStrictEqual(server.requests.filter((url) => !ownFile(url)), []);
    assert.deepStrictEqual(desktop.problems, []);
  });

  await check('every question of the engine, in its order, named by its key, with its caption, label, choices, range and group', async () => {
    const mismatches = await desktop.evaluate((form) => {
      const wrong = [];
      const all = [...document.querySelectorAll('#questions [name]')];
      let last = null;
      form.forEach((pageForm, p) => {
        const section = document.getElementById('page-' + p);
        if (section.querySelector('h2').textContent !== pageForm.caption) wrong.push('page caption ' + p);
        if (document.getElementById('tab-' + p).textContent !== pageForm.caption) wrong.push('tab ' + p);
        for (const q of pageForm.questions) {
          const nodes = all.filter((node) => node.name === q.key);
          const node = nodes[0];
          if (!node || !section.contains(node)) { wrong.push('no control ' + q.key); continue; }
          if (last && !(last.compareDocumentPosition(node) & Node.DOCUMENT_POSITION_FOLLOWING)) wrong.push('order ' + q.key);
          last = nodes[nodes.length - 1];
          const kind = { check: 'checkbox', list: 'select-one', slider: 'range', tune: 'number', spin: 'number', count: 'number', selection: 'checkbox' }[q.kind];
          if (node.type !== kind) wrong.push(`${q.key} is ${node.type}`);
          const row = q.kind === 'selection' ? node.closest('fieldset') : node.closest('.q');
          const caption = q.kind === 'selection' ? row.querySelector('legend').textContent : row.querySelector('label').textContent;
          if (caption !== (q.plain || q.label)) wrong.push(`${q.key} caption "${caption}"`);
          if (q.plain !== q.caption.replace(/&(.)/g, '$1')) wrong.push(`${q.key} plain "${q.plain}"`);
          if (['slider', 'tune', 'spin', 'count'].includes(q.kind) && (node.min !== String(q.min) || node.max !== String(q.max))) wrong.push(q.key + ' range');
          if (q.kind === 'list' && JSON.stringify([...node.options].map((o) => o.textContent)) !== JSON.stringify(q.rows)) wrong.push(q.key + ' rows');
          if (q.kind === 'list' && [...node.options].some((o, i) => o.value !== String(i))) wrong.push(q.key + ' row values');
          if (q.kind === 'selection' && JSON.stringify(nodes.map((n) => [n.value, n.parentNode.textContent])) !==
              JSON.stringify(q.rows.slice(1).map((text, i) => [String(i + 1), text]))) wrong.push(q.key + ' selection rows');
          if (q.kind === 'slider' && q.inverted !== node.closest('.q').classList.contains('upright')) wrong.push(q.key + ' upright');
          if (q.kind === 'slider' && q.texts.length !== q.max - q.min + 1) wrong.push(q.key + ' texts');
          if (q.kind === 'label' && node.getAttribute('aria-label') !== q.label) wrong.push(q.key + ' aria-label');
          // Its groups, innermost first, as nested fieldsets with the groups' captions.
          const legends = [];
          for (let g = q.group; g >= 0; g = pageForm.groups[g].parent) legends.push(pageForm.groups[g].plain);
          const around = [];
          for (let f = (q.kind === 'selection' ? row.parentNode : row).closest('fieldset.group'); f; f = f.parentNode.closest('fieldset.group'))
            around.push(f.querySelector(':scope > legend').textContent);
          if (JSON.stringify(around) !== JSON.stringify(legends)) wrong.push(`${q.key} groups ${JSON.stringify(around)}`);
        }
      });
      if (all.length !== form.reduce((n, p) => n + p.questions.reduce((m, q) => m + (q.kind === 'selection' ? q.rows.length - 1 : 1), 0), 0))
        wrong.push('controls that are no question');
      return wrong;
    }, form);
    assert.deepStrictEqual(mismatches, []);
  });

  await check('every control is named for screen readers exactly as the engine says', chromiumOnly('the accessibility tree is read through CDP'), async () => {
    const wrong = [];
    const accessibleName = async (handle) => {
      const node = await desktop.page.accessibility.snapshot({ root: handle, interestingOnly: false });
      return node && node.name ? node.name : '';
    };
    for (const [p, pageForm] of form.entries()) {
      await desktop.click('#tab-' + p); // a page behind another tab is not in the tree
      for (const q of pageForm.questions) {
        const handle = await desktop.page.$(q.kind === 'selection' ? `fieldset[aria-label][id="q-${q.key.replace('/', '-')}"]` : `[name="${q.key}"]`);
        const name = await accessibleName(handle);
        if (name !== q.label) wrong.push(`${q.key}: "${name}" is not "${q.label}"`);
      }
    }
    for (const [selector, name] of [['#code', 'Code'], ['#open', 'Open Code'], ['#open-code', null]]) {
      const got = await accessibleName(await desktop.page.$(selector));
      if (name ? got !== name : !got) wrong.push(`${selector}: "${got}"`);
    }
    assert.deepStrictEqual(wrong, []);
  });

  await check('the random answer table holds every answer the settings keep, with the question table\'s ranges', async () => {
    const drawn = Object.keys(randomAnswers(table, 1));
    assert.deepStrictEqual([...drawn].sort(), storedKeys.filter((key) => !unstored.includes(key)).sort());
    assert.strictEqual(drawn.length, shared.settingsCount);
  });

  // The engine's own state for a code taken as pasted, from engine.js run in Node, its sentences with
  // those of the page being answered (the first unless said) first.
  const engineState = (code, current = 0) => {
    engine.ccall('glomie_read_code', 'number', ['string'], [code]);
    engine._glomie_take_pasted();
    const state = JSON.parse(engine.UTF8ToString(engine._glomie_state()));
    const here = (group) => group.lines.some((line) => line.page === current);
    state.sentences = [...state.sentences.filter(here), ...state.sentences.filter((group) => !here(group))];
    return state;
  };

  // Random answer sets through the form, each against the command line's code of its INI file; the
  // sentences the page shows after all those changes, one by one, are those the engine reads in it.
  const order = form.flatMap((pageForm) => pageForm.questions.map((q) => q.key));
  const seeds = engineName === 'chromium' ? 50 : 10;
  for (let seed = 1; seed <= seeds; seed += 1) {
    await check(`random answers ${seed} give glomiecode-cli's code`, async () => {
      const answers = randomAnswers(table, seed);
      const expected = cliCode(answers);
      await startOver(desktop);
      await setThroughForm(desktop, order.filter((key) => key in answers).map((key) => [key, answers[key]]));
      assert.strictEqual(await codeOf(desktop), expected);
      const current = await desktop.evaluate(() => Number(document.querySelector('[role=tab][aria-selected=true]').id.slice('tab-'.length)));
      assert.deepStrictEqual((await shownState(desktop, form)).sentences, engineState(expected, current).sentences);
      const kept = await keptOf(desktop);
      for (const [key, value] of Object.entries(answers)) assert.strictEqual(kept[key], value, key);
    });
  }

  const own = 'GlomieCode(1.12.05) SM:9+m-';
  await check('a friend\'s link is shown but leaves the person\'s own answers: a reload brings them back; made theirs, it is kept', async () => {
    await startOver(desktop);
    await setThroughForm(desktop, [['SM/Pri', 28], ['SM/GlomiePref', 1]]);
    assert.strictEqual(await codeOf(desktop), own);
    const keptBefore = await keptOf(desktop);
    for (const code of workedExamples.slice(1)) {
      await desktop.goto('about:blank');
      await desktop.goto(server.base + '#code=' + encodeURIComponent(code));
      assert.strictEqual(await codeOf(desktop), code);
      assert.strictEqual(await desktop.evaluate(() => location.hash), '');
      assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), false);
      assert.strictEqual(await desktop.$eval('#looking', (n) => n.hidden), false);
      const expected = engineState(code);
      assert.strictEqual(expected.code, code);
      assert.deepStrictEqual(await shownState(desktop, form), expected);
      // A change while looking is not kept either.
      await desktop.click('#tab-0');
      await desktop.focus('[name="SM/Pri"]');
      await desktop.press('End');
      assert.deepStrictEqual(await keptOf(desktop), keptBefore);
      await desktop.reload();
      assert.strictEqual(await codeOf(desktop), own, code);
      assert.strictEqual(await desktop.$eval('#looking', (n) => n.hidden), true);
    }
    // Back to My Answers, then a link made the person's own.
    await desktop.goto(server.base + '#code=' + encodeURIComponent(workedExamples[13]));
    await desktop.click('#back-to-mine');
    assert.strictEqual(await codeOf(desktop), own);
    await desktop.goto('about:blank');
    await desktop.goto(server.base + '#code=' + encodeURIComponent(workedExamples[13]));
    await desktop.click('#make-mine');
    assert.strictEqual(await desktop.$eval('#looking', (n) => n.hidden), true);
    assert.strictEqual(await codeOf(desktop), workedExamples[13]);
    await desktop.reload();
    assert.deepStrictEqual(await shownState(desktop, form), engineState(workedExamples[13]));
  });

  await check('with no answers kept yet, a link\'s code is taken at once, and a reload keeps it', async () => {
    await startOver(desktop);
    await desktop.evaluate(() => localStorage.clear());
    await desktop.goto('about:blank');
    await desktop.goto(server.base + '#code=' + encodeURIComponent(workedExamples[4]));
    assert.strictEqual(await desktop.$eval('#looking', (n) => n.hidden), true);
    assert.strictEqual(await codeOf(desktop), workedExamples[4]);
    await desktop.reload();
    assert.strictEqual(await codeOf(desktop), workedExamples[4]);
  });

  await check('a hand-typed link: a bare % is the character, %XX a byte, and a broken sequence no refusal', async () => {
    const rows = [
      ['GlomieCode(1.12.05)%20SM:5%20P:a23:x75%:r+|+', 'GlomieCode(1.12.05) SM:5 P:a23:x75%:r+|+'],
      ['GlomieCode(1.12.05)%20SM:5%20P:x100%', 'GlomieCode(1.12.05) SM:5 P:x100%'],
    ];
    for (const [raw, code] of rows) {
      await startOver(desktop);
      await desktop.evaluate(() => localStorage.clear());
      await desktop.goto('about:blank');
      await desktop.goto(server.base + '#code=' + raw);
      assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), false, raw);
      assert.strictEqual(await codeOf(desktop), code, raw);
    }
    assert.deepStrictEqual(await desktop.evaluate(() => [window.GlomieEncoder.addressText('a%E2%82%AC%'),
      window.GlomieEncoder.addressText('%E2%82 %zz%4'), window.GlomieEncoder.addressText('%F0%9F%98%80%')]), ['a€%', '\uFFFD %zz%4', '😀%']);
  });

  const damaged = 'GlomieCode(1.12.05) SM:6+m+ X:**:a999s';
  await check('a code with problems: listed, nothing changes while asked, Leave My Answers and Escape leave, Take shows it, Make This My Code keeps it', async () => {
    await startOver(desktop);
    await desktop.click('#tab-0');
    await desktop.focus('[name="SM/Pri"]');
    await desktop.press('End');
    const before = await codeOf(desktop);
    const keptBefore = await keptOf(desktop);
    assert.strictEqual(before, cliCode({ 'SM/Pri': 30 }));
    for (const how of ['leave', 'Escape', 'take']) {
      await desktop.$eval('#open-code', (box, text) => { box.value = 'Here: ' + text + ' (mine)'; }, damaged);
      await desktop.click('#open');
      assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), true);
      assert.strictEqual(await desktop.evaluate(() => document.activeElement.id), 'take');
      const lines = await desktop.evaluate(() => [...document.querySelectorAll('#problem-list li')].map((i) => i.textContent));
      assert.deepStrictEqual(lines, ['At position 33, " X:**:a999s": more than the page offers; the page takes it as " X:**:a200s"']);
      // The question is open: nothing has changed yet.
      assert.strictEqual(await codeOf(desktop), before);
      assert.deepStrictEqual(await keptOf(desktop), keptBefore);
      assert.strictEqual(await valueOf(desktop, 'SM/Pri'), '30');
      if (how === 'Escape') await desktop.press('Escape');
      else await desktop.click('#' + how);
      assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), false);
      assert.strictEqual(await desktop.evaluate(() => document.activeElement.id), 'open');
      if (how !== 'take') assert.strictEqual(await codeOf(desktop), before);
      assert.deepStrictEqual(await keptOf(desktop), keptBefore);
    }
    assert.strictEqual(await codeOf(desktop), 'GlomieCode(1.12.05) SM:6+m+ X:**:a200s');
    assert.strictEqual(await valueOf(desktop, 'Exp/Sub'), '200');
    await desktop.click('#make-mine');
    assert.strictEqual((await keptOf(desktop))['Exp/Sub'], 200);
  });

  await check('a code with problems in the address asks, and leaving changes nothing', async () => {
    await startOver(desktop);
    const before = await codeOf(desktop);
    await desktop.goto('about:blank');
    await desktop.goto(server.base + '#code=' + encodeURIComponent(damaged));
    assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), true);
    assert.strictEqual(await codeOf(desktop), before);
    await desktop.click('#leave');
    assert.strictEqual(await codeOf(desktop), before);
    assert.strictEqual(await desktop.evaluate(() => location.hash), '');
  });

  await check('a text with no code says so, with the header a code begins with', async () => {
    const before = await codeOf(desktop);
    await desktop.$eval('#open-code', (box) => { box.value = 'Glomie? Not here.'; });
    await desktop.click('#open');
    assert.strictEqual(await desktop.$eval('#open-note', (n) => n.textContent),
      'There is no Glomie Code in this text. A code begins with "' + engine.UTF8ToString(engine._glomie_header()) + '".');
    assert.strictEqual(await codeOf(desktop), before);
  });

  // The rules as the page shows them, after a user's clicks and keys: [what the user does, what
  // the page then shows].
  await check('the rules as shown: what opens, the tune clamps, the years, the description, numbers as the code counts them', async () => {
    await startOver(desktop);
    const shownOf = (key) => desktop.$eval(`[name="${key}"]`, (n) => [n.closest('.q').querySelector('.level').textContent, n.getAttribute('aria-valuetext')]);
    const steps = [
      [async () => desktop.click('#tab-0'), async () => {
        assert.strictEqual(await disabledOf(desktop, 'SM/Sec'), true);
        assert.deepStrictEqual(await shownOf('SM/Pri'), ['5', '5']);
      }],
      [async () => desktop.click('label[for="q-SM-ChkSec"]'), async () => assert.strictEqual(await disabledOf(desktop, 'SM/Sec'), false)],
      [async () => { await desktop.focus('[name="SM/Pri"]'); await desktop.press('ArrowRight'); },
        async () => assert.deepStrictEqual(await shownOf('SM/Pri'), ['5+', '5+'])],
      [async () => { await desktop.focus('[name="SM/Pri"]'); await desktop.press('Home'); },
        async () => assert.match(await desktop.$eval('.description', (n) => n.textContent), /\n\n/)],
      [async () => desktop.click('#tab-1'), async () => assert.strictEqual(await disabledOf(desktop, 'Fav/IntensitySenshi0'), true)],
      [async () => desktop.select('[name="Fav/Senshi0"]', '1'), async () => assert.strictEqual(await disabledOf(desktop, 'Fav/IntensitySenshi0'), false)],
      [async () => { await desktop.focus('[name="Fav/IntensitySenshi0"]'); await desktop.press('End'); },
        async () => assert.strictEqual(await valueOf(desktop, 'Fav/IntensitySenshi0'), '3')],
      // A tune past what its slider leaves is put back at once.
      [async () => typeInto(desktop, '[name="Fav/BoostSenshi0"]', '2'),
        async () => assert.strictEqual(await valueOf(desktop, 'Fav/BoostSenshi0'), '0')],
      [async () => desktop.click('#tab-5'), async () => assert.strictEqual(await desktop.$eval('#q-Exp-RawComplete', (f) => f.disabled), true)],
      [async () => desktop.click('label[for="q-Exp-ByNumbers"]'), async () => {
        assert.strictEqual(await desktop.$eval('#q-Exp-RawComplete', (f) => f.disabled), false);
        assert.strictEqual(await disabledOf(desktop, 'Exp/Raw'), true);
      }],
      [async () => typeInto(desktop, '[name="Exp/Years"]', '7'),
        async () => assert.strictEqual(await desktop.$eval('.years', (n) => n.textContent), '3+')],
      [async () => desktop.click('label[for="q-Exp-RawComplete-3"]'), async () => {
        assert.strictEqual((await keptOf(desktop))['Exp/RawComplete'], 4);
        assert.strictEqual(await disabledOf(desktop, 'Exp/IntensityRaw'), false);
        // At its bottom: no intensity, shown as the sentences count it.
        assert.deepStrictEqual(await shownOf('Exp/IntensityRaw'), ['0', '0']);
      }],
      // An upright slider: Up and Right raise it (towards its top, the minimum), Down and Left lower
      // it, Home goes to its strongest end, in every engine alike.
      ...[['ArrowUp', '3'], ['ArrowRight', '2'], ['ArrowDown', '3'], ['ArrowLeft', '4'], ['PageUp', '3'], ['Home', '0'], ['End', '4'], ['Home', '0']]
        .map(([key, value]) => [async () => { await desktop.focus('[name="Exp/IntensityRaw"]'); await desktop.press(key); },
          async () => assert.strictEqual(await valueOf(desktop, 'Exp/IntensityRaw'), value, key)]),
      [async () => undefined, async () => {
        assert.deepStrictEqual(await shownOf('Exp/IntensityRaw'), ['4', '4']);
        assert.match(await codeOf(desktop), /X:.*r\+\+\+\+/);
        // Upright, its minimum at the top.
        assert.deepStrictEqual(await desktop.$eval('[name="Exp/IntensityRaw"]', (n) => {
          const box = n.getBoundingClientRect();
          return [box.height > 2 * box.width];
        }), [true]);
      }],
      [async () => desktop.click('#tab-6'), async () => assert.strictEqual(await disabledOf(desktop, 'Op/WhatDub'), true)],
      [async () => desktop.click('label[for="q-Op-OmitDub"]'), async () => assert.strictEqual(await disabledOf(desktop, 'Op/WhatDub'), false)],
      [async () => desktop.click('label[for="q-Op-WhatDub"]'), async () => {
        assert.strictEqual(await disabledOf(desktop, 'Op/IntensityDub'), true);
        assert.strictEqual(await desktop.$eval('fieldset[data-group="DubGroup"]', (f) => f.disabled), false);
      }],
    ];
    for (const [act, expect] of steps) {
      await act();
      await expect();
    }
    assert.strictEqual(await codeOf(desktop), cliCode(stored(await keptOf(desktop))));
    // The sentences are those of the code, grouped under a heading each, the page's own first.
    const headings = await desktop.evaluate(() => [...document.querySelectorAll('#sentences h3')].map((n) => n.textContent));
    assert.ok(headings.length >= 2, headings.join());
    assert.strictEqual(headings[0], 'Opinions');
  });

  await check('an upright slider answers a click where it is clicked', async () => {
    await desktop.click('#tab-5');
    const value = await desktop.evaluate(() => {
      const node = document.querySelector('[name="Exp/IntensityRaw"]');
      node.scrollIntoView({ block: 'center' });
      return node.value;
    });
    assert.strictEqual(value, '0');
    // Near its top end the strongest, near its bottom the weakest.
    const box = await desktop.$eval('[name="Exp/IntensityRaw"]', (n) => { const r = n.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; });
    await desktop.clickAt(box[0] + box[2] / 2, box[1] + box[3] - 2);
    const bottom = await valueOf(desktop, 'Exp/IntensityRaw');
    await desktop.clickAt(box[0] + box[2] / 2, box[1] + 2);
    assert.deepStrictEqual([bottom, await valueOf(desktop, 'Exp/IntensityRaw')], ['4', '0']);
  });

  await check('a count out of range is coded at once and its problem shown beside it, as the engine words it', async () => {
    await startOver(desktop);
    await desktop.click('#tab-7');
    await desktop.click('label[for="q-Per-OmitAge"]');
    await desktop.click('label[for="q-Per-SpecifyExactAge"]');
    const box = '[name="Per/ExactAge"]';
    await typeInto(desktop, box, '250');
    assert.strictEqual((await keptOf(desktop))['Per/ExactAge'], 250);
    assert.strictEqual(await desktop.$eval('#q-Per-ExactAge-problem', (n) => n.textContent), 'Please enter an integer between 0 and 200.');
    assert.strictEqual(await desktop.$eval(box, (n) => n.getAttribute('aria-invalid')), 'true');
    assert.strictEqual(await desktop.$eval(box, (n) => n.getAttribute('aria-describedby')), 'q-Per-ExactAge-problem');
    await desktop.press('Backspace');
    assert.strictEqual((await keptOf(desktop))['Per/ExactAge'], 25);
    assert.strictEqual(await desktop.$eval(box, (n) => n.hasAttribute('aria-invalid')), false);
    assert.match(await codeOf(desktop), /P:a25/);
    // Digits only: a sign or an exponent is not taken.
    await typeInto(desktop, box, '-3e1');
    assert.strictEqual(await valueOf(desktop, 'Per/ExactAge'), '31');
    assert.match(await codeOf(desktop), /P:a31/);
    // Left blank, it reads and shows 0.
    await typeInto(desktop, box, '');
    await desktop.press('Backspace');
    assert.strictEqual(await desktop.$eval('#q-Per-ExactAge-problem', (n) => n.textContent), 'Please enter a positive integer.');
    await desktop.press('Tab');
    assert.strictEqual(await valueOf(desktop, 'Per/ExactAge'), '0');
    assert.strictEqual(await desktop.$eval('#q-Per-ExactAge-problem', (n) => n.textContent), '');
  });

  await check('answers are kept over a reload, and Start Over brings back the first answers', async () => {
    await desktop.click('#tab-0');
    await desktop.focus('[name="SM/Pri"]');
    await desktop.press('End');
    const code = await codeOf(desktop);
    // Kept when the page is left, though the browser was never idle.
    await desktop.reload();
    assert.strictEqual(await codeOf(desktop), code);
    await desktop.clickAndConfirm('#start-over', false);
    assert.strictEqual(await codeOf(desktop), code);
    await startOver(desktop);
    assert.strictEqual(await codeOf(desktop), defaultCode);
    assert.strictEqual(await keptOf(desktop), null);
    await desktop.reload();
    assert.strictEqual(await codeOf(desktop), defaultCode);
  });

  await check('kept answers that are damaged are passed over, and the page starts', async () => {
    // What a damaged or hostile store may hold, and the code the page then shows.
    const keptTable = [
      ['not JSON {', defaultCode],
      ['[1, 2, 3]', defaultCode],
      [JSON.stringify({ 'SM/Pri': 30, ['x'.repeat(300000)]: 1, 'SM/GlomiePref': '2', __proto__: 5, 'No/Such': 1 }),
        cliCode({ 'SM/Pri': 30 })],
      [JSON.stringify({ 'SM/Pri': 2 ** 40, 'SM/ChkSec': 1.5, 'SM/Sec': -(2 ** 31) }), defaultCode],
    ];
    for (const [kept, expected] of keptTable) {
      await desktop.evaluate((text) => localStorage.setItem('glomiecode.answers', text), kept);
      await desktop.reload();
      assert.strictEqual(await codeOf(desktop), expected, kept.slice(0, 60));
    }
    assert.deepStrictEqual(desktop.problems, []);
    await startOver(desktop);
  });

  await check('a paste of 1 MB is refused before the box holds it, answered within 100 ms', notFirefox('Firefox gives a paste event made by a script no text, and its driver cannot write the clipboard'), async () => {
    const pasted = await desktop.evaluate((code) => {
      const box = document.getElementById('open-code');
      box.value = '';
      const data = new DataTransfer();
      data.setData('text/plain', '\uFFFF'.repeat(1 << 20) + code);
      const start = performance.now();
      const taken = box.dispatchEvent(new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
      return { taken, took: performance.now() - start, box: box.value.length, note: document.getElementById('open-note').textContent };
    }, workedExamples[1]);
    assert.deepStrictEqual([pasted.taken, pasted.box], [false, 0]);
    assert.match(pasted.note, /longer than 64 KB/);
    assert.ok(pasted.took < 100, `answered in ${pasted.took} ms`);
  });

  await check('a text past 64 KB in the box or in the address is refused with a word, and nothing changes; one within is read', async () => {
    const before = await codeOf(desktop);
    // A text already in the box, and an address.
    await desktop.$eval('#open-code', (box, code) => { box.value = 'x'.repeat(70000) + code; }, workedExamples[1]);
    await desktop.click('#open');
    assert.match(await desktop.$eval('#open-note', (n) => n.textContent), /longer than 64 KB/);
    await desktop.goto(server.base + '#code=' + encodeURIComponent('GlomieCode(1.12.05) SM:5 F:' + '\uFFFF'.repeat(30000)));
    assert.match(await desktop.$eval('#status', (n) => n.textContent), /longer than 64 KB/);
    assert.strictEqual(await codeOf(desktop), before);
    // Just within the bound, read and answered.
    await desktop.$eval('#open-code', (box, code) => { box.value = code + ' ' + '\uFFFF'.repeat(21000); }, workedExamples[1]);
    await desktop.click('#open');
    assert.match(await desktop.$eval('#open-note', (n) => n.textContent), /opened/);
    await desktop.$eval('#open-code', (box) => { box.value = ''; });
    await startOver(desktop);
  });

  await check('Share links to the page with the code', async () => {
    await desktop.click('#tab-0');
    await desktop.focus('[name="SM/Pri"]');
    await desktop.press('End');
    const code = await codeOf(desktop);
    assert.strictEqual(await desktop.$eval('#share', (a) => a.href), server.base + '#code=' + encodeURIComponent(code));
  });

  await check('Copy copies the code', chromiumOnly('the clipboard is reached through CDP\'s permissions'), async () => {
    const code = await codeOf(desktop);
    await browser.puppeteer.defaultBrowserContext().overridePermissions(server.base.slice(0, -1), ['clipboard-read', 'clipboard-sanitized-write']);
    await desktop.click('#copy');
    await desktop.waitFor(() => document.getElementById('status').textContent === 'Copied.');
    assert.strictEqual(await desktop.evaluate(() => navigator.clipboard.readText()), code);
  });

  await check('the tabs: one page shown, arrows, Home and End move between them, all in one row at 1280 px', async () => {
    await desktop.click('#tab-0');
    const keys = [['ArrowRight', 1], ['ArrowRight', 2], ['End', 9], ['ArrowRight', 0], ['ArrowLeft', 9], ['Home', 0]];
    for (const [key, index] of keys) {
      await desktop.press(key);
      const shown = await desktop.evaluate(() => ({
        focused: document.activeElement.id,
        selected: [...document.querySelectorAll('[role=tab][aria-selected=true]')].map((t) => t.id),
        visible: [...document.querySelectorAll('.page')].filter((p) => p.offsetHeight > 0).map((p) => p.id),
        labelled: document.getElementById('page-0').getAttribute('aria-labelledby'),
      }));
      assert.deepStrictEqual(shown, { focused: `tab-${index}`, selected: [`tab-${index}`], visible: [`page-${index}`], labelled: 'tab-0' });
    }
    assert.strictEqual(await desktop.evaluate(() => new Set([...document.querySelectorAll('[role=tab]')].map((t) => t.getBoundingClientRect().top)).size), 1);
  });

  await check('the Help button opens the desktop\'s help, with the code\'s symbols, and Escape closes it', async () => {
    await desktop.click('#help-button');
    const help = await desktop.evaluate(() => [document.getElementById('help').open, document.getElementById('help-text').textContent]);
    assert.strictEqual(help[0], true);
    const desktopHelp = fs.readFileSync(path.join(root, 'res', 'glomiecode.txt'), 'utf8');
    for (const part of ['READING THE CODE', 'the longer the run', 'GlomieCode(1.12.05) SM:5m-'])
      assert.ok(help[1].includes(part) && desktopHelp.includes(part), part);
    await desktop.press('Escape');
    assert.deepStrictEqual(await desktop.evaluate(() => [document.getElementById('help').open, document.activeElement.id]), [false, 'help-button']);
  });

  await check('axe-core finds no WCAG 2.1 A or AA violation on any page of the wide layout, nor with the question open', async () => {
    const violations = [];
    for (let tab = 0; tab < form.length; tab += 1) {
      await desktop.click('#tab-' + tab);
      violations.push(...(await runAxe(desktop)).map((v) => `page ${tab}: ${v}`));
    }
    await desktop.$eval('#open-code', (box, text) => { box.value = text; }, damaged);
    await desktop.click('#open');
    violations.push(...(await runAxe(desktop)).map((v) => `question: ${v}`));
    await desktop.click('#leave');
    assert.deepStrictEqual(violations, []);
  });

  await check('nothing is requested after the page has loaded', async () => {
    assert.deepStrictEqual(desktop.problems, []);
    // The later loads of this page in the checks asked for the same few files again, and nothing else.
    assert.deepStrictEqual(server.requests.slice(loadRequests).filter((url) => !ownFile(url)), []);
    const before = server.requests.length;
    await desktop.click('#tab-2');
    await desktop.select('[name="Fav/Assist0"]', '3');
    await desktop.$eval('#open-code', (box) => { box.value = 'GlomieCode(1.12.05) SM:7'; });
    await desktop.click('#open');
    assert.strictEqual(server.requests.length, before);
  });

  await desktop.close();
  const phone = await browser.open(server.base, { width: 390, height: 844, isMobile: true, hasTouch: true });
  await check('at 390 px: the pages one below the other, no sideways scrolling, controls 44 px high', async () => {
    await startOver(phone);
    const layout = await phone.evaluate(() => {
      const pages = [...document.querySelectorAll('.page')].map((p) => p.getBoundingClientRect());
      const small = [...document.querySelectorAll('select, input[type=number], input[type=range], button, .button, .q.check, .choice')]
        .filter((n) => n.offsetParent !== null && n.getBoundingClientRect().height < 44)
        .map((n) => n.name || n.id || n.className);
      return {
        tabs: document.querySelector('[role=tablist]').offsetHeight,
        heights: pages.filter((r) => r.height === 0).length,
        stacked: pages.every((r, i) => i === 0 || r.top >= pages[i - 1].bottom - 1),
        roles: document.querySelectorAll('[role=tabpanel]').length,
        scroll: document.documentElement.scrollWidth - document.documentElement.clientWidth,
        small,
      };
    });
    assert.deepStrictEqual(layout, { tabs: 0, heights: 0, stacked: true, roles: 0, scroll: 0, small: [] });
  });

  await check('at 390 px, halfway down, the code is in sight and follows every change; the bar goes to the code and back', async () => {
    const seen = await phone.evaluate(() => {
      window.scrollTo(0, document.documentElement.scrollHeight / 2);
      const bar = document.getElementById('bar-code').getBoundingClientRect();
      return { inSight: bar.top >= 0 && bar.bottom <= window.innerHeight && bar.height > 0, code: document.getElementById('bar-code').textContent };
    });
    assert.deepStrictEqual(seen, { inSight: true, code: defaultCode });
    // A question halfway down, answered: the bar shows the new code.
    const key = await phone.evaluate(() => {
      const half = document.documentElement.scrollHeight / 2;
      const question = [...document.querySelectorAll('.page input[type=checkbox]:not(:disabled)')]
        .find((n) => n.getBoundingClientRect().top + window.scrollY > half);
      if (!question) return null;
      question.scrollIntoView({ block: 'center' });
      return question.id;
    });
    assert.ok(key, 'a check box in sight');
    await phone.click(`label[for="${key}"]`);
    const after = await phone.evaluate(() => [document.getElementById('bar-code').textContent, document.getElementById('code').value]);
    assert.strictEqual(after[0], after[1]);
    assert.notStrictEqual(after[0], defaultCode);
    const scroll = await phone.evaluate(() => window.scrollY);
    await phone.click('#to-code');
    assert.ok(await phone.evaluate(() => {
      const box = document.getElementById('code').getBoundingClientRect();
      return box.top >= 0 && box.top < window.innerHeight;
    }));
    await phone.click('#back-to-question');
    assert.ok(Math.abs(await phone.evaluate(() => window.scrollY) - scroll) < 2);
    assert.strictEqual(await phone.evaluate(() => document.activeElement.id), key);
  });

  await check('axe-core finds no WCAG 2.1 A or AA violation at 390 px', async () => {
    assert.deepStrictEqual(await runAxe(phone), []);
    assert.deepStrictEqual(phone.problems, []);
  });
  await phone.close();

  await check('dark mode follows the system, and keeps WCAG AA contrast (axe-core)', notWebKit('WebKitWebDriver cannot emulate the colour scheme'), async () => {
    // Firefox takes the scheme as a preference of its own, in a browser of its own.
    const darkBrowser = engineName === 'firefox' ? await launch(engineName, { dark: true }) : browser;
    const dark = await darkBrowser.open(null);
    if (engineName === 'chromium') await dark.page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
    await dark.goto(server.base);
    assert.strictEqual(await dark.evaluate(() => getComputedStyle(document.body).backgroundColor), 'rgb(23, 23, 28)');
    const violations = [];
    for (const tab of [0, 1, 5, 7]) {
      await dark.click('#tab-' + tab);
      violations.push(...(await runAxe(dark)).map((v) => `page ${tab}: ${v}`));
    }
    assert.deepStrictEqual(violations, []);
    await dark.close();
    if (darkBrowser !== browser) await darkBrowser.close();
  });

  await check('opened from its folder (file://), the page works', async () => {
    const page = await browser.open('file://' + path.join(site, 'index.html'));
    await page.focus('[name="SM/Pri"]');
    await page.press('Home');
    assert.strictEqual(await codeOf(page), cliCode({ 'SM/Pri': 0 }));
    await startOver(page);
    await page.goto('about:blank');
    await page.goto('file://' + path.join(site, 'index.html') + '#code=' + encodeURIComponent(workedExamples[13]));
    assert.strictEqual(await codeOf(page), workedExamples[13]);
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });

  await check('served over http: the manifest with its icon, the module as its own file, and offline once opened', notWebKit('WebKitWebDriver cannot take the page offline'), async () => {
    const manifest = JSON.parse(fs.readFileSync(path.join(site, 'manifest.webmanifest'), 'utf8'));
    assert.strictEqual(manifest.name, 'Glomie Code Encoder');
    assert.ok(manifest.icons.every((icon) => fs.existsSync(path.join(site, icon.src))));
    const page = await browser.open(server.base);
    await startOver(page);
    // The module's own file, not the single file the page falls back on when that cannot start.
    assert.deepStrictEqual(await page.evaluate(() => typeof WebAssembly === 'object' &&
      [...document.scripts].map((s) => s.src.replace(/^.*\//, '')).filter((name) => name.startsWith('engine'))), ['engine-served.js']);
    await page.waitFor(() => navigator.serviceWorker && navigator.serviceWorker.controller !== null);
    // Offline: every file from what the worker kept.
    server.offline = true;
    await page.reload();
    await page.focus('[name="SM/Pri"]');
    await page.press('Home');
    assert.strictEqual(await codeOf(page), cliCode({ 'SM/Pri': 0 }));
    server.offline = false;
    await page.evaluate(async () => {
      for (const registration of await navigator.serviceWorker.getRegistrations()) await registration.unregister();
      for (const name of await caches.keys()) await caches.delete(name);
    });
    await page.close();
  });

  // The page's size is a property of what is built; its times are measured by bench/web/budgets.js.
  await check('size: all the page loads stays within 150 KB compressed', chromiumOnly('response bodies are read through CDP'), async () => {
    const { compressed } = await budgets.measureBytes(browser.puppeteer, server.base);
    assert.ok(compressed <= 150 * 1024, `${compressed} bytes`);
  });

  await browser.close();
}

// GLOMIE_CHECKS: a pattern of the names of the checks to run (all when unset).
const chosen = process.env.GLOMIE_CHECKS ? new RegExp(process.env.GLOMIE_CHECKS) : null;

// The site's own files, as the page asks for them.
const ownFile = (url) => /^\/(index\.html)?$|^\/[a-z-]+\.(js|css|wasm|svg|webmanifest)$/.test(url);

async function main() {
  const engines = process.argv.slice(2).length ? process.argv.slice(2) : ['chromium', 'firefox', 'webkit'];
  const engine = await require(path.join(site, 'engine.js'))();
  // The glue's own handlers would print all of engine.js with any later error.
  process.removeAllListeners('uncaughtException');
  process.removeAllListeners('unhandledRejection');
  const form = JSON.parse(engine.UTF8ToString(engine._glomie_form()));
  const storedKeys = Object.keys(JSON.parse(engine.UTF8ToString(engine._glomie_answers())));
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'glomie-web-check-'));
  // The command line's code for answers in an INI file, and the settings table's count.
  let files = 0;
  const cliCode = (answers) => {
    const file = path.join(work, `answers-${(files += 1)}.ini`);
    fs.writeFileSync(file, iniOf(answers));
    return execFileSync(cli, ['code', '--settings', file], { encoding: 'utf8' }).trim();
  };
  const settingsCount = storedKeys.length - unstored.length;
  const results = { passed: 0, failed: 0, skipped: [] };
  // The engines side by side, each with a server of its own, whose requests are its page's alone.
  const checkOne = async (name) => {
    const server = await serveSite();
    const counted = { passed: 0, failed: 0, skipped: results.skipped };
    const started = Date.now();
    try {
      await checkEngine(name, { engine, form, storedKeys, server, cliCode, work, settingsCount }, counted);
    } catch (error) {
      counted.failed += 1;
      console.error(`FAILED [${name}] the engine could not be driven\n  ${String(error && error.stack || error).split('\n').slice(0, 8).join('\n  ')}`);
    } finally {
      server.close();
    }
    results.passed += counted.passed;
    results.failed += counted.failed;
    console.log(`web check: ${name}: ${counted.passed + counted.failed} checks in ${((Date.now() - started) / 1000).toFixed(0)} s`);
  };
  try {
    await Promise.all(engines.map(checkOne));
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
  for (const skipped of results.skipped) console.log('not run in ' + skipped);
  console.log(`web check: ${results.passed} passed, ${results.failed} failed`);
  process.exitCode = results.failed === 0 ? 0 : 1;
}

main().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
