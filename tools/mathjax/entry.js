'use strict';
// The program's formula typesetter. It is the task pictures' own module, so
// a formula the program typesets looks like its task picture.
const { typeset } = require('../pictures/typeset.js');

function unescapeAttribute(text) {
    return text
        .replace(/&quot;/g, '"')
        .replace(/&lt;/g, '<')
        .replace(/&gt;/g, '>')
        .replace(/&amp;/g, '&');
}

// Sets tex for a formula of pxPerEm pixels per em (the smallest script size
// depends on it). Returns { svg, x, y, width, height } with the box in
// thousandths of an em (y is minus the height above the baseline), or
// { error } with MathJax's message. Never throws: the caller is C++.
globalThis.formulonTypeset = function (tex, pxPerEm) {
    const formula = String(tex);
    try {
        const { markup, viewBox } = typeset(formula, Number(pxPerEm) || 18);
        return { svg: markup, x: viewBox.x, y: viewBox.y, width: viewBox.w, height: viewBox.h };
    } catch (e) {
        let message = String((e && e.message) || e);
        const prefix = `TeX error in ${formula}: `;
        if (message.startsWith(prefix))
            message = unescapeAttribute(message.slice(prefix.length));
        return { error: message };
    }
};
