// Reference results for the regex differential test: reads a case file and
// prints, per pattern, "E" when RegExp rejects it, otherwise one digit per
// keyword ("1" when the pattern matches somewhere in it).
//
// Case file: line 1 the flags, line 2 the pattern count P, then P patterns
// and then the keywords, one JSON string per line.
'use strict';
const fs = require('fs');

const [input, output] = process.argv.slice(2);
const lines = fs.readFileSync(input, 'utf8').split('\n');
const flags = lines[0];
const count = Number(lines[1]);
const patterns = lines.slice(2, 2 + count).map((l) => JSON.parse(l));
const keywords = lines.slice(2 + count).filter((l) => l.length > 0).map((l) => JSON.parse(l));

const out = patterns.map((p) => {
  let re;
  try {
    re = new RegExp(p, flags);
  } catch (e) {
    return 'E';
  }
  return keywords.map((k) => (re.test(k) ? '1' : '0')).join('');
});
fs.writeFileSync(output, out.join('\n') + '\n');
