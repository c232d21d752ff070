'use strict';
// A contact sheet: every task picture, enlarged, under its reference formula
// from the same table row, for a person to compare the two.
const fs = require('fs');
const { render } = require('./raster');
const { encodeColour } = require('./png');

function escape(text) {
    return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

// Each picture at actual size, as a pupil sees it, and enlarged beside it
// with its pixels kept square, for checking stroke by stroke.
function makeSheet(pictures, outFile, scale = 3) {
    const rows = [];
    let y = 10;
    const width = 420 + 400 * scale + 30;
    pictures.forEach((p) => {
        rows.push(`<text x="10" y="${y + 14}" font-family="DejaVu Sans Mono" font-size="14">` +
            `${p.name}  ${escape(p.formula)}</text>`);
        y += 22;
        const href = `data:image/png;base64,${p.png.toString('base64')}`;
        rows.push(`<rect x="9" y="${y - 1}" width="395" height="107" fill="none" stroke="#c0c0ff"/>`);
        rows.push(`<image x="10" y="${y}" width="${p.width}" height="${p.height}" href="${href}"/>`);
        rows.push(`<rect x="429" y="${y - 1}" width="${p.width * scale + 2}" height="${p.height * scale + 2}" ` +
            `fill="none" stroke="#c0c0ff"/>`);
        rows.push(`<image x="430" y="${y}" width="${p.width * scale}" height="${p.height * scale}" ` +
            `image-rendering="optimizeSpeed" href="${href}"/>`);
        y += Math.max(110, p.height * scale) + 14;
    });
    const svg = `<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${y}">` +
        `<rect width="100%" height="100%" fill="#ffffff"/>${rows.join('')}</svg>`;
    const image = render(svg, { background: '#ffffff' });
    fs.writeFileSync(outFile, encodeColour(image.width, image.height, image.rgba));
}

module.exports = { makeSheet };
