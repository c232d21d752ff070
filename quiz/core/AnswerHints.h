// Hints for the usual mistakes in a typed answer, one table row per mistake:
// what it looks for and the hint in a pupil's words with the right spelling.
// The rows are the one source of which names are hinted, and of the words
// for a mistake that also stops the reading of the answer.
//
// Finding a hint only reads the text; whether to show it is the caller's
// decision. Show hints after a wrong or unreadable answer only, never after
// a right one: "sin y" and "z^-2" can give the right value.
#pragma once

#include "quiz/core/TaskTable.h"

#include "quiz/core/FormulaReading.h"

#include <string>
#include <vector>

enum class THintRule {
    RussianName,      // синус, тангенс, корень ...: a function's Russian name
    RussianLayout,    // ышт for sin, н for y: typed with the Russian layout on
    RussianLookalike, // у for y, с for c ...
    RussianLetter,
    DecimalComma,
    Colon,
    Bars,
    UnclosedBracket,
    ExtraBracket,
    Arctg, // arctg, arctan, atan: the school names of atn
    Arcsin,
    Arccos,
    Tg,
    Ctg, // ctg, cot
    Ln,
    LgOnLnPicture, // lg where the task's picture shows ln
    Lg,
    Sqrt,
    PowerOfE,
    LoneE,
    FunctionPower,
    NoBracket,         // sin y where y is all of it, or nothing after the name
    NoBracketVariable, // sin y-z: the program reads sin(y)-z
    NoBracketOther,    // cos 3*y-5: the program cannot apply cos at all
    MissingTimes,
    FractionExponent,
    NegativeExponent,
    DoubleStar,
    UnknownName,
};

struct THintRow {
    THintRule Rule;
    const char* Pattern; // what the rule looks for, UTF-8, as a teacher's report names it
    const char* Hint;    // UTF-8; {1}, {2}, {3} stand for pieces of the answer
    // The reading's refusal this rule words, if any: where the reading stops
    // at this mistake, it says this rule's hint (ReadingProblemText).
    TReadRefusal Words = TReadRefusal::None;
    // The names this rule hints, blank-separated, beside the school names
    // of the built-in function 'SchoolNamesOf' (engine/Functions.h). No
    // other rule calls such a name unknown.
    const char* Names = "";
    const char* SchoolNamesOf = "";
};

// Every rule, in the order hints at one place are given.
const std::vector<THintRow>& HintRules();

struct TAnswerHint {
    THintRule Rule;
    int Position;     // 1-based in the typed answer; one past its end for what is missing there
    std::string Text; // code page 1251
};

// 'typed': the answer as checked (code page 1251, lower case) to task
// 'task', variant 'variant' (0 and 0 for none): the rules that read the
// task's picture, which the pupil sees, read it from the catalogue.
// Earliest position first, one position's hints in table order; a hint
// repeated word for word is given once, at its first place; within a
// Russian word that has a hint of its own no letter of it gets another.
std::vector<TAnswerHint> FindHints(const std::string& typed, int task, int variant);
// The same for a task of another table, whose picture that table gives.
std::vector<TAnswerHint> FindHints(const std::string& typed, const TTaskTable& tasks, int task,
                                   int variant);

// For a console checker that gives one hint per answer: the first hint's
// text (code page 1251), or the empty text when none applies.
std::string FirstHintText(const std::string& typed, int task, int variant);

// The first problem of a reading of 'typed' that failed, in the words of
// the rule that words that mistake at that place, or in the reading's own
// words where no rule does (an empty bracket, two signs in a row).
std::string ReadingProblemText(const std::string& typed, const TFormulaReading& reading, int task,
                               int variant);

// The hints less the one that says the reading's problem (its place and
// text): where the answer cannot be read, that is said once, in place of
// its picture.
std::vector<TAnswerHint> HintsBeside(std::vector<TAnswerHint> hints, int problemPos,
                                     const std::string& problem);
