'use strict';
// Typesets a TeX formula with MathJax into a standalone SVG string.
const { mathjax } = require('mathjax-full/js/mathjax.js');
const { TeX } = require('mathjax-full/js/input/tex.js');
const { SVG } = require('mathjax-full/js/output/svg.js');
const { liteAdaptor } = require('mathjax-full/js/adaptors/liteAdaptor.js');
const { RegisterHTMLHandler } = require('mathjax-full/js/handlers/html.js');
require('mathjax-full/js/input/tex/ams/AmsConfiguration.js');
require('mathjax-full/js/input/tex/configmacros/ConfigMacrosConfiguration.js');

const adaptor = liteAdaptor();
RegisterHTMLHandler(adaptor);

// Russian school names of tan and atn. Italic, as the textbooks print them,
// but spaced as operators so that "3 tg x" keeps its thin space.
const MACROS = {
    tg: '\\operatorname{\\mathit{tg}}',
    arctg: '\\operatorname{\\mathit{arctg}}',
};

const tex = new TeX({ packages: ['base', 'ams', 'configmacros'], macros: MACROS });
// Exponents of exponents shrink to unreadable specks at screen size without a
// floor; 0.7 em keeps them at about the size of a first-level exponent.
// Runs before MathJax's own filters pass inherited attributes down the tree.
tex.postFilters.add(({ data }) => {
    data.root.attributes.set('scriptminsize', '0.7em');
}, -100);
const svgOutput = new SVG({ fontCache: 'none' });
const doc = mathjax.document('', { InputJax: tex, OutputJax: svgOutput });

// Returns { svg, width, height } where width and height are in em and the
// SVG's user unit is 1/1000 em. MathJax reports TeX errors by drawing them,
// so any merror node is turned into a thrown error here.
function typeset(formula) {
    const container = doc.convert(formula, { display: true, em: 16, ex: 8 });
    const svg = adaptor.firstChild(container);
    const markup = adaptor.outerHTML(svg);
    const error = /data-mjx-error="([^"]*)"/.exec(markup);
    if (error || markup.includes('data-mml-node="merror"')) {
        throw new Error(`TeX error in ${formula}: ${error ? error[1] : 'merror'}`);
    }
    const [x, y, w, h] = adaptor.getAttribute(svg, 'viewBox').split(/\s+/).map(Number);
    return { markup, viewBox: { x, y, w, h } };
}

module.exports = { typeset, adaptor };
