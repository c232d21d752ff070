'use strict';
// Colour reduction for the palette pictures and the greyed button glyphs.

// The sixteen colours of the classic Windows palette, which the verdict
// cartoons are drawn in.
const VGA16 = [
    [0, 0, 0], [128, 0, 0], [0, 128, 0], [128, 128, 0],
    [0, 0, 128], [128, 0, 128], [0, 128, 128], [192, 192, 192],
    [128, 128, 128], [255, 0, 0], [0, 255, 0], [255, 255, 0],
    [0, 0, 255], [255, 0, 255], [0, 255, 255], [255, 255, 255],
];

function nearest(palette, r, g, b) {
    let best = 0, bestDistance = Infinity;
    palette.forEach(([pr, pg, pb], i) => {
        const d = (pr - r) ** 2 + (pg - g) ** 2 + (pb - b) ** 2;
        if (d < bestDistance) [best, bestDistance] = [i, d];
    });
    return best;
}

// Maps an opaque RGBA image onto a palette, pixel by pixel. Equal colours
// share one lookup, which keeps this quick on a few thousand colours.
function mapToPalette(rgba, palette) {
    const indices = new Uint8Array(rgba.length / 4);
    const memo = new Map();
    for (let i = 0; i < indices.length; i++) {
        const [r, g, b] = [rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2]];
        const key = (r << 16) | (g << 8) | b;
        if (!memo.has(key)) memo.set(key, nearest(palette, r, g, b));
        indices[i] = memo.get(key);
    }
    return indices;
}

// Median cut down to at most `count` colours: splits the box with the widest
// channel range at its median until there are enough boxes, then takes each
// box's mean. Deterministic, as the sort breaks ties by the colour itself.
function medianCut(rgba, count) {
    const colours = [];
    for (let i = 0; i < rgba.length; i += 4) colours.push([rgba[i], rgba[i + 1], rgba[i + 2]]);
    const range = (box, c) => Math.max(...box.map((p) => p[c])) - Math.min(...box.map((p) => p[c]));
    let boxes = [colours];
    while (boxes.length < count) {
        let pick = -1, pickRange = 0, channel = 0;
        boxes.forEach((box, i) => {
            for (let c = 0; c < 3; c++) {
                const r = range(box, c);
                if (r > pickRange) [pick, pickRange, channel] = [i, r, c];
            }
        });
        if (pick < 0) break; // every box is one colour
        const box = boxes[pick].slice().sort((p, q) =>
            p[channel] - q[channel] || p[0] - q[0] || p[1] - q[1] || p[2] - q[2]);
        const half = box.length >> 1;
        boxes.splice(pick, 1, box.slice(0, half), box.slice(half));
    }
    return boxes.map((box) => [0, 1, 2].map((c) =>
        Math.round(box.reduce((sum, p) => sum + p[c], 0) / box.length)));
}

// The disabled look of a glyph: its shape in light greys, keeping alpha.
function greyed(rgba) {
    const out = Buffer.from(rgba);
    for (let i = 0; i < out.length; i += 4) {
        const lum = 0.299 * out[i] + 0.587 * out[i + 1] + 0.114 * out[i + 2];
        const grey = Math.round(128 + lum / 2);
        out[i] = out[i + 1] = out[i + 2] = grey;
    }
    return out;
}

module.exports = { VGA16, mapToPalette, medianCut, greyed };
