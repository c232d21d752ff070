'use strict';
// How formulas are set: the one place for the TeX macros, the script sizes
// and the exponent rule. Anything that typesets formulas to look like the
// task pictures (a pupil's answer shown as a formula, say) must copy these.

// Russian school names of tan and atn, italic as the textbooks print them.
const MACROS = {
    tg: '\\operatorname{\\mathit{tg}}',
    arctg: '\\operatorname{\\mathit{arctg}}',
};

const TEX_PACKAGES = ['base', 'ams', 'configmacros'];

// Each script level shrinks by MathJax's usual 0.71, so an exponent's own
// exponent and a root's index come out at TeX's scriptscript size (0.5 em)
// and are told apart from a first-level exponent at a glance. The floor keeps
// their digits tall enough to stay legible in one bit per pixel.
const SCRIPT_SIZE_MULTIPLIER = 0.71;
const SMALLEST_SCRIPT_EM = 0.5;
const SMALLEST_SCRIPT_DIGIT_PX = 8;
const DIGIT_HEIGHT_EM = 0.666; // height of a digit of the math font

// The script size floor, in em of the formula, at a given pixel size.
function scriptMinSize(pxPerEm) {
    return Math.max(SMALLEST_SCRIPT_EM, SMALLEST_SCRIPT_DIGIT_PX / (DIGIT_HEIGHT_EM * pxPerEm));
}

// An exponent that opens with a bracket or a bar is raised until its bottom
// clears the top of its base by this much (em of the base's level), so that
// e^(y−z) cannot be read as e·(y−z).
const BRACKETED_EXPONENT_GAP_EM = 0.06;
const EXPONENT_OPENERS = ['(', '[', '|'];

module.exports = {
    MACROS,
    TEX_PACKAGES,
    SCRIPT_SIZE_MULTIPLIER,
    scriptMinSize,
    BRACKETED_EXPONENT_GAP_EM,
    EXPONENT_OPENERS,
};
