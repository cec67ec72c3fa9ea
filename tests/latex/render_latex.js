// SPDX-License-Identifier: MIT
// Renders every align* environment of the files named on the command line with KaTeX, errors
// thrown, and fails on the first one KaTeX rejects. Strict: a character LaTeX could not typeset
// is an error too, but for the accented letters and signs of Latin-1 and Latin Extended-A, which
// pdfLaTeX sets with its UTF-8 input and T1 fonts.
'use strict';
const fs = require('fs');
const katex = require('katex');

function strict(errorCode, errorMessage, token) {
    if (errorCode !== 'unknownSymbol' && errorCode !== 'symbolNotInFont')
        return 'error';
    const quoted = /'(.)'/u.exec(errorMessage);
    const character = token && token.text ? token.text : quoted ? quoted[1] : '';
    const code = character.codePointAt(0);
    return code >= 0xa1 && code <= 0x17f ? 'ignore' : 'error';
}

let rendered = 0;
for (const file of process.argv.slice(2)) {
    const text = fs.readFileSync(file, 'utf8');
    const environments = text.match(/\\begin\{align\*\}[\s\S]*?\\end\{align\*\}/g) || [];
    if (environments.length === 0) {
        console.error(`${file}: no align* environment`);
        process.exit(1);
    }
    for (const latex of environments) {
        try {
            // A derivation of 255 lines expands \iff and \text more often than KaTeX's default guard
            // against runaway macros allows; LaTeX itself has no such limit.
            katex.renderToString(latex, {displayMode: true, throwOnError: true, strict, maxExpand: 100000});
        } catch (error) {
            console.error(`${file}: ${error.message}\n${latex}`);
            process.exit(1);
        }
        ++rendered;
    }
}
console.log(`KaTeX rendered ${rendered} environments`);
