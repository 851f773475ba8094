// SPDX-License-Identifier: MIT
// Sends for the engine as soon as the page begins, while the rest of it loads:
// GlomieEncoder.engineLoading is the engine's module once it has started. Written into the page
// when the site is built (inline-loader.js), so that nothing waits for a file of its own first.
// Served over http(s), the engine's WebAssembly is a file of its own, compiled while it arrives;
// opened from a folder, the engine carries its module inside it (engine.js), since a page from a
// folder may fetch nothing.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});
  const served = window.location.protocol === 'http:' || window.location.protocol === 'https:';

  function load(file) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = file;
      script.fetchPriority = 'high'; // a script added by a script would wait behind the page's own
      script.addEventListener('load', resolve);
      script.addEventListener('error', () => reject(new Error('its engine could not be loaded')));
      document.head.append(script);
    });
  }
  function startSingle() {
    // The single file's glue would first fetch() the module from its own data: address, which the
    // page's policy refuses (and reports); without fetch it decodes the module itself at once.
    const fetchFunction = window.fetch;
    window.fetch = undefined;
    try {
      return GlomieEngine();
    } finally {
      window.fetch = fetchFunction;
    }
  }
  // The module's own file is sent for before anything else of the page, and compiled while it
  // arrives (where the host names it as WebAssembly; else once it is all there).
  function compileServed() {
    return window.fetch('engine-served.wasm', { credentials: 'same-origin' }).then((response) => {
      if (!response.ok) throw new Error('its engine could not be loaded');
      const streaming = WebAssembly.compileStreaming && /^application\/wasm\b/.test(response.headers.get('content-type') || '');
      return streaming ? WebAssembly.compileStreaming(response) : response.arrayBuffer().then((bytes) => WebAssembly.compile(bytes));
    });
  }
  // The served glue (GlomieEngineServed) is a deferred script of the page: it has run by the time
  // the page's scripts have (DOMContentLoaded).
  let scriptsRan = false;
  const scriptsRunning = new Promise((resolve) => document.addEventListener('DOMContentLoaded', () => {
    scriptsRan = true;
    resolve();
  }, { once: true }));
  function servedGlue() {
    const ran = () => typeof GlomieEngineServed === 'function';
    const glue = () => (ran() ? Promise.resolve() : Promise.reject(new Error('its engine could not be loaded')));
    return ran() || scriptsRan ? glue() : scriptsRunning.then(glue);
  }
  // The compiled module is made an instance at once: no wait for another turn of the page.
  function startServed(compiled) {
    return new Promise((resolve, reject) => {
      GlomieEngineServed({
        instantiateWasm(imports, receive) {
          try {
            const instance = new WebAssembly.Instance(compiled, imports);
            receive(instance, compiled);
            return instance.exports;
          } catch (error) {
            reject(error);
            return {};
          }
        },
      }).then(resolve, reject);
    });
  }
  function loadServed() {
    return compileServed().then((compiled) => servedGlue().then(() => startServed(compiled)));
  }
  const single = () => load('engine.js').then(startSingle);
  // A host whose policy refuses the module's own file gets the single file.
  ns.engineLoading = served ? loadServed().catch(single) : single();
})();
