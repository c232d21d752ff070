'use strict';
// Walks MathJax's SVG markup with every element's place on the pixel grid:
// puts rules on whole pixels, and labels each glyph for the 1-bit reduction.

// Rule thickness in pixels, one per kind, wherever the rule falls on the grid.
const RULE_PX = { fraction: 2, root: 1, bar: 1 };
// The bar of the math font's minus and plus (glyph units): 230..270 high; the
// plus's upright 369..409 wide.
const BAR = { bottom: 230, top: 270, left: 369, right: 409 };
const MINUS = '2212';
const PLUS = '2B';

// A transform limited to what MathJax writes: translate and scale.
function parseTransform(text) {
    const t = { sx: 1, sy: 1, tx: 0, ty: 0 };
    for (const [, name, args] of (text || '').matchAll(/(\w+)\(([^)]*)\)/g)) {
        const n = args.split(/[\s,]+/).filter(Boolean).map(Number);
        if (name === 'translate') {
            Object.assign(t, compose(t, { sx: 1, sy: 1, tx: n[0], ty: n[1] || 0 }));
        } else if (name === 'scale') {
            Object.assign(t, compose(t, { sx: n[0], sy: n.length > 1 ? n[1] : n[0], tx: 0, ty: 0 }));
        } else {
            throw new Error(`unexpected transform ${name}`);
        }
    }
    return t;
}

// outer ∘ inner: a point in inner's space to outer's parent space.
function compose(outer, inner) {
    return {
        sx: outer.sx * inner.sx,
        sy: outer.sy * inner.sy,
        tx: outer.sx * inner.tx + outer.tx,
        ty: outer.sy * inner.ty + outer.ty,
    };
}

const attr = (tag, name) => {
    const m = new RegExp(` ${name}="([^"]*)"`).exec(tag);
    return m ? m[1] : null;
};
const setAttr = (tag, name, value) =>
    attr(tag, name) === null
        ? tag.replace(/^<(\w+)/, `<$1 ${name}="${value}"`)
        : tag.replace(new RegExp(` ${name}="[^"]*"`), ` ${name}="${value}"`);

// grid: { x0, y0, unitsPerPx } maps viewBox units to pixels.
// Returns { markup, idMarkup, glyphs }: markup with its rules on the grid,
// the same with each glyph filled in its own colour (id + 1, as #rrggbb), and
// per id the glyph's character, scale and the node it belongs to.
function layOut(markup, grid) {
    markup = barsAsRules(markup);
    const stack = [{ t: parseTransform(''), node: null, group: null }];
    const glyphs = [];
    const out = [];
    const ids = [];
    let svgDepth = 0;
    const toPx = {
        y: (t, y) => (t.sy * y + t.ty - grid.y0) / grid.unitsPerPx,
        x: (t, x) => (t.sx * x + t.tx - grid.x0) / grid.unitsPerPx,
    };
    for (const match of markup.matchAll(/<(\/?)(\w+)([^>]*?)(\/?)>|[^<]+/g)) {
        let tag = match[0];
        const [, closing, name] = match;
        if (!name) {
            out.push(tag);
            ids.push(null);
            continue;
        }
        if (closing) {
            if (name === 'g' || (name === 'svg' && stack.length > 1)) stack.pop();
            out.push(name === 'svg' && stack.length > 0 && svgDepth-- > 1 ? '</g>' : tag);
            ids.push(null);
            continue;
        }
        const parent = stack[stack.length - 1];
        const own = parseTransform(attr(tag, 'transform'));
        let id = null;
        if (name === 'svg' && svgDepth++ > 0) {
            // A stretched delimiter comes as an inner svg; as a plain group it
            // is drawn the same, without a clip edge that would blur its colour.
            tag = `<g transform="${innerSvgTransform(tag)}">`;
            stack.push({ t: compose(parent.t, parseTransform(attr(tag, 'transform'))), node: parent.node, group: parent.group });
        } else if (name === 'g') {
            const node = attr(tag, 'data-mml-node') || parent.node;
            // A stretched delimiter is drawn in pieces that make one glyph.
            const group = attr(tag, 'data-mml-node') === 'mo' ? { id: null } : parent.group;
            stack.push({ t: compose(parent.t, own), node, group });
        } else if (name === 'rect') {
            const kind = attr(tag, 'data-bar') ? 'bar' : parent.node === 'mfrac' ? 'fraction' : 'root';
            tag = kind === 'bar' ? snapBarRule(tag, parent.t, toPx, grid) : snapRect(tag, parent.t, RULE_PX[kind], toPx, grid);
            id = glyphs.push({ char: kind, scale: Math.abs(parent.t.sx), node: parent.node }) - 1;
        } else if (name === 'path' && attr(tag, 'd')) {
            const c = attr(tag, 'data-c');
            if (c === MINUS || c === PLUS) tag = snapBar(tag, compose(parent.t, own), parent.t, c === PLUS, toPx, grid);
            if (parent.group && parent.group.id !== null) {
                id = parent.group.id;
            } else {
                id = glyphs.push({ char: c, scale: Math.abs(parent.t.sx), node: parent.node }) - 1;
                if (parent.group) parent.group.id = id;
            }
        }
        out.push(tag);
        ids.push(id);
    }
    const idMarkup = out.map((tag, i) => (ids[i] === null ? tag : setAttr(tag, 'fill', colourOf(ids[i])))).join('');
    return { markup: out.join(''), idMarkup, glyphs };
}

