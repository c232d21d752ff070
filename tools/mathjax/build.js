'use strict';
// Bundles entry.js and MathJax into one minified script for QJSEngine.
// Usage: node build.js [OUTPUT] (default: resources/mathjax/mathjax-svg.js)
// NODE_MODULES names another node_modules folder to bundle from, so a check
// can install the locked packages elsewhere and compare the result.
const path = require('path');

const root = path.resolve(__dirname, '..', '..');
const output = path.resolve(process.argv[2] || path.join(root, 'resources/mathjax/mathjax-svg.js'));
const modules = path.resolve(process.env.NODE_MODULES || path.join(__dirname, 'node_modules'));
const esbuild = require(path.join(modules, 'esbuild'));
const mathjaxVersion = require(path.join(modules, 'mathjax-full/package.json')).version;

esbuild
    .build({
        entryPoints: [path.join(__dirname, 'entry.js')],
        absWorkingDir: root,
        // Always this folder's locked MathJax, even for ../pictures/typeset.js
        // beside a node_modules of its own.
        alias: { 'mathjax-full': path.join(modules, 'mathjax-full') },
        outfile: output,
        bundle: true,
        minify: true,
        format: 'iife',
        platform: 'browser',
        target: 'es2016',
        charset: 'utf8',
        legalComments: 'none',
        logLevel: 'warning',
        // Qt 6.4's QJSEngine has no globalThis; a top-level this is the
        // global object there.
        banner: {
            js:
                `/* MathJax ${mathjaxVersion} (Apache License 2.0, https://www.mathjax.org),` +
                ` bundled by tools/mathjax/build.js. */\n` +
                `var globalThis = typeof globalThis === 'object' ? globalThis : this;`,
        },
    })
    .catch(() => process.exit(1));
