// SPDX-License-Identifier: MIT
// The engine compiled to WebAssembly, held against the native engine under Node: the worked examples
// come back exactly, every random answer set gives the same code and leaves the same questions open,
// and every user action leaves the same answers.
// Usage: node engine-check.js ENGINE_JS ORACLE_JSON
'use strict';
const fs = require('fs');
const path = require('path');

const [enginePath, oraclePath] = process.argv.slice(2);
const GlomieEngine = require(path.resolve(enginePath));
const oracle = JSON.parse(fs.readFileSync(oraclePath, 'utf8'));

GlomieEngine().then((engine) => {
  const text = (pointer) => engine.UTF8ToString(pointer);
  const state = () => JSON.parse(text(engine._glomie_state()));
  const load = (answers) => {
    engine._glomie_reset();
    for (const [key, value] of Object.entries(answers)) {
      if (!engine.ccall('glomie_set', 'number', ['string', 'number'], [key, value]))
        throw new Error(`the engine has no answer ${key}`);
    }
  };
  const failures = [];
  const expect = (ok, what) => { if (!ok) failures.push(what); };

  for (const code of oracle.examples) {
    const read = JSON.parse(text(engine.ccall('glomie_read_code', 'number', ['string'], [code])));
    expect(read.found && read.problems.length === 0 && read.code === code, `example ${code}: read as ${read.code}`);
    engine._glomie_take_pasted();
    expect(state().code === code, `example ${code}: taken as ${state().code}`);
  }
  for (const [index, set] of oracle.sets.entries()) {
    load(set.answers);
    const shown = state();
    expect(shown.code === set.code, `set ${index + 1}: ${shown.code} where the native engine has ${set.code}`);
    const open = shown.pages.map((page) => page.open);
    expect(JSON.stringify(open) === JSON.stringify(set.open), `set ${index + 1}: other questions open`);
  }
  for (const [index, action] of oracle.actions.entries()) {
    load(action.answers);
    engine._glomie_answer(action.page, action.question, action.value);
    const after = JSON.parse(text(engine._glomie_answers()));
    const differ = Object.keys(action.after).filter((key) => after[key] !== action.after[key]);
    expect(differ.length === 0,
           `action ${index + 1} (page ${action.page}, question ${action.question}, ${action.value}): ${differ.join(', ')}`);
  }
  const checked = oracle.examples.length + oracle.sets.length + oracle.actions.length;
  if (failures.length) {
    console.error(failures.slice(0, 20).join('\n'));
    console.error(`engine-check: ${failures.length} of ${checked} differ`);
    process.exit(1);
  }
  console.log(`engine-check: ${oracle.examples.length} worked examples, ${oracle.sets.length} answer sets and ` +
              `${oracle.actions.length} actions: the WebAssembly engine answers as the native one`);
});
