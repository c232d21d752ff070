'use strict';
// The thirty task pictures: TeX sources to 1-bit PNGs.
const fs = require('fs');
const { typeset } = require('./typeset');
const { render, coverage, binarise, inkBox } = require('./raster');
const { encodeBilevel } = require('./png');

const PX_PER_EM = 18;
const SUPERSAMPLE = 4;
const MARGIN = 3; // blank pixels around the ink
// The task box shows 393 × 105 pixels of a picture; bitmaps may be at most
// 400 × 110, the rest being blank margin.
const INK_LIMIT = { width: 393, height: 105 };
const SIZE_LIMIT = { width: 400, height: 110 };

// "NAME  TeX" per line; % starts a comment line.
function readSources(file) {
    const tasks = [];
    for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
        if (!line.trim() || line.startsWith('%')) continue;
        const match = /^(P\d+)\s+(.+)$/.exec(line.trim());
        if (!match) throw new Error(`${file}: cannot read line: ${line}`);
        tasks.push({ name: match[1], tex: match[2] });
    }
    return tasks;
}

// Renders the formula supersampled on white, binarises it and crops it to
// its ink plus a small margin.
function rasterise(tex) {
    const { markup, viewBox } = typeset(tex);
    const unitsPerPx = 1000 / PX_PER_EM;
    const pad = 4; // pixels of room so that nothing is clipped before cropping
    const w = Math.ceil(viewBox.w / unitsPerPx) + 2 * pad;
    const h = Math.ceil(viewBox.h / unitsPerPx) + 2 * pad;
    const vb = [viewBox.x - pad * unitsPerPx, viewBox.y - pad * unitsPerPx, w * unitsPerPx, h * unitsPerPx];
    const svg = markup
        .replace(/ style="vertical-align:[^"]*"/, '')
        .replace(/ width="[^"]*"/, ` width="${w}"`)
        .replace(/ height="[^"]*"/, ` height="${h}"`)
        .replace(/ viewBox="[^"]*"/, ` viewBox="${vb.join(' ')}"`);
    const image = render(svg, { width: w * SUPERSAMPLE, background: '#ffffff' });
    if (image.width !== w * SUPERSAMPLE || image.height !== h * SUPERSAMPLE) {
        throw new Error(`unexpected raster size ${image.width} × ${image.height}`);
    }
    const full = coverage(image, SUPERSAMPLE);
    const ink = binarise(full);
    const box = inkBox(full.width, full.height, ink);
    if (!box) throw new Error(`no ink in ${tex}`);
    const inkWidth = box.right - box.left + 1;
    const inkHeight = box.bottom - box.top + 1;
    const width = inkWidth + 2 * MARGIN;
    const height = inkHeight + 2 * MARGIN;
    const out = new Uint8Array(width * height);
    for (let y = 0; y < inkHeight; y++) {
        for (let x = 0; x < inkWidth; x++) {
            out[(y + MARGIN) * width + x + MARGIN] = ink[(y + box.top) * full.width + x + box.left];
        }
    }
    return { width, height, ink: out, inkWidth, inkHeight };
}

function checkLimits(name, picture) {
    const inkRight = MARGIN + picture.inkWidth;
    const inkBottom = MARGIN + picture.inkHeight;
    if (inkRight > INK_LIMIT.width || inkBottom > INK_LIMIT.height ||
        picture.width > SIZE_LIMIT.width || picture.height > SIZE_LIMIT.height) {
        throw new Error(`${name} is ${picture.width} × ${picture.height} with ink to ` +
            `${inkRight} × ${inkBottom}: too large for the task box; set it differently`);
    }
}

function generateTasks(sourceFile, outDir) {
    const results = [];
    for (const { name, tex } of readSources(sourceFile)) {
        const picture = rasterise(tex);
        checkLimits(name, picture);
        const png = encodeBilevel(picture.width, picture.height, picture.ink);
        fs.writeFileSync(`${outDir}/${name}.png`, png);
        results.push({ name, tex, png, width: picture.width, height: picture.height });
    }
    return results;
}

module.exports = { generateTasks };
