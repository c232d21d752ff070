'use strict';
// Rasterising SVG with resvg, and turning antialiased formula renderings into
// 1-bit pictures without losing thin strokes.
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

// Ink coverage 0..1 of each target pixel, averaged over factor × factor
// samples of a rendering on white.
function coverage(image, factor) {
    const width = image.width / factor;
    const height = image.height / factor;
    const cover = new Float64Array(width * height);
    for (let y = 0; y < image.height; y++) {
        for (let x = 0; x < image.width; x++) {
            const i = (y * image.width + x) * 4;
            const lum = 0.299 * image.rgba[i] + 0.587 * image.rgba[i + 1] + 0.114 * image.rgba[i + 2];
            cover[Math.floor(y / factor) * width + Math.floor(x / factor)] += 1 - lum / 255;
        }
    }
    for (let i = 0; i < cover.length; i++) cover[i] /= factor * factor;
    return { width, height, cover };
}

// A pixel is ink when mostly covered. A stroke thinner than a pixel that
// straddles two pixels covers neither by half, so a pixel that is at least a
// quarter covered also counts when it is the darkest across the stroke, i.e.
// no lighter than both its neighbours on one axis.
function binarise({ width, height, cover }) {
    const at = (x, y) => (x < 0 || y < 0 || x >= width || y >= height ? 0 : cover[y * width + x]);
    const ink = new Uint8Array(width * height);
    for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
            const c = at(x, y);
            if (c >= 0.5) {
                ink[y * width + x] = 1;
            } else if (c >= 0.25) {
                const ridgeX = c >= at(x - 1, y) && c >= at(x + 1, y);
                const ridgeY = c >= at(x, y - 1) && c >= at(x, y + 1);
                if (ridgeX || ridgeY) ink[y * width + x] = 1;
            }
        }
    }
    return ink;
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

module.exports = { render, unpremultiply, coverage, binarise, inkBox, FONT_FILES };
