// SPDX-License-Identifier: MIT
// Pictures of the encoder's page in Debian's Chromium, at a desktop's width and a phone's, with a
// code that brings out every section: docs/screenshots/web-desktop.png and web-phone.png.
// Run by scripts/web-screenshots.sh (from tests/web's npm project, which has puppeteer-core).
'use strict';
const path = require('path');
const { root, serveSite, launchChromium, openPage } = require(path.join(__dirname, '..', 'tests', 'web', 'harness'));

const code = 'GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:' +
  'm18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+';

// [file, viewport, the tab to show on a wide screen]
const shots = [
  ['web-desktop.png', { width: 1280, height: 900 }, 1],
  ['web-phone.png', { width: 360, height: 740, isMobile: true, hasTouch: true }, null],
];

(async () => {
  const server = await serveSite();
  const browser = await launchChromium();
  try {
    for (const [file, viewport, tab] of shots) {
      const page = await openPage(browser, server.base + '#code=' + encodeURIComponent(code), viewport);
      if (tab !== null) await page.click('#tab-' + tab);
      await page.evaluate(() => document.activeElement && document.activeElement.blur());
      const target = path.join(root, 'docs', 'screenshots', file);
      await page.screenshot({ path: target });
      if (page.problems.length) throw new Error(page.problems.join('\n'));
      console.log('web-screenshots: ' + path.relative(root, target));
      await page.close();
    }
  } finally {
    await browser.close();
    server.close();
  }
})().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
