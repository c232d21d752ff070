'use strict';
// Rasterising SVG with resvg, and turning formula renderings into 1-bit
// pictures without losing thin strokes.
const fs = require('fs');
const { Resvg } = require('@resvg/resvg-js');

// From Debian's fonts-dejavu-core, fonts-liberation and fonts-comfortaa.
const FONT_FILES = [
    '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf',
    '/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf',
    '/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf',
    '/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf',
    '/usr/share/fonts/truetype/liberation/LiberationSerif-Italic.ttf',
    '/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf',
    '/usr/share/fonts/truetype/liberation/LiberationSerif-BoldItalic.ttf',
    '/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf',
];
for (const file of FONT_FILES) {
    if (!fs.existsSync(file)) throw new Error(`font ${file} is missing: see tools/README.md`);
}

// Fonts come from these files only: a family missing from the machine would
// otherwise fall back silently to whatever happens to be installed.
// antialias false draws hard edges, for pictures limited to a few colours.
function render(svg, { width, background, antialias = true } = {}) {
    const options = {
        font: { loadSystemFonts: false, fontFiles: FONT_FILES, defaultFontFamily: 'DejaVu Sans' },
        shapeRendering: antialias ? 2 : 0,
        textRendering: antialias ? 1 : 0,
        imageRendering: 0,
    };
    if (width) options.fitTo = { mode: 'width', value: width };
    if (background) options.background = background;
    const image = new Resvg(svg, options).render();
    return { width: image.width, height: image.height, rgba: Buffer.from(image.pixels) };
}

// The same picture as plain SVG shapes: text turned into outlines in the
// fonts above, no styling to resolve, so any SVG renderer draws it alike.
function simplify(svg) {
    const options = { font: { loadSystemFonts: false, fontFiles: FONT_FILES, defaultFontFamily: 'DejaVu Sans' } };
    return `${new Resvg(svg, options).toString()}\n`;
}

// resvg hands out premultiplied alpha; PNG wants it straight.
function unpremultiply(rgba) {
    const out = Buffer.from(rgba);
    for (let i = 0; i < out.length; i += 4) {
        const a = out[i + 3];
        if (a === 0 || a === 255) continue;
        for (let c = 0; c < 3; c++) out[i + c] = Math.min(255, Math.round((out[i + c] * 255) / a));
    }
    return out;
}

// Bounding box of the ink, or null for a blank picture.
function inkBox(width, height, ink) {
    let left = width, top = height, right = -1, bottom = -1;
    for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
            if (!ink[y * width + x]) continue;
            left = Math.min(left, x);
            right = Math.max(right, x);
            top = Math.min(top, y);
            bottom = Math.max(bottom, y);
        }
    }
    return right < 0 ? null : { left, top, right, bottom };
}

module.exports = { render, simplify, unpremultiply, inkBox, FONT_FILES };

// ---- 1-bit reduction glyph by glyph ------------------------------------
// The formula is rendered without antialiasing at factor × factor samples per
// pixel, each glyph filled in its own colour (id + 1). Each glyph then gets
// the highest coverage threshold at which it keeps as many pieces as it has
// at the fine resolution, so thin strokes stay joined; and two glyphs that
// do not touch at the fine resolution are kept apart in the result.

const THRESHOLDS = [0.5, 0.45, 0.4, 0.35, 0.3, 0.25, 0.2, 0.15];
const RIDGE_THRESHOLD = 0.25;

function sampleIds(image) {
    const ids = new Int32Array(image.width * image.height);
    for (let i = 0; i < ids.length; i++) {
        const r = image.rgba[i * 4], g = image.rgba[i * 4 + 1], b = image.rgba[i * 4 + 2];
        const value = (r << 16) | (g << 8) | b;
        ids[i] = value === 0xffffff ? -1 : value - 1;
    }
    return ids;
}

// Pieces of each glyph (8-connected) at the fine resolution, and which
// glyphs touch there.
function finePieces(ids, width, height, glyphCount) {
    const pieces = new Int32Array(glyphCount);
    const seen = new Uint8Array(ids.length);
    const touching = new Set();
    const stack = [];
    for (let start = 0; start < ids.length; start++) {
        const id = ids[start];
        if (id < 0) continue;
        const x = start % width, y = (start - x) / width;
        if (x + 1 < width && ids[start + 1] >= 0 && ids[start + 1] !== id) touching.add(pairKey(id, ids[start + 1]));
        if (y + 1 < height && ids[start + width] >= 0 && ids[start + width] !== id) {
            touching.add(pairKey(id, ids[start + width]));
        }
        if (seen[start]) continue;
        pieces[id]++;
        seen[start] = 1;
        stack.push(start);
        while (stack.length) {
            const p = stack.pop();
            const px = p % width, py = (p - px) / width;
            for (let dy = -1; dy <= 1; dy++) {
                for (let dx = -1; dx <= 1; dx++) {
                    const qx = px + dx, qy = py + dy;
                    if (qx < 0 || qy < 0 || qx >= width || qy >= height) continue;
                    const q = qy * width + qx;
                    if (!seen[q] && ids[q] === id) {
                        seen[q] = 1;
                        stack.push(q);
                    }
                }
            }
        }
    }
    return { pieces, touching };
}

function pairKey(a, b) {
    return a < b ? `${a},${b}` : `${b},${a}`;
}

