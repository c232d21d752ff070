'use strict';
// Regenerates every picture in resources/ from the sources beside them and,
// for the task pictures, from the task tables in quiz/core/tasks/.
// Usage: node generate.js [--sheet DIR]   (DIR gets the contact sheets)
const fs = require('fs');
const path = require('path');
const { readTables } = require('./tables');
const { generateTasks, exponentTable } = require('./tasks');
const { generateArtwork } = require('./artwork');
const { makeSheet } = require('./sheet');

const ROOT = path.resolve(__dirname, '..', '..');
const RES = path.join(ROOT, 'resources');

function main(argv) {
    const sheetAt = argv.indexOf('--sheet');
    const sheetDir = sheetAt >= 0 ? argv[sheetAt + 1] : null;

    fs.mkdirSync(path.join(RES, 'bitmaps'), { recursive: true });
    fs.mkdirSync(path.join(RES, 'svg'), { recursive: true });
    const rows = readTables(path.join(ROOT, 'quiz', 'core', 'tasks'));
    const tasks = generateTasks(rows, path.join(RES, 'bitmaps'), path.join(RES, 'svg'));
    for (const t of tasks) {
        const smallest = Math.min(...t.digits.map((d) => d.h));
        console.log(`${t.name}\t${t.width} × ${t.height}\t${t.pxPerEm} px/em\texponent digits ${t.digits.length ? smallest : '-'} px`);
    }
    fs.writeFileSync(path.join(RES, 'bitmaps', 'exponent-digits.txt'), exponentTable(tasks));

    generateArtwork(RES);

    if (sheetDir) {
        fs.mkdirSync(sheetDir, { recursive: true });
        const perPage = 5;
        for (let page = 0; page < tasks.length / perPage; page++) {
            const range = [page * perPage, page * perPage + perPage];
            makeSheet(tasks.slice(...range), path.join(sheetDir, `sheet-${page + 1}.png`));
        }
    }
}

main(process.argv.slice(2));
