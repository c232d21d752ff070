'use strict';
// A small PNG writer. Our own, so the bytes depend only on Node's zlib and the
// pixels: no encoder version or timestamp chunk can change them between runs.
const zlib = require('zlib');

const CRC_TABLE = (() => {
    const table = new Uint32Array(256);
    for (let n = 0; n < 256; n++) {
        let c = n;
        for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
        table[n] = c >>> 0;
    }
    return table;
})();

function crc32(buf) {
    let c = 0xffffffff;
    for (const b of buf) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
    const head = Buffer.alloc(8);
    head.writeUInt32BE(data.length, 0);
    head.write(type, 4, 'latin1');
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), data])), 0);
    return Buffer.concat([head, data, crc]);
}

// rows: array of Buffers, each one scanline without the filter byte.
function encode(width, height, bitDepth, colourType, rows) {
    const ihdr = Buffer.alloc(13);
    ihdr.writeUInt32BE(width, 0);
    ihdr.writeUInt32BE(height, 4);
    ihdr[8] = bitDepth;
    ihdr[9] = colourType;
    // compression, filter and interlace methods stay 0
    const raw = Buffer.concat(rows.map((row) => Buffer.concat([Buffer.from([0]), row])));
    const idat = zlib.deflateSync(raw, { level: 9 });
    return Buffer.concat([
        Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
        chunk('IHDR', ihdr),
        chunk('IDAT', idat),
        chunk('IEND', Buffer.alloc(0)),
    ]);
}

// ink: Uint8Array of width*height, 1 where black. Written as 1-bit greyscale.
function encodeBilevel(width, height, ink) {
    const rows = [];
    const stride = Math.ceil(width / 8);
    for (let y = 0; y < height; y++) {
        const row = Buffer.alloc(stride, 0xff);
        for (let x = 0; x < width; x++) {
            if (ink[y * width + x]) row[x >> 3] &= ~(0x80 >> (x & 7));
        }
        rows.push(row);
    }
    return encode(width, height, 1, 0, rows);
}

// rgba: straight (not premultiplied) RGBA bytes. Opaque pictures are written
// as RGB, the rest keep their alpha.
function encodeColour(width, height, rgba) {
    let opaque = true;
    for (let i = 3; i < rgba.length; i += 4) if (rgba[i] !== 255) opaque = false;
    const channels = opaque ? 3 : 4;
    const rows = [];
    for (let y = 0; y < height; y++) {
        const row = Buffer.alloc(width * channels);
        for (let x = 0; x < width; x++) {
            for (let c = 0; c < channels; c++) row[x * channels + c] = rgba[(y * width + x) * 4 + c];
        }
        rows.push(row);
    }
    return encode(width, height, 8, opaque ? 2 : 6, rows);
}

// indices: one palette index per pixel; palette: [[r, g, b], ...] of at
// most 256 entries. Sixteen or fewer colours are packed four bits a pixel.
function encodePalette(width, height, indices, palette) {
    const bits = palette.length <= 16 ? 4 : 8;
    const perByte = 8 / bits;
    const rows = [];
    for (let y = 0; y < height; y++) {
        const row = Buffer.alloc(Math.ceil(width / perByte));
        for (let x = 0; x < width; x++) {
            const shift = 8 - bits * (1 + (x % perByte));
            row[Math.floor(x / perByte)] |= indices[y * width + x] << shift;
        }
        rows.push(row);
    }
    const plte = Buffer.from(palette.flat());
    const png = encode(width, height, bits, 3, rows);
    // PLTE must come before IDAT: splice it in right after IHDR (8 + 25 bytes).
    const at = 8 + 25;
    return Buffer.concat([png.subarray(0, at), chunk('PLTE', plte), png.subarray(at)]);
}

module.exports = { encodeBilevel, encodeColour, encodePalette };
