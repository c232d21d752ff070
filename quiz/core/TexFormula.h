// A formula in BASIC notation set in the school notation of the task
// pictures, grouped the way the engine groups it.
#pragma once

#include "quiz/core/TaskCatalogue.h"

#include <string>

// The typeset reading of a formula, or the first place it cannot be read.
struct TTexFormula {
    bool Read = false;
    std::string Tex; // TeX for the task pictures' macros (\tg, \arctg), when Read
    // 1-based position in the text as typed, when not Read; one past its
    // end for what is missing there.
    int ProblemPos = 0;
    std::string Problem; // what is wrong there, in the hint's words, code page 1251
};

// A stretch of the typed formula to mark in the picture, 1-based and
// inclusive: a term or a sign with its term, as an explanation marks it.
struct TTexMark {
    int From = 0, To = 0;
};

// Takes a formula as typed (code page 1251). Never fails: a text it cannot
// read comes back with its first problem named, in the words the hints
// give that mistake for task 'task', variant 'variant' of 'tasks' (0 and 0
// for none: a hint may read the task's picture). The part that is exactly 'mark' is
// boxed (\boxed), which the typesetter draws in the marks' colour; a mark
// that is no part leaves the picture unmarked.
TTexFormula FormulaToTex(const std::string& formula, TTexMark mark = {}, int task = 0,
                         int variant = 0, const TTaskTable& tasks = ReferenceFormulas);
