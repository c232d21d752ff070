'use strict';
// The task pictures: the task tables' TeX to 1-bit PNGs and, from the same
// typesetting, SVGs of the same size and ink placement for dense screens.
const fs = require('fs');
const { typeset } = require('./typeset');
const { layOut } = require('./layout');
const { render, binariseGlyphs, inkBox } = require('./raster');
const { encodeBilevel } = require('./png');

// Each picture is set at the largest size in this range at which its ink
// fits the task box, so short formulas get bigger exponents.
const PX_PER_EM = { largest: 24, smallest: 18, step: 0.5 };
const SUPERSAMPLE = 8;
const MARGIN = 3; // blank pixels around the ink
// The task box shows 393 × 105 pixels of a picture; bitmaps may be at most
// 400 × 110, the rest being blank margin.
const INK_LIMIT = { width: 393, height: 105 };
const SIZE_LIMIT = { width: 400, height: 110 };
// A first-level exponent is scaled by this much (MathJax's 0.71, rounded).
const EXPONENT_SCALE = 0.71;

// Renders the formula, reduces it to 1 bit glyph by glyph and crops it to
// its ink plus a small margin.
function rasterise(tex, pxPerEm) {
    const { markup, viewBox } = typeset(tex, pxPerEm);
    const unitsPerPx = 1000 / pxPerEm;
    const pad = 4; // pixels of room so that nothing is clipped before cropping
    const w = Math.ceil(viewBox.w / unitsPerPx) + 2 * pad;
    const h = Math.ceil(viewBox.h / unitsPerPx) + 2 * pad;
    const grid = { x0: viewBox.x - pad * unitsPerPx, y0: viewBox.y - pad * unitsPerPx, unitsPerPx };
    const framed = frame(markup, w, h, [grid.x0, grid.y0, w * unitsPerPx, h * unitsPerPx]);
    const laid = layOut(framed, grid);
    const image = render(laid.idMarkup, { width: w * SUPERSAMPLE, background: '#ffffff', antialias: false });
    if (image.width !== w * SUPERSAMPLE || image.height !== h * SUPERSAMPLE) {
        throw new Error(`unexpected raster size ${image.width} × ${image.height}`);
    }
    const full = binariseGlyphs(image, SUPERSAMPLE, laid.glyphs.length);
    const box = inkBox(full.width, full.height, full.ink);
    if (!box) throw new Error(`no ink in ${tex}`);
    const inkWidth = box.right - box.left + 1;
    const inkHeight = box.bottom - box.top + 1;
    const width = inkWidth + 2 * MARGIN;
    const height = inkHeight + 2 * MARGIN;
    const ink = new Uint8Array(width * height);
    const owner = new Int32Array(width * height).fill(-1);
    for (let y = 0; y < inkHeight; y++) {
        for (let x = 0; x < inkWidth; x++) {
            const from = (y + box.top) * full.width + x + box.left;
            ink[(y + MARGIN) * width + x + MARGIN] = full.ink[from];
            owner[(y + MARGIN) * width + x + MARGIN] = full.owner[from];
        }
    }
    // The vector picture covers exactly the bitmap's pixels.
    const left = grid.x0 + (box.left - MARGIN) * unitsPerPx;
    const top = grid.y0 + (box.top - MARGIN) * unitsPerPx;
    const svg = vectorPicture(laid.markup, width, height, [left, top, width * unitsPerPx, height * unitsPerPx]);
    const digits = exponentDigits(laid.glyphs, owner, width, height);
    return { pxPerEm, width, height, ink, inkWidth, inkHeight, svg, digits };
}

function frame(markup, width, height, viewBox) {
    return markup
        .replace(/ style="vertical-align:[^"]*"/, '')
        .replace(/ width="[^"]*"/, ` width="${width}"`)
        .replace(/ height="[^"]*"/, ` height="${height}"`)
        .replace(/ viewBox="[^"]*"/, ` viewBox="${viewBox.map((v) => +v.toFixed(3)).join(' ')}"`);
}

// Plain black, as not every SVG renderer knows currentColor.
function vectorPicture(markup, width, height, viewBox) {
    return `${frame(markup, width, height, viewBox)
        .replace(/ role="img" focusable="false"/, '')
        .replace(/currentColor/g, '#000000')}\n`;
}

// The pixel box of each digit of a first-level exponent, as drawn.
function exponentDigits(glyphs, owner, width, height) {
    const digits = [];
    glyphs.forEach((g, id) => {
        const code = parseInt(g.char, 16);
        if (!(code >= 0x30 && code <= 0x39) || Math.abs(g.scale - EXPONENT_SCALE) > 0.01) return;
        const b = inkBox(width, height, owner.map((o) => (o === id ? 1 : 0)));
        if (b) digits.push({ digit: String.fromCharCode(code), x: b.left, y: b.top, w: b.right - b.left + 1, h: b.bottom - b.top + 1 });
    });
    return digits;
}

function fits(picture) {
    return MARGIN + picture.inkWidth <= INK_LIMIT.width && MARGIN + picture.inkHeight <= INK_LIMIT.height &&
        picture.width <= SIZE_LIMIT.width && picture.height <= SIZE_LIMIT.height;
}

// The largest size that fits; the typeset size tells where to start.
function setPicture(name, tex) {
    const { viewBox } = typeset(tex, PX_PER_EM.largest);
    const room = Math.min((INK_LIMIT.width - MARGIN) / (viewBox.w / 1000), (INK_LIMIT.height - MARGIN) / (viewBox.h / 1000));
    let px = Math.min(PX_PER_EM.largest, Math.floor(room / PX_PER_EM.step) * PX_PER_EM.step);
    for (; px >= PX_PER_EM.smallest; px -= PX_PER_EM.step) {
        const picture = rasterise(tex, px);
        if (fits(picture)) return picture;
    }
    throw new Error(`${name} does not fit the task box (393 × 105) even at ${PX_PER_EM.smallest} px per em: set it differently`);
}

// rows: the task tables' rows (tables.js).
function generateTasks(rows, bitmapDir, svgDir) {
    const results = [];
    for (const { name, formula, tex } of rows) {
        const picture = setPicture(name, tex);
        const png = encodeBilevel(picture.width, picture.height, picture.ink);
        fs.writeFileSync(`${bitmapDir}/${name}.png`, png);
        fs.writeFileSync(`${svgDir}/${name}.svg`, picture.svg);
        results.push({ name, formula, tex, png, ...picture });
    }
    return results;
}

// One line per picture: its name, its size in pixels per em, then each
// first-level exponent digit as digit:x,y,w,h in the bitmap.
function exponentTable(results) {
    return results.map((r) => [r.name, r.pxPerEm, ...r.digits.map((d) => `${d.digit}:${d.x},${d.y},${d.w},${d.h}`)].join(' ')).join('\n') + '\n';
}

module.exports = { generateTasks, exponentTable };
