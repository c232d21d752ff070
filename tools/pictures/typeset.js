'use strict';
// Typesets a TeX formula with MathJax into a standalone SVG string, with the
// settings of mathjax-settings.js.
const { mathjax } = require('mathjax-full/js/mathjax.js');
const { TeX } = require('mathjax-full/js/input/tex.js');
const { SVG } = require('mathjax-full/js/output/svg.js');
const { SVGmsup } = require('mathjax-full/js/output/svg/Wrappers/msubsup.js');
const { liteAdaptor } = require('mathjax-full/js/adaptors/liteAdaptor.js');
const { RegisterHTMLHandler } = require('mathjax-full/js/handlers/html.js');
require('mathjax-full/js/input/tex/ams/AmsConfiguration.js');
require('mathjax-full/js/input/tex/configmacros/ConfigMacrosConfiguration.js');
const settings = require('./mathjax-settings');

const adaptor = liteAdaptor();
RegisterHTMLHandler(adaptor);

let scriptMinEm = settings.scriptMinSize(18);

const tex = new TeX({ packages: settings.TEX_PACKAGES, macros: settings.MACROS });
// Runs before MathJax's own filters pass inherited attributes down the tree.
tex.postFilters.add(({ data }) => {
    data.root.attributes.set('scriptminsize', `${scriptMinEm}em`);
    data.root.attributes.set('scriptsizemultiplier', settings.SCRIPT_SIZE_MULTIPLIER);
    operatorNamesAsFunctions(data.root);
}, -100);

// \operatorname wraps its name in an atom, and an atom under an exponent
// loses an operator's spacing: "4,5tg^e" would lose the space "1,5 tg" has.
// A plain identifier of operator class, as \sin makes, keeps it.
function operatorNamesAsFunctions(node) {
    for (const child of node.childNodes || []) if (child) operatorNamesAsFunctions(child);
    if (!node.isKind || !node.isKind('TeXAtom') || node.texClass !== 1 /* OP */) return;
    const name = singleIdentifier(node);
    if (!name || !node.parent) return;
    name.texClass = 1;
    name.setProperty('fnOP', true);
    node.parent.replaceChild(name, node);
}

function singleIdentifier(node) {
    let inner = node;
    while (inner && !inner.isKind('mi')) {
        const children = (inner.childNodes || []).filter(Boolean);
        if (children.length !== 1) return null;
        inner = children[0];
    }
    return inner || null;
}

// The first character an exponent shows, or '' for a structure.
function leadingText(node) {
    let first = node;
    while (first && !first.isToken) {
        const children = (first.childNodes || []).filter(Boolean);
        if (!children.length) return '';
        first = children[0];
    }
    return first && first.isKind('mo') ? first.getText() : '';
}

const plainGetU = SVGmsup.prototype.getU;
SVGmsup.prototype.getU = function getU() {
    const u = plainGetU.call(this);
    if (!settings.EXPONENT_OPENERS.includes(leadingText(this.node.childNodes[this.node.sup]))) return u;
    const base = this.baseCore.getOuterBBox();
    const script = this.scriptChild.getOuterBBox();
    const clear = base.h * this.baseScale + script.d * script.rscale + settings.BRACKETED_EXPONENT_GAP_EM;
    return Math.max(u, clear);
};

const svgOutput = new SVG({ fontCache: 'none' });
const doc = mathjax.document('', { InputJax: tex, OutputJax: svgOutput });

// Returns { markup, viewBox } where the SVG's user unit is 1/1000 em, set for
// a picture of pxPerEm pixels per em (the script size floor depends on it).
// MathJax reports TeX errors by drawing them, so any merror node is turned
// into a thrown error here.
function typeset(formula, pxPerEm = 18) {
    scriptMinEm = settings.scriptMinSize(pxPerEm);
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
