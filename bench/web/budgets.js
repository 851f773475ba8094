// SPDX-License-Identifier: MIT
// The encoder page's budgets, measured in Debian's Chromium with the site served from loopback:
// - everything the page loads, uncompressed (the bodies of all its responses);
// - a change shown: in the page, performance.now() before a control's input event is dispatched and
//   after it returns (the handler has answered the engine and updated the code, the controls and
//   the sentences), over 120 changes of sliders, lists, check boxes and counts; also with the style
//   and layout that follow forced, for comparison;
// - the first render: the page's mark "glomie-form-built" (the form built and the first state
//   shown), in milliseconds from navigation start, over 10 fresh loads.
// Usage: node bench/web/budgets.js   (build/web built first; run from tests/web's npm project)
'use strict';
const path = require('path');

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
    if (!response.url().startsWith('data:')) bodies.push(response.buffer().then((b) => [response.url(), b.length]));
  });
  await page.goto(base, { waitUntil: 'networkidle0' });
  await page.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
  const files = await Promise.all(bodies);
  await page.close();
  return { bytes: files.reduce((sum, [, length]) => sum + length, 0), files };
}

async function measureFirstRender(browser, base, loads) {
  const times = [];
  for (let i = 0; i < loads; i += 1) {
    const page = await browser.newPage();
    await page.goto(base);
    await page.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
    times.push(await page.evaluate(() => performance.getEntriesByName('glomie-form-built')[0].startTime));
    await page.close();
  }
  return summary(times);
}

async function measureChange(browser, base) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(base);
  await page.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready);
  const result = await page.evaluate(() => {
    const named = (key) => document.getElementsByName(key)[0];
    // [control, how to give it its next value]: each change moves the answer and the code.
    const changes = [
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
    for (let i = 0; i < 120; i += 1) {
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
  });
  await page.close();
  return { ...summary(result.handler), withLayout: summary(result.withLayout), codes: result.codes };
}

async function measure(browser, base) {
  const { bytes, files } = await measureBytes(browser, base);
  const firstRender = await measureFirstRender(browser, base, 10);
  const change = await measureChange(browser, base);
  return { bytes, files, firstRender, change };
}

function report(m) {
  const ms = (value) => value.toFixed(2) + ' ms';
  console.log(`budget: the page loads ${m.bytes} bytes uncompressed (budget ${400 * 1024}): ` +
    m.files.map(([url, length]) => `${url.replace(/^.*\//, '') || 'index'} ${length}`).join(', '));
  console.log(`budget: a change shown in ${ms(m.change.median)} median, ${ms(m.change.p95)} 95th percentile, ` +
    `${ms(m.change.max)} most, over ${m.change.count} changes giving ${m.change.codes} codes (budget 2 ms median); ` +
    `with style and layout ${ms(m.change.withLayout.median)} median, ${ms(m.change.withLayout.p95)} 95th percentile`);
  console.log(`budget: the form built ${ms(m.firstRender.median)} after navigation start, median of ` +
    `${m.firstRender.count} loads, ${ms(m.firstRender.max)} most (budget 300 ms)`);
}

if (require.main === module) {
  (async () => {
    const { serveSite, launchChromium } = harness();
    const server = await serveSite();
    const browser = await launchChromium();
    try {
      report(await measure(browser, server.base));
    } finally {
      await browser.close();
      server.close();
    }
  })().catch((error) => {
    console.error(error);
    process.exitCode = 1;
  });
}

module.exports = { measure, measureBytes, report };
