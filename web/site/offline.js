// SPDX-License-Identifier: MIT
// The service worker of a served site: keeps the site's files so that the encoder opens offline.
// A file is answered from what is kept and fetched again behind it, so the next visit has the
// newer one; what cannot be fetched is answered from what is kept.
'use strict';
const keptName = 'glomiecode-site';
const files = ['./', 'index.html', 'style.css', 'load.js', 'page.js', 'engine-served.js', 'engine-served.wasm', 'engine.js', 'icon.svg', 'manifest.webmanifest'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(keptName).then((kept) => kept.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
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
    const fetched = fetch(request).then((response) => {
      if (response.ok) kept.put(key, response.clone());
      return response;
    });
    const answer = await kept.match(key);
    if (answer) {
      event.waitUntil(fetched.catch(() => undefined));
      return answer;
    }
    return fetched;
  }));
});
