// SPDX-License-Identifier: MIT
// Sends for the engine as soon as the page begins, while the rest of it loads: GlomieEncoder.engineLoading
// is the engine's module once it has started. Served over http(s), the engine's WebAssembly is a
// file of its own, compiled while it arrives; opened from a folder, the engine carries its module
// inside it (engine.js), since a page from a folder may fetch nothing.
(function () {
  'use strict';
  const ns = (window.GlomieEncoder = window.GlomieEncoder || {});
  const served = window.location.protocol === 'http:' || window.location.protocol === 'https:';

  function load(file) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = file;
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
  const single = () => load('engine.js').then(startSingle);
  // A host whose policy refuses the module's own file gets the single file.
  ns.engineLoading = served ? load('engine-served.js').then(() => GlomieEngine()).catch(single) : single();
})();
