// SPDX-License-Identifier: MIT
// The encoder's page in Debian's Chromium, served from loopback and opened from its folder: the
// form against the engine's questions, random answers against glomiecode-cli, the worked examples
// through the page's address, a code with problems taken and left, the rules as shown, count boxes,
// kept answers, the tabs, a phone's width, axe-core's WCAG 2.1 A and AA rules, and the size it loads.
// Usage: node check.js   (build/web and the CLI built first; GLOMIE_CLI names another CLI)
'use strict';
const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { root, site, serveSite, launchChromium, openPage } = require('./harness');
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
// Random answers as the pages let a user enter them (the ranges of tests/engine/RandomAnswers.cpp),
// stored answers only: [key, low, high], or a level and its tune: ['tune', key, tuneKey, low,
// high, floor], or an upright slider and its tune: ['upright', key, tuneKey, maximum].

function answerTable() {
  const rows = [['SM/Pri', 0, 30], ['SM/Sec', 0, 30], ['SM/ChkSec', 0, 1], ['SM/GlomiePref', 0, 2]];
  for (const side of ['Fav', 'Dis'])
    for (const [slot, last] of [['Senshi0', 18], ['Senshi1', 18], ['Villian0', 53], ['Villian1', 53],
      ['Assist0', 23], ['Assist1', 23], ['Part0', 9], ['Part1', 9]])
      rows.push([`${side}/${slot}`, 0, last], [`${side}/Trend${slot}`, 0, 2],
        ['tune', `${side}/Intensity${slot}`, `${side}/Boost${slot}`, 0, 3, 0]);
  rows.push(['Exp/Years', 0, 100], ['Exp/ByNumbers', 0, 1]);
  for (const form of ['Raw', 'Sub', 'Dub']) {
    rows.push([`Exp/${form}`, 0, 200], [`Exp/${form}Complete`, 0, 511], [`Exp/${form}Partial`, 0, 511]);
    rows.push(['upright', `Exp/Intensity${form}`, `Exp/Boost${form}`, 4]);
  }
  rows.push(['Exp/MangaRaw', 0, 200], ['Exp/MangaSub', 0, 200]);
  for (const flag of ['AmericanCartoon', 'WhatDub', 'NoOpDub', 'NoOpAnti', 'NoOpHentai', 'NoOpMixx', 'NoOpOw',
    'NoOpSos', 'Bitter', 'WhatMixx', 'WhatSos', 'OmitDub', 'Member', 'OmitAnti', 'OmitHentai', 'OmitMixx', 'OmitOw',
    'OmitSos', 'WhatOw'])
    rows.push([`Op/${flag}`, 0, 1]);
  for (const [topic, low, high, floor] of [['Dub', -2, 2, -4], ['Sos', -2, 3, -5], ['Ow', -2, 3, -5],
    ['Anti', -2, 3, -5], ['Hentai', -3, 3, -6], ['Mixx', -2, 3, -5]])
    rows.push(['tune', `Op/Intensity${topic}`, `Op/Boost${topic}`, low, high, floor]);
  for (const flag of ['SpecifyExactAge', 'SpecifyExactWeight', 'SpecifyExactStature', 'OmitAge', 'OmitStature',
    'OmitEyes', 'OmitWeight', 'OmitFat', 'Same', 'Glasses', 'Contacts', 'Beard', 'Moustache', 'OmitBloodType',
    'OmitGroup', 'OmitHair', 'OmitTone', 'OmitGender', 'OmitRelationship', 'OmitSign', 'UsePurity', 'NoTellKink'])
    rows.push([`Per/${flag}`, 0, 1]);
  rows.push(['Per/ExactAge', 0, 200], ['Per/ExactWeight', 0, 500], ['Per/ExactStatureFt', 0, 10],
    ['Per/ExactStatureIn', 0, 11]);
  for (const side of ['Left', 'Right'])
    for (const n of [0, 1, 2]) rows.push([`Per/Color${side}${n}`, 0, 6], [`Per/ColorAdj${side}${n}`, 0, 2]);
  for (const [trait, low, high, floor] of [['Age', -3, 4, -7], ['Stature', -3, 3, -6], ['Weight', -3, 3, -6],
    ['Fat', -3, 3, -6], ['Hair', -3, 4, -7], ['Tone', -2, 2, -4], ['Kink', -3, 3, -6]])
    rows.push(['tune', `Per/${trait}`, `Per/Boost${trait}`, low, high, floor]);
  rows.push(['Per/HairColor', 0, 9], ['Per/HairColorAdj', 0, 2], ['Per/BloodType', 0, 3], ['Per/BloodTypeSign', 0, 2],
    ['Per/Group', 0, 511], ['Per/Gender', 0, 2], ['Per/Sign', 0, 11], ['Per/KinkMembership', 0, 3],
    ['Per/Purity', 0, 500]);
  // A preference or status row plus its tune stays within the rows 0..2.
  rows.push(['tune', 'Per/Preference', 'Per/BoostPreference', 0, 2, -2], ['tune', 'Per/Status', 'Per/BoostStatus', 0, 2, -2]);
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

function randomAnswers(seed) {
  const between = seeded(seed);
  // The ends of a range are drawn more often than the middle.
  const pick = (low, high) => {
    const draw = between(0, 7);
    return draw < 2 ? low : draw === 2 ? high : between(low, high);
  };
  const answers = {};
  for (const row of answerTable()) {
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
    sentences: [...document.querySelectorAll('#sentences section')].map((section) => ({
      title: section.querySelector('h3').textContent,
      lines: [...section.querySelectorAll('li')].map((li) => ({ text: li.textContent, ambiguous: li.classList.contains('ambiguous') })),
    })),
  }), form);
}

