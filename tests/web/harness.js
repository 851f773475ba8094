// SPDX-License-Identifier: MIT
// What the browser check and the budget bench share: the built site served from loopback, and the
// three browser engines, each started with a profile of its own: Debian's Chromium and Firefox ESR
// headless through puppeteer-core (CDP and WebDriver BiDi), and WebKitGTK's MiniBrowser through
// WebKitWebDriver and selenium-webdriver (under an X server). A check drives any of them through
// one small page interface (Page below).
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const net = require('net');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const root = path.resolve(__dirname, '..', '..');
const site = process.env.GLOMIE_WEB_SITE || path.join(root, 'build', 'web');

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

// Serves the site's files (or another folder's) on 127.0.0.1 and counts the requests it is sent.
function serveSite(folder = site) {
  const server = http.createServer((request, response) => {
    server.requests.push(request.url);
    // Offline: no answer at all, as when the network is gone.
    if (server.offline) {
      request.socket.destroy();
      return;
    }
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    // A phone's width in an engine whose window cannot be that narrow: the page in a frame of it.
    const frame = /^\/frame-(\d+)x(\d+)\.test$/.exec(name);
    if (frame) {
      const address = new URL(request.url, 'http://x').searchParams.get('page') || '/';
      response.writeHead(200, { 'content-type': 'text/html; charset=utf-8' });
      response.end(`<!DOCTYPE html><html><body style="margin:0"><iframe id="under-test" src="${address.replace(/"/g, '&quot;')}" ` +
        `width="${frame[1]}" height="${frame[2]}" style="border:0;display:block"></iframe></body></html>`);
      return;
    }
    const file = path.join(folder, name === '/' ? 'index.html' : name);
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404, { 'content-type': 'text/plain' });
      response.end('not found');
      return;
    }
    response.writeHead(200, { 'content-type': types[path.extname(file)] || 'application/octet-stream' });
    response.end(fs.readFileSync(file));
  });
  server.requests = [];
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      server.base = `http://127.0.0.1:${server.address().port}/`;
      resolve(server);
    });
  });
}