// MathJax stretches a tall bar by scaling the whole glyph and clipping it
// with an inner svg. Not every renderer clips, so the bar becomes a rule of
// the glyph's stem (119..159 of its 278 units) over the clipped height.
function barsAsRules(markup) {
    return markup.replace(
        /<svg width="([^"]*)" height="([^"]*)" y="([^"]*)" x="([^"]*)" viewBox="([^"]*)"><path data-c="(?:2223|7C)" d="[^"]*" transform="scale\(1,[^)]*\)"><\/path><\/svg>/g,
        (all, w, h, y, x, viewBox) => {
            const [vx, , vw] = viewBox.split(/\s+/).map(Number);
            const sx = Number(w) / vw;
            const left = Number(x) + (119 - vx) * sx;
            return `<rect data-bar="1" x="${+left.toFixed(3)}" y="${y}" width="${+(40 * sx).toFixed(3)}" height="${h}"></rect>`;
        });
}

// A tall bar gets exactly one pixel column, centred where it was.
function snapBarRule(tag, t, toPx, grid) {
    const x = Number(attr(tag, 'x'));
    const w = Number(attr(tag, 'width'));
    const a = toPx.x(t, x);
    const b = toPx.x(t, x + w);
    const left = Math.round((a + b) / 2 - RULE_PX.bar / 2);
    const local = (p) => (p * grid.unitsPerPx + grid.x0 - t.tx) / t.sx;
    const [x1, x2] = [local(left), local(left + RULE_PX.bar)].sort((m, n) => m - n);
    return setAttr(setAttr(tag, 'x', x1.toFixed(3)), 'width', (x2 - x1).toFixed(3));
}

function innerSvgTransform(tag) {
    const [vx, vy, vw, vh] = attr(tag, 'viewBox').split(/[\s,]+/).map(Number);
    const sx = Number(attr(tag, 'width')) / vw;
    const sy = Number(attr(tag, 'height')) / vh;
    const x = Number(attr(tag, 'x') || 0);
    const y = Number(attr(tag, 'y') || 0);
    return `translate(${x},${y}) scale(${sx},${sy}) translate(${-vx},${-vy})`;
}

function colourOf(id) {
    return `#${(id + 1).toString(16).padStart(6, '0')}`;
}

// Makes the rule exactly px pixels thick, centred where it was.
function snapRect(tag, t, px, toPx, grid) {
    const y = Number(attr(tag, 'y'));
    const h = Number(attr(tag, 'height'));
    const a = toPx.y(t, y);
    const b = toPx.y(t, y + h);
    const top = Math.round((a + b) / 2 - px / 2);
    // Back from pixels to the rect's own units.
    const local = (p) => (p * grid.unitsPerPx + grid.y0 - t.ty) / t.sy;
    const [y1, y2] = [local(top), local(top + px)].sort((m, n) => m - n);
    return setAttr(setAttr(tag, 'y', y1.toFixed(3)), 'height', (y2 - y1).toFixed(3));
}

// Shifts a minus or plus so its bar starts on a pixel edge (and the plus's
// upright too): one pixel thick wherever it stands, and crisp at twice the
// size as well.
function snapBar(tag, glyph, parent, upright, toPx, grid) {
    const topY = toPx.y(glyph, BAR.top);
    const dyPx = Math.round(topY) - topY;
    let dxPx = 0;
    if (upright) {
        const leftX = toPx.x(glyph, BAR.left);
        dxPx = Math.round(leftX) - leftX;
    }
    const dx = (dxPx * grid.unitsPerPx) / parent.sx;
    const dy = (dyPx * grid.unitsPerPx) / parent.sy;
    const shift = `translate(${dx.toFixed(3)},${dy.toFixed(3)})`;
    const existing = attr(tag, 'transform');
    return setAttr(tag, 'transform', existing ? `${shift} ${existing}` : shift);
}

module.exports = { layOut, RULE_PX };