const codeOf = (page) => page.$eval('#code', (node) => node.value);
const keptOf = (page) => page.evaluate(() => JSON.parse(localStorage.getItem('glomiecode.answers') || 'null'));
const valueOf = (page, key) => page.$eval(`[name="${key}"]`, (node) => node.value);
const disabledOf = (page, key) => page.$eval(`[name="${key}"]`, (node) => node.matches(':disabled'));

async function startOver(page) {
  const accept = (dialog) => dialog.accept();
  page.once('dialog', accept);
  await page.click('#start-over');
}

// The accessible name Chromium gives a node.
async function accessibleName(page, handle) {
  const node = await page.accessibility.snapshot({ root: handle, interestingOnly: false });
  return node && node.name ? node.name : '';
}

async function runAxe(page) {
  await page.evaluate(fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8'));
  return page.evaluate(async () => {
    const result = await window.axe.run(document, {
      runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] },
    });
    return result.violations.map((v) => `${v.id}: ${v.help} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`);
  });
}

// ---------------------------------------------------------------------------------------------

async function main() {
  const results = { passed: 0, failed: 0 };
  async function check(name, body) {
    try {
      await body();
      results.passed += 1;
    } catch (error) {
      results.failed += 1;
      console.error(`FAILED ${name}\n  ${String(error && error.stack || error).split('\n').slice(0, 6).join('\n  ')}`);
    }
  }

  const engine = await require(path.join(site, 'engine.js'))();
  // The glue's own handlers would print all of engine.js with any later error.
  process.removeAllListeners('uncaughtException');
  process.removeAllListeners('unhandledRejection');
  const form = JSON.parse(engine.UTF8ToString(engine._glomie_form()));
  const storedKeys = Object.keys(JSON.parse(engine.UTF8ToString(engine._glomie_answers())));
  const server = await serveSite();
  const browser = await launchChromium();
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'glomie-web-check-'));
  const desktop = await openPage(browser, server.base);
  const loadRequests = server.requests.length;

  await check('the page loads its files only from its own folder, with its policy, no inline script or style', async () => {
    const html = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
    assert.match(html, /<meta http-equiv="Content-Security-Policy" content="default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self' data:; connect-src 'none'; base-uri 'none'; form-action 'none'">/);
    assert.doesNotMatch(html, /<script(?![^>]*\bsrc=)[^>]*>/, 'an inline script');
    assert.doesNotMatch(html, /<style|\sstyle=/, 'an inline style');
    assert.doesNotMatch(html, /type="module"/);
    assert.deepStrictEqual(server.requests.filter((url) => !/^\/(index\.html)?$|^\/[a-z]+\.(js|css)$/.test(url)), []);
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

  await check('every control is named for screen readers exactly as the engine says', async () => {
    const wrong = [];
    for (const [p, pageForm] of form.entries()) {
      await desktop.click('#tab-' + p); // a page behind another tab is not in the tree
      for (const q of pageForm.questions) {
        const handle = await desktop.$(q.kind === 'selection' ? `fieldset[aria-label][id="q-${q.key.replace('/', '-')}"]` : `[name="${q.key}"]`);
        const name = await accessibleName(desktop, handle);
        if (name !== q.label) wrong.push(`${q.key}: "${name}" is not "${q.label}"`);
      }
    }
    for (const [selector, name] of [['#code', 'Code'], ['#open', 'Open Code'], ['#open-code', null]]) {
      const got = await accessibleName(desktop, await desktop.$(selector));
      if (name ? got !== name : !got) wrong.push(`${selector}: "${got}"`);
    }
    assert.deepStrictEqual(wrong, []);
  });

  await check('the random answer table holds every answer the settings keep', async () => {
    const drawn = Object.keys(randomAnswers(1));
    assert.deepStrictEqual([...drawn].sort(), storedKeys.filter((key) => !unstored.includes(key)).sort());
    assert.strictEqual(drawn.length, 183);
  });

  // 50 random answer sets through the form, each against the command line's code of its INI file.
  let files = 0;
  // The command line's code for answers in an INI file.
  const cliCode = (answers) => {
    const file = path.join(work, `answers-${(files += 1)}.ini`);
    fs.writeFileSync(file, iniOf(answers));
    return execFileSync(cli, ['code', '--settings', file], { encoding: 'utf8' }).trim();
  };
  const stored = (answers) => Object.fromEntries(Object.entries(answers).filter(([key]) => !unstored.includes(key)));
  const order = form.flatMap((pageForm) => pageForm.questions.map((q) => q.key));
  for (let seed = 1; seed <= 50; seed += 1) {
    await check(`random answers ${seed} give glomiecode-cli's code`, async () => {
      const answers = randomAnswers(seed);
      const expected = cliCode(answers);
      await startOver(desktop);
      await setThroughForm(desktop, order.filter((key) => key in answers).map((key) => [key, answers[key]]));
      assert.strictEqual(await codeOf(desktop), expected);
      const kept = await keptOf(desktop);
      for (const [key, value] of Object.entries(answers)) assert.strictEqual(kept[key], value, key);
    });
  }

  // The engine's own state for a code taken as pasted, from engine.js run in Node.
  const engineState = (code) => {
    engine.ccall('glomie_read_code', 'number', ['string'], [code]);
    engine._glomie_take_pasted();
    return JSON.parse(engine.UTF8ToString(engine._glomie_state()));
  };
  for (const code of workedExamples) {
    await check(`${code} opened through the address comes back exactly, every control as the engine says`, async () => {
      await desktop.goto('about:blank');
      await desktop.goto(server.base + '#code=' + encodeURIComponent(code));
      await desktop.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
      assert.strictEqual(await codeOf(desktop), code);
      assert.strictEqual(await desktop.evaluate(() => location.hash), '');
      assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), false);
      const expected = engineState(code);
      assert.strictEqual(expected.code, code);
      assert.deepStrictEqual(await shownState(desktop, form), expected);
      // Kept: a reload shows it again, and asks nothing.
      await desktop.reload();
      await desktop.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
      assert.deepStrictEqual(await shownState(desktop, form), expected);
    });
  }

  const damaged = 'GlomieCode(1.12.05) SM:6+m+ X:**:a999s';
  await check('a code with problems: listed, nothing changes while asked, Leave My Answers and Escape leave, Take takes', async () => {
    await startOver(desktop);
    await desktop.click('#tab-0');
    await desktop.focus('[name="SM/Pri"]');
    await desktop.keyboard.press('End');
    const before = await codeOf(desktop);
    const keptBefore = await keptOf(desktop);
    assert.strictEqual(before, cliCode({ 'SM/Pri': 30 }));
    for (const how of ['leave', 'Escape', 'take']) {
      await desktop.$eval('#open-code', (box, text) => { box.value = 'Here: ' + text + ' (mine)'; }, damaged);
      await desktop.click('#open');
      assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), true);
      assert.strictEqual(await desktop.evaluate(() => document.activeElement.id), 'take');
      const lines = await desktop.$$eval('#problem-list li', (items) => items.map((i) => i.textContent));
      assert.deepStrictEqual(lines, ['At position 33, " X:**:a999s": more than the page offers; the page takes it as " X:**:a200s"']);
      // The question is open: nothing has changed yet.
      assert.strictEqual(await codeOf(desktop), before);
      assert.deepStrictEqual(await keptOf(desktop), keptBefore);
      assert.strictEqual(await valueOf(desktop, 'SM/Pri'), '30');
      if (how === 'Escape') await desktop.keyboard.press('Escape');
      else await desktop.click('#' + how);
      assert.strictEqual(await desktop.$eval('#problems', (d) => d.open), false);
      assert.strictEqual(await desktop.evaluate(() => document.activeElement.id), 'open');
      if (how !== 'take') {
        assert.strictEqual(await codeOf(desktop), before);
        assert.deepStrictEqual(await keptOf(desktop), keptBefore);
      }
    }
    assert.strictEqual(await codeOf(desktop), 'GlomieCode(1.12.05) SM:6+m+ X:**:a200s');
    assert.strictEqual(await valueOf(desktop, 'Exp/Sub'), '200');
  });

  await check('a code with problems in the address asks, and leaving changes nothing', async () => {
    await startOver(desktop);
    const before = await codeOf(desktop);
    await desktop.goto('about:blank');
    await desktop.goto(server.base + '#code=' + encodeURIComponent(damaged));
    await desktop.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
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
  await check('the rules as shown: what opens, the tune clamps, the years, the description', async () => {
    await startOver(desktop);
    const steps = [
      [async () => desktop.click('#tab-0'), async () => assert.strictEqual(await disabledOf(desktop, 'SM/Sec'), true)],
      [async () => desktop.click('label[for="q-SM-ChkSec"]'), async () => assert.strictEqual(await disabledOf(desktop, 'SM/Sec'), false)],
      [async () => { await desktop.focus('[name="SM/Pri"]'); await desktop.keyboard.press('Home'); },
        async () => assert.match(await desktop.$eval('.description', (n) => n.textContent), /\n\n/)],
      [async () => desktop.click('#tab-1'), async () => assert.strictEqual(await disabledOf(desktop, 'Fav/IntensitySenshi0'), true)],
      [async () => desktop.select('[name="Fav/Senshi0"]', '1'), async () => assert.strictEqual(await disabledOf(desktop, 'Fav/IntensitySenshi0'), false)],
      [async () => { await desktop.focus('[name="Fav/IntensitySenshi0"]'); await desktop.keyboard.press('End'); },
        async () => assert.strictEqual(await valueOf(desktop, 'Fav/IntensitySenshi0'), '3')],
      // A tune past what its slider leaves is put back at once.
      [async () => { await desktop.click('[name="Fav/BoostSenshi0"]', { clickCount: 3 }); await desktop.keyboard.type('2'); },
        async () => assert.strictEqual(await valueOf(desktop, 'Fav/BoostSenshi0'), '0')],
      [async () => desktop.click('#tab-5'), async () => assert.strictEqual(await desktop.$eval('#q-Exp-RawComplete', (f) => f.disabled), true)],
      [async () => desktop.click('label[for="q-Exp-ByNumbers"]'), async () => {
        assert.strictEqual(await desktop.$eval('#q-Exp-RawComplete', (f) => f.disabled), false);
        assert.strictEqual(await disabledOf(desktop, 'Exp/Raw'), true);
      }],
      [async () => { await desktop.click('[name="Exp/Years"]', { clickCount: 3 }); await desktop.keyboard.type('7'); },
        async () => assert.strictEqual(await desktop.$eval('.years', (n) => n.textContent), '3+')],
      [async () => desktop.click('label[for="q-Exp-RawComplete-3"]'), async () => {
        assert.strictEqual((await keptOf(desktop))['Exp/RawComplete'], 4);
        assert.strictEqual(await disabledOf(desktop, 'Exp/IntensityRaw'), false);
      }],
      // An upright slider: Home goes to its strongest end, the minimum; the tune is then free.
      [async () => { await desktop.focus('[name="Exp/IntensityRaw"]'); await desktop.keyboard.press('Home'); },
        async () => {
          assert.strictEqual(await valueOf(desktop, 'Exp/IntensityRaw'), '0');
          // Upright, its minimum at the top.
          assert.deepStrictEqual(await desktop.$eval('[name="Exp/IntensityRaw"]', (n) => {
            const box = n.getBoundingClientRect();
            const style = getComputedStyle(n);
            return [box.height > 2 * box.width, style.writingMode, style.direction];
          }), [true, 'vertical-lr', 'ltr']);
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
    // The sentences are those of the code, grouped under a heading each.
    const headings = await desktop.$$eval('#sentences h3', (h) => h.map((n) => n.textContent));
    assert.ok(headings.length >= 2, headings.join());
  });

  await check('a count out of range is coded at once and its problem shown beside it, as the engine words it', async () => {
    await startOver(desktop);
    await desktop.click('#tab-7');
    await desktop.click('label[for="q-Per-OmitAge"]');
    await desktop.click('label[for="q-Per-SpecifyExactAge"]');
    const box = '[name="Per/ExactAge"]';
    await desktop.click(box, { clickCount: 3 });
    await desktop.keyboard.type('250');
    assert.strictEqual((await keptOf(desktop))['Per/ExactAge'], 250);
    assert.strictEqual(await desktop.$eval('#q-Per-ExactAge-problem', (n) => n.textContent), 'Please enter an integer between 0 and 200.');
    assert.strictEqual(await desktop.$eval(box, (n) => n.getAttribute('aria-invalid')), 'true');
    assert.strictEqual(await desktop.$eval(box, (n) => n.getAttribute('aria-describedby')), 'q-Per-ExactAge-problem');
    await desktop.keyboard.press('Backspace');
    assert.strictEqual((await keptOf(desktop))['Per/ExactAge'], 25);
    assert.strictEqual(await desktop.$eval(box, (n) => n.hasAttribute('aria-invalid')), false);
    assert.match(await codeOf(desktop), /P:a25/);
    // Digits only: a sign or an exponent is not taken.
    await desktop.click(box, { clickCount: 3 });
    await desktop.keyboard.type('-3e1');
    assert.strictEqual(await valueOf(desktop, 'Per/ExactAge'), '31');
    assert.match(await codeOf(desktop), /P:a31/);
    // Left blank, it reads and shows 0.
    await desktop.click(box, { clickCount: 3 });
    await desktop.keyboard.press('Backspace');
    assert.strictEqual(await desktop.$eval('#q-Per-ExactAge-problem', (n) => n.textContent), 'Please enter a positive integer.');
    await desktop.keyboard.press('Tab');
    assert.strictEqual(await valueOf(desktop, 'Per/ExactAge'), '0');
    assert.strictEqual(await desktop.$eval('#q-Per-ExactAge-problem', (n) => n.textContent), '');
  });

  await check('answers are kept over a reload, and Start Over brings back the first answers', async () => {
    await desktop.click('#tab-0');
    await desktop.focus('[name="SM/Pri"]');
    await desktop.keyboard.press('End');
    const code = await codeOf(desktop);
    await desktop.reload();
    await desktop.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
    assert.strictEqual(await codeOf(desktop), code);
    desktop.once('dialog', (dialog) => dialog.dismiss());
    await desktop.click('#start-over');
    assert.strictEqual(await codeOf(desktop), code);
    await startOver(desktop);
    assert.strictEqual(await codeOf(desktop), defaultCode);
    assert.strictEqual(await keptOf(desktop), null);
    await desktop.reload();
    await desktop.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
    assert.strictEqual(await codeOf(desktop), defaultCode);
  });

  await check('kept answers that are damaged are passed over, and the page starts', async () => {
    // What a damaged or hostile store may hold, and the code the page then shows.
    const keptTable = [
      ['not JSON {', defaultCode],
      ['[1, 2, 3]', defaultCode],
      [JSON.stringify({ 'SM/Pri': 30, ['x'.repeat(3000000)]: 1, 'SM/GlomiePref': '2', __proto__: 5, 'No/Such': 1 }),
        cliCode({ 'SM/Pri': 30 })],
      [JSON.stringify({ 'SM/Pri': 2 ** 40, 'SM/ChkSec': 1.5, 'SM/Sec': -(2 ** 31) }), defaultCode],
    ];
    for (const [stored, expected] of keptTable) {
      await desktop.evaluate((text) => localStorage.setItem('glomiecode.answers', text), stored);
      await desktop.reload();
      await desktop.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
      assert.strictEqual(await codeOf(desktop), expected, stored.slice(0, 60));
    }
    assert.deepStrictEqual(desktop.problems, []);
    await startOver(desktop);
  });

  await check('a pasted text too long to read is refused with a word, and nothing changes', async () => {
    const before = await codeOf(desktop);
    await desktop.$eval('#open-code', (box, code) => { box.value = 'x'.repeat(3000000) + code; }, workedExamples[1]);
    await desktop.click('#open');
    assert.match(await desktop.$eval('#open-note', (n) => n.textContent), /too long/);
    assert.strictEqual(await codeOf(desktop), before);
    await desktop.$eval('#open-code', (box) => { box.value = ''; });
  });

  await check('Share links to the page with the code, Copy copies it', async () => {
    await desktop.focus('[name="SM/Pri"]');
    await desktop.keyboard.press('End');
    const code = await codeOf(desktop);
    assert.strictEqual(await desktop.$eval('#share', (a) => a.href), server.base + '#code=' + encodeURIComponent(code));
    await browser.defaultBrowserContext().overridePermissions(server.base.slice(0, -1), ['clipboard-read', 'clipboard-sanitized-write']);
    await desktop.click('#copy');
    await desktop.waitForFunction(() => document.getElementById('status').textContent === 'Copied.');
    assert.strictEqual(await desktop.evaluate(() => navigator.clipboard.readText()), code);
  });

  await check('the tabs: one page shown, arrows, Home and End move between them', async () => {
    await desktop.click('#tab-0');
    const keys = [['ArrowRight', 1], ['ArrowRight', 2], ['End', 9], ['ArrowRight', 0], ['ArrowLeft', 9], ['Home', 0]];
    for (const [key, index] of keys) {
      await desktop.keyboard.press(key);
      const shown = await desktop.evaluate(() => ({
        focused: document.activeElement.id,
        selected: [...document.querySelectorAll('[role=tab][aria-selected=true]')].map((t) => t.id),
        visible: [...document.querySelectorAll('.page')].filter((p) => p.offsetHeight > 0).map((p) => p.id),
        labelled: document.getElementById('page-0').getAttribute('aria-labelledby'),
      }));
      assert.deepStrictEqual(shown, { focused: `tab-${index}`, selected: [`tab-${index}`], visible: [`page-${index}`], labelled: 'tab-0' });
    }
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
    assert.deepStrictEqual(server.requests.slice(loadRequests).filter((url) => !/^\/(index\.html)?$|^\/[a-z]+\.(js|css)$/.test(url)), []);
    const before = server.requests.length;
    await desktop.click('#tab-2');
    await desktop.select('[name="Fav/Assist0"]', '3');
    await desktop.click('#copy');
    await desktop.$eval('#open-code', (box) => { box.value = 'GlomieCode(1.12.05) SM:7'; });
    await desktop.click('#open');
    assert.strictEqual(server.requests.length, before);
  });

  const phone = await openPage(browser, server.base, { width: 360, height: 740, isMobile: true, hasTouch: true });
  await check('at 360 px: the pages one below the other, no sideways scrolling, controls 44 px high', async () => {
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
        scroll: document.documentElement.scrollWidth,
        small,
      };
    });
    assert.deepStrictEqual(layout, { tabs: 0, heights: 0, stacked: true, roles: 0, scroll: 360, small: [] });
  });

  await check('axe-core finds no WCAG 2.1 A or AA violation at 360 px', async () => {
    assert.deepStrictEqual(await runAxe(phone), []);
    assert.deepStrictEqual(phone.problems, []);
  });

  await check('opened from its folder (file://), the page works', async () => {
    const page = await openPage(browser, 'file://' + path.join(site, 'index.html'));
    await page.focus('[name="SM/Pri"]');
    await page.keyboard.press('Home');
    assert.strictEqual(await codeOf(page), cliCode({ 'SM/Pri': 0 }));
    await page.goto('about:blank');
    await page.goto('file://' + path.join(site, 'index.html') + '#code=' + encodeURIComponent(workedExamples[13]));
    await page.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
    assert.strictEqual(await codeOf(page), workedExamples[13]);
    assert.deepStrictEqual(page.problems, []);
    await page.close();
  });

  // The page's size is a property of what is built; its times are measured by bench/web/budgets.js.
  await check('size: all the page loads stays within 400 KB', async () => {
    const { bytes } = await budgets.measureBytes(browser, server.base);
    assert.ok(bytes <= 400 * 1024, `${bytes} bytes`);
  });

  await browser.close();
  server.close();
  fs.rmSync(work, { recursive: true, force: true });
  console.log(`web check: ${results.passed} passed, ${results.failed} failed`);
  process.exitCode = results.failed === 0 ? 0 : 1;
}

main().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
