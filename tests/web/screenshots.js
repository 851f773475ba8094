// SPDX-License-Identifier: MIT
// Pictures of the encoder's page at a desktop's width and a phone's, with a code that brings out
// every section: docs/screenshots/web-desktop.png and web-phone.png in Debian's Chromium; with
// ENGINES (chromium, firefox, webkit; WebKit under an X server) and an output folder, the same
// pictures from each engine, as <engine>-desktop.png, <engine>-phone.png and <engine>-phone-middle.png
// (halfway down the page, where the code stays in sight at the foot of the screen).
// Run by scripts/screenshots.sh web (beside the browser check, whose npm project has the drivers).
// Usage: node tests/web/screenshots.js [FOLDER]
'use strict';
const fs = require('fs');
const path = require('path');
const { root, serveSite, launch } = require(path.join(__dirname, 'harness'));

const code = 'GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:' +
  'm18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+';

// [name, viewport, the tab to show on a wide screen, scrolled halfway down]
const shots = [
  ['desktop', { width: 1280, height: 900 }, 1, false],
  ['phone', { width: 390, height: 844, isMobile: true, hasTouch: true }, null, false],
  ['phone-middle', { width: 390, height: 844, isMobile: true, hasTouch: true }, null, true],
];

(async () => {
  const folder = process.argv[2];
  const engines = folder ? (process.env.ENGINES || 'chromium,firefox,webkit').split(',') : ['chromium'];
  const server = await serveSite();
  try {
    for (const engine of engines) {
      const browser = await launch(engine);
      try {
        for (const [name, viewport, tab, middle] of shots) {
          const page = await browser.open(server.base + '#code=' + encodeURIComponent(code), viewport);
          // The profile keeps the code of the shot before: this one is taken as the person's own.
          if (await page.evaluate(() => !document.getElementById('looking').hidden)) await page.click('#make-mine');
          if (tab !== null) await page.click('#tab-' + tab);
          await page.evaluate((middle) => {
            if (document.activeElement) document.activeElement.blur();
            if (middle) window.scrollTo(0, document.documentElement.scrollHeight / 2);
          }, middle);
          await new Promise((resolve) => setTimeout(resolve, 200));
          if (!folder && middle) continue;
          const target = folder ? path.join(folder, `${engine}-${name}.png`) : path.join(root, 'docs', 'screenshots', `web-${name}.png`);
          await page.screenshot(target);
          if (page.problems.length) throw new Error(page.problems.join('\n'));
          console.log('screenshots: ' + path.relative(root, target));
          await page.close();
        }
      } finally {
        await browser.close();
      }
    }
  } finally {
    server.close();
  }
})().catch((error) => {
  console.error(error);
  process.exitCode = 1;
});
