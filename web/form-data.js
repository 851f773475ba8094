// SPDX-License-Identifier: MIT
// Writes the page's form-data.js from the built engine: the questions as glomie_form() gives them,
// so that the page can build its form while the engine's module is still on its way.
// Usage: node form-data.js ENGINE_JS OUTPUT
'use strict';
const fs = require('fs');
const path = require('path');

require(path.resolve(process.argv[2]))().then((engine) => {
  const form = engine.UTF8ToString(engine._glomie_form());
  JSON.parse(form); // what is written is what the engine gives, and JSON
  fs.writeFileSync(process.argv[3], '// SPDX-License-Identifier: MIT\n// Made from the engine when the site is built: glomie_form().\n' +
    '(window.GlomieEncoder = window.GlomieEncoder || {}).formData = ' + form + ';\n');
});