async function launchChromium() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glomie-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`,
    ],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5, retryDelay: 200 });
  };
  return browser;
}

// Opens the page and waits until its form is built and its first state shown.
async function openPage(browser, url, viewport) {
  const page = await browser.newPage();
  await page.setViewport(viewport || { width: 1280, height: 900 });
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push('page error: ' + error.message));
  // A request the page's policy refuses shows here too.
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warn')
      page.problems.push(`console ${message.type()}: ${message.text().slice(0, 300)}`);
  });
  await page.goto(url);
  await page.waitForFunction(() => window.GlomieEncoder && window.GlomieEncoder.ready, { timeout: 15000 });
  return page;
}

// One page in one engine, as the checks drive it. Every method acts as a user would (a real click,
// a real key) where the engine's driver can.
class Page {
  constructor(engine) {
    this.engine = engine;
    this.problems = []; // the page's errors and the console's errors and warnings, where the driver tells
  }
  async ready() {
    await this.waitFor(() => window.GlomieEncoder && window.GlomieEncoder.ready);
  }
}

// Chromium and Firefox, through puppeteer-core.
class PuppeteerPage extends Page {
  static async open(engine, browser, url, viewport) {
    const page = new PuppeteerPage(engine);
    page.page = await browser.newPage();
    await page.page.setViewport(viewport || { width: 1280, height: 900 });
    page.page.on('pageerror', (error) => page.problems.push('page error: ' + error.message));
    // A request the page's policy refuses shows here too.
    page.page.on('console', (message) => {
      if (message.type() === 'error' || message.type() === 'warn')
        page.problems.push(`console ${message.type()}: ${message.text().slice(0, 300)}`);
    });
    if (url) await page.goto(url);
    return page;
  }
  async goto(url) {
    await this.page.goto(url);
    if (!url.startsWith('about:')) await this.ready();
  }
  async reload() {
    await this.page.reload();
    await this.ready();
  }
  evaluate(fn, ...args) {
    return this.page.evaluate(fn, ...args);
  }
  $eval(selector, fn, ...args) {
    return this.page.$eval(selector, fn, ...args);
  }
  waitFor(fn, ...args) {
    return this.page.waitForFunction(fn, { timeout: 20000 }, ...args);
  }
  click(selector) {
    return this.page.click(selector);
  }
  // A click at a point of the viewport.
  clickAt(x, y) {
    return this.page.mouse.click(x, y);
  }
  focus(selector) {
    return this.page.focus(selector);
  }
  press(key) {
    return this.page.keyboard.press(key);
  }
  type(text) {
    return this.page.keyboard.type(text);
  }
  async select(selector, value) {
    await this.page.select(selector, value);
  }
  // Clicks and answers the confirmation it opens.
  async clickAndConfirm(selector, accept) {
    this.page.once('dialog', (dialog) => (accept ? dialog.accept() : dialog.dismiss()));
    await this.page.click(selector);
  }
  screenshot(file) {
    return this.page.screenshot({ path: file });
  }
  close() {
    return this.page.close();
  }
}

// WebKit, through WebKitWebDriver. One window, so one page at a time; a width narrower than the
// window can be is a frame of that width (the driver then works inside the frame).
class WebDriverPage extends Page {
  static async open(engine, driver, url, viewport) {
    const page = new WebDriverPage(engine);
    page.framed = false;
    page.driver = driver;
    page.viewport = viewport || { width: 1280, height: 900 };
    await driver.manage().window().setRect({ width: page.viewport.width, height: page.viewport.height + 90 });
    if (url) await page.goto(url);
    return page;
  }
  async goto(url) {
    const { width, height } = this.viewport;
    await this.driver.switchTo().defaultContent();
    const inner = await this.driver.executeScript('return window.innerWidth').catch(() => width);
    this.framed = width < inner && url.startsWith('http');
    if (url.startsWith('about:')) {
      await this.driver.get(url);
      return;
    }
    if (this.framed) {
      const base = new URL(url);
      await this.driver.get(`${base.origin}/frame-${width}x${height}.test?page=${encodeURIComponent(base.pathname + base.hash)}`);
      await this.driver.wait(async () => (await this.driver.findElements(this.by.css('#under-test'))).length > 0, 10000);
      await this.driver.switchTo().frame(await this.driver.findElement(this.by.css('#under-test')));
    } else {
      await this.driver.get(url);
    }
    await this.ready();
  }
  get by() {
    return require('selenium-webdriver').By;
  }
  async reload() {
    if (this.framed) {
      await this.evaluate(() => location.reload());
      await new Promise((resolve) => setTimeout(resolve, 300));
    } else {
      await this.driver.navigate().refresh();
    }
    await this.ready();
  }
  async evaluate(fn, ...args) {
    const result = await this.driver.executeAsyncScript(
      'var args = [].slice.call(arguments, 0, -1), done = arguments[arguments.length - 1];' +
      'Promise.resolve().then(function () { return (' + String(fn) + ').apply(null, args); })' +
      '.then(function (v) { done({ value: v === undefined ? null : v }); }, function (e) { done({ error: String(e && e.stack || e) }); });',
      ...args);
    if (result && result.error) throw new Error(result.error);
    return result ? result.value : undefined;
  }
  $eval(selector, fn, ...args) {
    return this.evaluate(new Function('s', 'a', `return (${String(fn)})(document.querySelector(s), ...a);`), selector, args);
  }
  async waitFor(fn, ...args) {
    await this.driver.wait(async () => Boolean(await this.evaluate(fn, ...args)), 20000);
  }
  async element(selector) {
    return this.driver.findElement(this.by.css(selector));
  }
  // The driver would scroll the element only to the foot of the screen, under the code's bar.
  // In a frame WebKitWebDriver may call a fixed element (the code's bar) not interactable, though it
  // is in sight: that one is clicked by the page's own click(). The element is clicked once it has
  // kept its place for a frame: the code box grows when the page next draws, and could otherwise
  // push a button aside between the scroll and the click.
  async click(selector) {
    await this.evaluate(async (s) => {
      const node = document.querySelector(s);
      const frame = () => new Promise((drawn) => { requestAnimationFrame(drawn); setTimeout(drawn, 100); });
      const placeOf = () => JSON.stringify(node.getBoundingClientRect());
      for (let tries = 0; tries < 20; tries += 1) {
        node.scrollIntoView({ block: 'center' });
        const place = placeOf();
        await frame();
        if (placeOf() === place) break;
      }
    }, selector);
    try {
      await (await this.element(selector)).click();
    } catch (error) {
      if (!this.framed || error.name !== 'ElementNotInteractableError') throw error;
      await this.evaluate((s) => document.querySelector(s).click(), selector);
    }
  }
  async focus(selector) {
    await this.evaluate((s) => document.querySelector(s).focus(), selector);
  }
  async clickAt(x, y) {
    const { Origin } = require('selenium-webdriver');
    await this.driver.actions().move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT }).click().perform();
  }
  static keyOf(key) {
    const { Key } = require('selenium-webdriver');
    const keys = { ArrowUp: Key.ARROW_UP, ArrowDown: Key.ARROW_DOWN, ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT,
      Home: Key.HOME, End: Key.END, PageUp: Key.PAGE_UP, PageDown: Key.PAGE_DOWN, Tab: Key.TAB, Escape: Key.ESCAPE,
      Backspace: Key.BACK_SPACE, Enter: Key.ENTER };
    return keys[key] || key;
  }
  async press(key) {
    await this.driver.actions().sendKeys(WebDriverPage.keyOf(key)).perform();
  }
  async type(text) {
    await this.driver.actions().sendKeys(text).perform();
  }
  async select(selector, value) {
    await (await this.element(`${selector} option[value="${value}"]`)).click();
  }
  async clickAndConfirm(selector, accept) {
    await this.click(selector);
    // WebKit's driver can answer the click before the page's confirm() has opened its box.
    const { until } = require('selenium-webdriver');
    const prompt = await this.driver.wait(until.alertIsPresent(), 5000).catch(async (error) => {
      const hit = await this.evaluate((s) => {
        const box = document.querySelector(s).getBoundingClientRect();
        const at = document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2);
        return `${s} at ${Math.round(box.x)},${Math.round(box.y)}; ${at ? at.outerHTML.slice(0, 80) : 'nothing'} at its centre`;
      }, selector);
      throw new Error(`no confirmation box opened after a click on ${hit} (${error.message})`);
    });
    await (accept ? prompt.accept() : prompt.dismiss());
  }
  async screenshot(file) {
    let picture;
    if (this.framed) {
      await this.driver.switchTo().defaultContent();
      const frame = await this.element('#under-test');
      picture = await frame.takeScreenshot();
      await this.driver.switchTo().frame(frame);
    } else {
      picture = await this.driver.takeScreenshot();
    }
    fs.writeFileSync(file, Buffer.from(picture, 'base64'));
  }
  async close() {
    await this.driver.switchTo().defaultContent();
    await this.driver.get('about:blank');
  }
}

function freePort() {
  return new Promise((resolve) => {
    const probe = net.createServer();
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// The engines by name: 'chromium', 'firefox', 'webkit'. Returns {name, open(url, viewport), close()}.
// options.dark: Firefox with the dark colour scheme.
async function launch(name, options = {}) {
  if (name === 'chromium') {
    const browser = await launchChromium();
    return { name, puppeteer: browser, open: (url, viewport) => PuppeteerPage.open(name, browser, url, viewport), close: () => browser.close() };
  }
  if (name === 'firefox') {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'glomie-firefox-'));
    const browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
      headless: true,
      userDataDir: profile,
      extraPrefsFirefox: {
        'app.update.enabled': false, 'browser.shell.checkDefaultBrowser': false,
        ...(options.dark ? { 'layout.css.prefers-color-scheme.content-override': 0 } : {}),
      },
    });
    return {
      name, puppeteer: browser,
      open: (url, viewport) => PuppeteerPage.open(name, browser, url, viewport),
      close: async () => {
        await browser.close();
        fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5, retryDelay: 200 });
      },
    };
  }
  if (name === 'webkit') {
    const { Builder } = require('selenium-webdriver');
    const port = await freePort();
    const driverProcess = spawn(process.env.WEBKIT_DRIVER || 'WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore' });
    const stopDriver = () => {
      if (driverProcess.exitCode === null) driverProcess.kill();
    };
    let driver;
    for (let attempt = 0; !driver; attempt += 1) {
      try {
        driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
          browserName: 'MiniBrowser',
          'webkitgtk:browserOptions': {
            binary: process.env.WEBKIT_BROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
            args: ['--automation'],
          },
        }).build();
      } catch (error) {
        if (attempt >= 20) {
          stopDriver();
          throw error;
        }
        await new Promise((resolve) => setTimeout(resolve, 250));
      }
    }
    await driver.manage().setTimeouts({ script: 30000 });
    return {
      name,
      open: (url, viewport) => WebDriverPage.open(name, driver, url, viewport),
      close: async () => {
        await driver.quit().catch(() => undefined);
        stopDriver();
      },
    };
  }
  throw new Error('no such engine: ' + name);
}

module.exports = { root, site, serveSite, launchChromium, openPage, launch };
