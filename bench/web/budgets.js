// SPDX-License-Identifier: MIT
// The encoder page's budgets, measured in Debian's Chromium with the site served from loopback:
// - everything the page loads, compressed with gzip and not (the bodies of all its responses);
// - a change shown: in the page, performance.now() before a control's input event is dispatched and
//   after it returns (the handler has answered the engine and updated the code, the controls and
//   the sentences), over 400 changes of sliders, lists, check boxes and counts; also with the style
//   and layout that follow forced, for comparison;
// - the first render: the page's mark "glomie-first-render" (the page in sight built and showing
//   the engine's state: the tabs, the first page's questions, the code and its sentences), in
//   milliseconds from navigation start, over 15 loads in turns with the plain page's; also its mark "glomie-form-built", when
//   every page is built (the others are built after the first is drawn). The plain page builds all
//   its tabs at once: both its marks are the one "glomie-form-built".
// Each beside the same measures of a plain page that this bench builds itself: plain JavaScript, no
// engine, ten tabs of twenty lists whose code is joined by string concatenation.
// Usage: node bench/web/budgets.js   (build/web built first; run from tests/web's npm project)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');

const harness = () => require(path.join(__dirname, '..', '..', 'tests', 'web', 'harness'));

function summary(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
  return { count: sorted.length, median: at(0.5), p95: at(0.95), max: sorted[sorted.length - 1] };
}

async function measureBytes(browser, base) {
  const page = await browser.newPage();
  const bodies = [];
  page.on('response', (response) => {
    if (!response.url().startsWith('data:'))
      bodies.push(response.buffer().then((b) => [response.url(), b.length, zlib.gzipSync(b, { level: 9 }).length]));
  });
  await page.goto(base, { waitUntil: 'networkidle0' });
  await page.waitForFunction(ready);
  const files = await Promise.all(bodies);
  await page.close();
  return { bytes: files.reduce((sum, [, length]) => sum + length, 0), compressed: files.reduce((sum, [, , packed]) => sum + packed, 0), files };
}

const ready = () => window.GlomieEncoder && window.GlomieEncoder.ready;

// Each page's loads in turns (one of each, then again): the load on a shared machine changes from
// one second to the next, and two pages measured one after the other would be measured under
// different loads.
async function measureFirstRender(browser, bases, loads) {
  const runs = bases.map(() => ({ first: [], built: [] }));
  for (let i = 0; i < loads; i += 1) {
    for (const [k, base] of bases.entries()) {
      const page = await browser.newPage();
      await page.goto(base);
      await page.waitForFunction(ready);
      const [shown, all] = await page.evaluate(() => {
        const at = (name) => (performance.getEntriesByName(name)[0] || {}).startTime;
        return [at('glomie-first-render') ?? at('glomie-form-built'), at('glomie-form-built')];
      });
      runs[k].first.push(shown);
      runs[k].built.push(all);
      await page.close();
    }
  }
  return runs.map((run) => ({ ...summary(run.first), built: summary(run.built) }));
}

async function measureChange(browser, base, plain) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(base);
  await page.waitForFunction(ready);
  const result = await page.evaluate((plain) => {
    const named = (key) => document.getElementsByName(key)[0];
    const list = (key) => [named(key), (n, i) => { n.selectedIndex = i % n.options.length; }];
    // [control, how to give it its next value]: each change moves the answer and the code.
    const changes = plain ? [list('p0q0'), list('p3q7'), list('p9q19'), list('p5q2')] : [
      [named('SM/Pri'), (n, i) => { n.value = String(i % 31); }],
      [named('SM/ChkSec'), (n) => { n.checked = !n.checked; }],
      [named('Fav/Senshi0'), (n, i) => { n.selectedIndex = i % n.options.length; }],
      [named('Fav/IntensitySenshi0'), (n, i) => { n.value = String(i % 4); }],
      [named('Op/OmitSos'), (n) => { n.checked = !n.checked; }],
      [named('Per/Purity'), (n, i) => { n.value = String(i * 7 % 600); }],
      [named('Exp/Years'), (n, i) => { n.value = String(i % 101); }],
      [named('Per/HairColor'), (n, i) => { n.selectedIndex = i % n.options.length; }],
    ];
    const handler = [];
    const withLayout = [];
    const codes = new Set();
    for (let i = 0; i < 400; i += 1) {
      const [node, next] = changes[i % changes.length];
      next(node, i);
      const type = node.type === 'checkbox' || node.tagName === 'SELECT' ? 'change' : 'input';
      const start = performance.now();
      node.dispatchEvent(new Event(type, { bubbles: true }));
      const shown = performance.now();
      void document.body.offsetHeight; // style and layout
      const laidOut = performance.now();
      handler.push(shown - start);
      withLayout.push(laidOut - start);
      codes.add(document.getElementById('code').value);
    }
    localStorage.clear();
    return { handler, withLayout, codes: codes.size };
  }, plain);
  await page.close();
  return { ...summary(result.handler), withLayout: summary(result.withLayout), codes: result.codes };
}

// The page and the plain page: [page, plain].
async function measure(browser, base, plainBase) {
  const bytes = [await measureBytes(browser, base), await measureBytes(browser, plainBase)];
  const firstRender = await measureFirstRender(browser, [base, plainBase], 15);
  const change = [await measureChange(browser, base, false), await measureChange(browser, plainBase, true)];
  return [0, 1].map((k) => ({ ...bytes[k], firstRender: firstRender[k], change: change[k] }));
}

