// SPDX-License-Identifier: MIT
// The service worker of a served site: keeps the site's files so that the encoder opens offline.
// A file is answered from what is kept, without asking the network again: the site's files are
// kept under the name of the version they belong to, a mark of their contents written into this
// script when the site is built. A site built anew is a new script, which the browser finds when
// the page is next opened: it keeps the new files, and the visit after has them.
'use strict';
const keptName = 'glomiecode-site-@SITE_VERSION@';
const files = ['./', 'index.html', 'style.css', 'page.js', 'engine-served.js', 'engine-served.wasm', 'engine.js', 'icon.svg', 'manifest.webmanifest'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(keptName).then((kept) => kept.addAll(files.map((file) => new Request(file, { cache: 'reload' })))).then(() => self.skipWaiting()));
});

// Another version's files are of no more use.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('glomiecode-site') && name !== keptName).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The site's own files by address; anything else on the host is none of this worker's business.
const scope = new URL('./', self.location.href).href;
const addresses = new Set(files.map((file) => new URL(file, scope).href));

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const address = new URL(request.url);
  address.search = '';
  address.hash = '';
  if (request.method !== 'GET' || !addresses.has(address.href)) return;
  event.respondWith(caches.open(keptName).then(async (kept) => {
    // The page itself is kept once, under the site's address, however it was asked for.
    const key = address.href === scope || address.href === scope + 'index.html' ? scope : address.href;
    const answer = await kept.match(key);
    if (answer) return answer;
    // Not kept (the worker was still keeping the files when it was asked): kept now.
    const response = await fetch(request);
    if (response.ok) event.waitUntil(kept.put(key, response.clone()));
    return response;
  }));
});
