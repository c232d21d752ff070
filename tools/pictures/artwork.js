'use strict';
// The hand-drawn pictures: SVG sources in resources/src rasterised to the
// formats the program loads.
const fs = require('fs');
const path = require('path');
const jpeg = require('jpeg-js');
const { render, unpremultiply, simplify } = require('./raster');
const { encodeColour, encodePalette } = require('./png');
const { VGA16, mapToPalette, medianCut, greyed } = require('./colour');

const ICON_SIZES = [16, 32, 48, 64, 128, 256];

// src and out are relative to resources/. palette: 'vga16' draws without
// antialiasing in the sixteen Windows colours; a number reduces to that many
// colours. greyedOut also writes the disabled twin of a button glyph.
// vector: where the picture's vector version goes, for screens with more than
// one device pixel per pixel.
const ARTWORK = [
    { src: 'src/DUM.svg', out: 'bitmaps/DUM.png', size: [192, 222], palette: 'vga16', vector: 'svg/DUM.svg' },
    { src: 'src/INF.svg', out: 'bitmaps/INF.png', size: [192, 222], palette: 'vga16', vector: 'svg/INF.svg' },
    { src: 'src/WIN.svg', out: 'bitmaps/WIN.png', size: [192, 222], palette: 256, vector: 'svg/WIN.svg' },
    { src: 'src/title.svg', out: 'jpeg/title.jpg', size: [392, 290], jpegQuality: 92, vector: 'svg/title.svg' },
    { src: 'src/banner.svg', out: 'jpeg/banner.jpg', size: [275, 106], jpegQuality: 92, vector: 'svg/banner.svg' },
    { src: 'src/icons/table.svg', out: 'icons/table.png', size: [16, 16], vector: 'svg/icons/table.svg' },
    { src: 'src/icons/help.svg', out: 'icons/help.png', size: [16, 16], vector: 'svg/icons/help.svg' },
    { src: 'src/icons/notepad.svg', out: 'icons/notepad.png', size: [16, 16], vector: 'svg/icons/notepad.svg' },
    { src: 'src/icons/door.svg', out: 'icons/door.png', size: [16, 16], vector: 'svg/icons/door.svg' },
    {
        src: 'src/icons/next.svg', out: 'icons/next.png', size: [16, 16],
        greyedOut: 'icons/next-disabled.png', vector: 'svg/icons/next.svg',
    },
    {
        src: 'src/icons/close.svg', out: 'icons/close.png', size: [16, 16],
        greyedOut: 'icons/close-disabled.png', vector: 'svg/icons/close.svg',
    },
    ...ICON_SIZES.map((n) => ({ src: 'icons/formulon.svg', out: `icons/formulon-${n}.png`, size: [n, n] })),
];

function encodePicture(job, image) {
    const { width, height } = image;
    if (job.palette === 'vga16') {
        return encodePalette(width, height, mapToPalette(image.rgba, VGA16), VGA16);
    }
    if (job.palette) {
        const palette = medianCut(image.rgba, job.palette);
        return encodePalette(width, height, mapToPalette(image.rgba, palette), palette);
    }
    if (job.jpegQuality) {
        return jpeg.encode({ data: image.rgba, width, height }, job.jpegQuality).data;
    }
    return encodeColour(width, height, image.rgba);
}

function rasterise(resDir, job) {
    const svg = fs.readFileSync(path.join(resDir, job.src), 'utf8');
    const [width, height] = job.size;
    const crisp = job.palette === 'vga16';
    // Pictures with a ground of their own are drawn on white; icons keep
    // their transparency.
    const opaque = Boolean(job.palette || job.jpegQuality);
    const image = render(svg, {
        width,
        background: opaque ? '#ffffff' : undefined,
        antialias: !crisp,
    });
    if (image.width !== width || image.height !== height) {
        throw new Error(`${job.src} renders at ${image.width} × ${image.height}, not ${width} × ${height}`);
    }
    return { width, height, rgba: unpremultiply(image.rgba) };
}

function generateArtwork(resDir) {
    for (const job of ARTWORK) {
        const image = rasterise(resDir, job);
        const target = path.join(resDir, job.out);
        fs.mkdirSync(path.dirname(target), { recursive: true });
        fs.writeFileSync(target, encodePicture(job, image));
        if (job.vector) {
            const vector = path.join(resDir, job.vector);
            fs.mkdirSync(path.dirname(vector), { recursive: true });
            fs.writeFileSync(vector, simplify(fs.readFileSync(path.join(resDir, job.src), 'utf8')));
        }
        if (job.greyedOut) {
            const twin = { ...image, rgba: greyed(image.rgba) };
            fs.writeFileSync(path.join(resDir, job.greyedOut), encodePicture(job, twin));
        }
        console.log(`${job.out}\t${image.width} × ${image.height}`);
    }
}

module.exports = { generateArtwork };
