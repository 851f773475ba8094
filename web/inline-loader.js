// SPDX-License-Identifier: MIT
// Writes the site's index.html from its source with load.js inside it: the engine is sent for while
// the page's first line is read, not after a file of its own has come. The page's policy names that
// one script by its hash, so no other inline script runs.
// Usage: node inline-loader.js INDEX_HTML LOAD_JS OUTPUT
'use strict';
const crypto = require('crypto');
const fs = require('fs');

const [source, loaderFile, output] = process.argv.slice(2);
const html = fs.readFileSync(source, 'utf8');
const loader = '\n' + fs.readFileSync(loaderFile, 'utf8');
const hash = crypto.createHash('sha256').update(loader, 'utf8').digest('base64');
const tag = '<script src="load.js"></script>';
const policy = "script-src 'self'";
if (html.split(tag).length !== 2 || html.split(policy).length !== 2 || loader.includes('</script'))
  throw new Error(`${source} must name load.js and its policy's script-src once`);
const written = html.replace(tag, () => '<script>' + loader + '</script>').replace(policy, () => `${policy} 'sha256-${hash}'`);
const before = fs.existsSync(output) ? fs.readFileSync(output, 'utf8') : null;
if (before !== written) fs.writeFileSync(output, written);