// Coverage 0..1 of each pixel by each glyph, with each glyph's pixel box.
function glyphCoverage(ids, fineWidth, factor, glyphCount) {
    const width = fineWidth / factor;
    const height = ids.length / fineWidth / factor;
    const cover = [];
    const boxes = [];
    for (let g = 0; g < glyphCount; g++) boxes.push({ left: width, top: height, right: -1, bottom: -1 });
    for (let i = 0; i < ids.length; i++) {
        const id = ids[i];
        if (id < 0) continue;
        if (id >= glyphCount) throw new Error(`colour of glyph ${id + 1} among ${glyphCount}`);
        const fx = i % fineWidth, fy = (i - fx) / fineWidth;
        const x = Math.floor(fx / factor), y = Math.floor(fy / factor);
        if (!cover[id]) cover[id] = new Float32Array(width * height);
        cover[id][y * width + x] += 1 / (factor * factor);
        const b = boxes[id];
        b.left = Math.min(b.left, x); b.right = Math.max(b.right, x);
        b.top = Math.min(b.top, y); b.bottom = Math.max(b.bottom, y);
    }
    return { width, height, cover, boxes };
}

function glyphMask(c, width, box, t) {
    const at = (x, y) => (x < box.left || y < box.top || x > box.right || y > box.bottom ? 0 : c[y * width + x]);
    const mask = new Uint8Array(c.length);
    for (let y = box.top; y <= box.bottom; y++) {
        for (let x = box.left; x <= box.right; x++) {
            const v = at(x, y);
            let ink = v >= t;
            // A stroke thinner than a pixel that straddles two pixels covers
            // neither by half: the darker of the two carries it.
            if (!ink && v >= RIDGE_THRESHOLD) {
                ink = (v >= at(x - 1, y) && v >= at(x + 1, y)) || (v >= at(x, y - 1) && v >= at(x, y + 1));
            }
            if (ink) mask[y * width + x] = 1;
        }
    }
    return mask;
}

function countPieces(mask, width, box) {
    const seen = new Uint8Array(mask.length);
    let count = 0;
    for (let y = box.top; y <= box.bottom; y++) {
        for (let x = box.left; x <= box.right; x++) {
            const start = y * width + x;
            if (!mask[start] || seen[start]) continue;
            count++;
            const stack = [start];
            seen[start] = 1;
            while (stack.length) {
                const p = stack.pop();
                const px = p % width, py = (p - px) / width;
                for (let dy = -1; dy <= 1; dy++) {
                    for (let dx = -1; dx <= 1; dx++) {
                        const qx = px + dx, qy = py + dy;
                        if (qx < box.left || qy < box.top || qx > box.right || qy > box.bottom) continue;
                        const q = qy * width + qx;
                        if (mask[q] && !seen[q]) {
                            seen[q] = 1;
                            stack.push(q);
                        }
                    }
                }
            }
        }
    }
    return count;
}

// Returns { width, height, ink, owner }: owner[i] is the glyph id that
// inks pixel i, or -1.
function binariseGlyphs(image, factor, glyphCount) {
    const ids = sampleIds(image);
    const { pieces, touching } = finePieces(ids, image.width, image.height, glyphCount);
    const { width, height, cover, boxes } = glyphCoverage(ids, image.width, factor, glyphCount);
    const owner = new Int32Array(width * height).fill(-1);
    const best = new Float32Array(width * height);
    for (let g = 0; g < glyphCount; g++) {
        if (!cover[g]) continue;
        const mask = chooseMask(cover[g], width, boxes[g], pieces[g]);
        for (let i = 0; i < mask.length; i++) {
            if (mask[i] && cover[g][i] > best[i]) {
                best[i] = cover[g][i];
                owner[i] = g;
            }
        }
    }
    keepApart(owner, best, width, height, touching);
    const ink = new Uint8Array(width * height);
    for (let i = 0; i < ink.length; i++) ink[i] = owner[i] >= 0 ? 1 : 0;
    return { width, height, ink, owner };
}

function chooseMask(c, width, box, finePieceCount) {
    let fallback = null;
    for (const t of THRESHOLDS) {
        const mask = glyphMask(c, width, box, t);
        const n = countPieces(mask, width, box);
        if (n === finePieceCount) return mask;
        if (!fallback && n > 0 && n < finePieceCount) fallback = mask;
    }
    return fallback || glyphMask(c, width, box, THRESHOLDS[0]);
}

// Glyphs apart at the fine resolution must not meet in the result: where
// two such glyphs' pixels are neighbours, the lighter of the two goes.
function keepApart(owner, best, width, height, touching) {
    const neighbours = [[1, 0], [0, 1], [1, 1], [-1, 1]];
    for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
            const p = y * width + x;
            if (owner[p] < 0) continue;
            for (const [dx, dy] of neighbours) {
                const qx = x + dx, qy = y + dy;
                if (qx < 0 || qx >= width || qy >= height) continue;
                const q = qy * width + qx;
                if (owner[q] < 0 || owner[q] === owner[p] || touching.has(pairKey(owner[p], owner[q]))) continue;
                // Two solid pixels are a real meeting; only a pixel let in
                // below half coverage gives way.
                const lighter = best[q] < best[p] ? q : p;
                if (best[lighter] >= 0.5) continue;
                owner[lighter] = -1;
                if (owner[p] < 0) break;
            }
        }
    }
}

module.exports.binariseGlyphs = binariseGlyphs;
