// What a teacher should know about how a task set judges: the variants
// whose value makes a wrong answer pass or a right one fail. Found by
// evaluating each reference formula as the quiz does and reading it as
// school mathematics does (quiz/core/SchoolReading.h), never listed by hand.
#pragma once

#include "quiz/core/TaskTable.h"
#include "teacher/TeacherTexts.h"

#include <string>
#include <vector>

enum class TTaskWarningKind {
    ErrorValue,  // the value is the error text: any answer with that value is right
    MinusPower,  // a minus before an even power read unlike school mathematics
    Digits,      // the value turns on digits beyond the fifteen kept
    NoVariables, // the value depends on neither y nor z: a bare number passes
    ShortValue,  // fewer than kGuessableDigits significant digits: a guess passes
    SameValue,   // the value text of another variant: an answer to one passes for both
    TexError,    // the picture's TeX does not typeset (found by whoever typesets it)
    TooWide,     // the picture does not fit the task box's picture area
};

inline constexpr int kGuessableDigits = 4;

struct TTaskWarning {
    TTaskWarningKind Kind = TTaskWarningKind::ErrorValue;
    int Other = -1;      // SameValue: the other entry; TooWide: the picture's width
    std::string Message; // TexError: the typesetter's words (UTF-8)
};

struct TVariantWarnings {
    std::string Value; // the reference formula's value text, code page 1251
    std::vector<TTaskWarning> Warnings;
};

// Every entry's value and warnings, by entry, all but TexError and TooWide.
// Needs the floating-point environment the program sets at start; leaves
// the engine's LastErrorText as it found it.
std::vector<TVariantWarnings> TaskWarnings(const TTaskTable& tasks);

// What a warning means for pupils' answers, in one line (UTF-8).
std::string WarningText(TLanguage language, const TTaskTable& tasks, const TTaskWarning& warning);
// The warnings of one entry in one line, "; " between them; empty for none.
std::string WarningsText(TLanguage language, const TTaskTable& tasks,
                         const std::vector<TTaskWarning>& warnings);