// The plain page: ten tabs of twenty lists of twenty rows, built by its script, and its code the
// lists' rows joined by string concatenation after every change.
function writePlainPage(folder) {
  fs.writeFileSync(path.join(folder, 'index.html'), `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><meta name="viewport" content="width=device-width, initial-scale=1">
<title>Plain page</title><link rel="stylesheet" href="plain.css"><script src="plain.js" defer></script></head>
<body><h1>Plain page</h1><main><form id="questions"></form><section><textarea id="code" readonly aria-label="Code"></textarea></section></main></body></html>
`);
  fs.writeFileSync(path.join(folder, 'plain.css'), `body { font-family: system-ui, sans-serif; margin: 0 1rem; }
main { display: grid; grid-template-columns: 3fr 2fr; gap: 1.5rem; }
.tabs { display: flex; flex-wrap: wrap; gap: 0.25rem; } .tab[aria-selected=true] { background: #6b3fa0; color: #fff; }
.page.inactive { display: none; } .q { display: flex; gap: 0.75rem; margin: 0.35rem 0; min-height: 44px; }
select { flex: 1 1 12rem; min-height: 44px; } textarea { width: 100%; min-height: 5rem; }
`);
  fs.writeFileSync(path.join(folder, 'plain.js'), `'use strict';
(function () {
  const form = document.getElementById('questions');
  const rows = Array.from({ length: 20 }, (_, r) => 'Row ' + r);
  let html = '<div class="tabs" role="tablist">';
  for (let p = 0; p < 10; p += 1) html += '<button type="button" role="tab" class="tab" id="tab-' + p + '">Page ' + p + '</button>';
  html += '</div>';
  for (let p = 0; p < 10; p += 1) {
    html += '<section class="page' + (p ? ' inactive' : '') + '" id="page-' + p + '"><h2>Page ' + p + '</h2>';
    for (let q = 0; q < 20; q += 1) {
      html += '<div class="q"><label for="p' + p + 'q' + q + '">Question ' + q + '</label><select id="p' + p + 'q' + q + '" name="p' + p + 'q' + q + '">';
      for (let r = 0; r < rows.length; r += 1) html += '<option value="' + r + '">' + rows[r] + '</option>';
      html += '</select></div>';
    }
    html += '</section>';
  }
  form.innerHTML = html;
  const lists = [...form.querySelectorAll('select')];
  const box = document.getElementById('code');
  const show = () => {
    let code = 'Plain:';
    for (const list of lists) code += ' ' + list.name + '=' + list.selectedIndex;
    box.value = code;
  };
  form.addEventListener('change', show);
  form.addEventListener('click', (event) => {
    const tab = event.target.closest('[role=tab]');
    if (!tab) return;
    const index = Number(tab.id.slice(4));
    document.querySelectorAll('.page').forEach((page, i) => page.classList.toggle('inactive', i !== index));
  });
  show();
  performance.mark('glomie-form-built');
  window.GlomieEncoder = { ready: true };
})();
`);
}

function report(m, plain) {
  const ms = (value) => value.toFixed(2) + ' ms';
  const times = (value, of) => (value / of).toFixed(2) + '×';
  console.log(`budget: the page loads ${m.compressed} bytes compressed (gzip), ${m.bytes} uncompressed (budget ${150 * 1024} ` +
    `compressed; the plain page ${plain.compressed}): ` +
    m.files.map(([url, length, packed]) => `${url.replace(/^.*\//, '') || 'index'} ${packed}/${length}`).join(', '));
  console.log(`budget: a change shown in ${ms(m.change.median)} median, ${ms(m.change.p95)} 95th percentile, ` +
    `${ms(m.change.max)} most, over ${m.change.count} changes giving ${m.change.codes} codes (budget 0.25 ms median, ` +
    `1 ms 95th percentile); the plain page ${ms(plain.change.median)} median, ${ms(plain.change.p95)} 95th percentile ` +
    `(${times(m.change.median, plain.change.median)} its median)`);
  console.log(`budget: with style and layout ${ms(m.change.withLayout.median)} median, ${ms(m.change.withLayout.p95)} ` +
    `95th percentile; the plain page ${ms(plain.change.withLayout.median)}, ${ms(plain.change.withLayout.p95)}`);
  console.log(`budget: the first render ${ms(m.firstRender.median)} after navigation start, median of ` +
    `${m.firstRender.count} loads, ${ms(m.firstRender.max)} most; the plain page ${ms(plain.firstRender.median)} ` +
    `(${times(m.firstRender.median, plain.firstRender.median)}, budget 1.15×); every page built ` +
    `${ms(m.firstRender.built.median)} (${times(m.firstRender.built.median, plain.firstRender.median)})`);
}

if (require.main === module) {
  (async () => {
    const { serveSite, launchChromium } = harness();
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'glomie-plain-page-'));
    writePlainPage(folder);
    const server = await serveSite();
    const plainServer = await serveSite(folder);
    const browser = await launchChromium();
    try {
      // Measured twice, and the second kept: the first warms the browser.
      await measure(browser, server.base, plainServer.base);
      const [page, plain] = await measure(browser, server.base, plainServer.base);
      report(page, plain);
    } finally {
      await browser.close();
      server.close();
      plainServer.close();
      fs.rmSync(folder, { recursive: true, force: true });
    }
  })().catch((error) => {
    console.error(error);
    process.exitCode = 1;
  });
}

module.exports = { measure, measureBytes, report };
