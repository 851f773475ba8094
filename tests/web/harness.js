// SPDX-License-Identifier: MIT
// What the browser check and the budget bench share: the built site served from loopback, and
// Debian's Chromium started headless with a profile of its own.
'use strict';
const fs = require('fs');
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
};

// Serves the site's files on 127.0.0.1 and counts the requests it is sent.
function serveSite() {
  const server = http.createServer((request, response) => {
    server.requests.push(request.url);
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(site, name === '/' ? 'index.html' : name);
    if (!file.startsWith(site + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
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

module.exports = { root, site, serveSite, launchChromium, openPage };
