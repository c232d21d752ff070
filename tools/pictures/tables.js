'use strict';
// Reads the task tables (quiz/core/tasks/*.tasks), the one source of each
// task's picture name, reference formula and TeX. The build makes the C++
// catalogue from the same tables (quiz/core/tasks/MakeTaskTables.cmake) and
// reads them the same way: a line either is blank, a % comment, or
// "NAME FORMULA TEX...", NAME being P, the task and the variant; anything
// else stops the run.
const fs = require('fs');
const path = require('path');

function readTable(file) {
    const rows = [];
    fs.readFileSync(file, 'utf8').split('\n').forEach((line, index) => {
        const text = line.trim();
        if (!text || text.startsWith('%')) return;
        const match = /^([A-Za-z][A-Za-z0-9]*)[ \t]+([^ \t]+)[ \t]+(.+)$/.exec(text);
        if (!match) throw new Error(`${file}:${index + 1}: not a picture name, a formula and TeX: ${text}`);
        // The name says the line's task and variant: P101 is task 10, variant 1.
        if (!/^[Pp][1-9][0-9]?[1-5]$/.test(match[1]))
            throw new Error(`${file}:${index + 1}: ${match[1]} is not P, a task (1 to 99) and a variant (1 to 5)`);
        rows.push({ name: match[1], formula: match[2], tex: match[3] });
    });
    if (rows.length === 0) throw new Error(`${file}: no tasks`);
    return rows;
}

// Every table's rows, tables in name order; picture names are unique
// without regard to case, as the resources are looked up.
function readTables(dir) {
    const tables = fs.readdirSync(dir).filter((f) => f.endsWith('.tasks')).sort();
    const rows = tables.flatMap((f) => readTable(path.join(dir, f)));
    const seen = new Set();
    for (const { name } of rows) {
        if (seen.has(name.toLowerCase())) throw new Error(`a second picture named ${name}`);
        seen.add(name.toLowerCase());
    }
    return rows;
}

module.exports = { readTables };
