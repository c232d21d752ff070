// Everything "Разбор ответа" says about the last check, in words, from its
// record alone (nothing is evaluated again). After a wrong answer no text
// here holds the task's value or formula. Texts are code page 1251.
#pragma once

#include "quiz/core/AnswerHints.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/StepWords.h"

#include <string>
#include <vector>

// A note about one place of the typed answer.
struct TPlacedNote {
    int Position; // 1-based in the typed answer
    std::string Text;
};

struct TAnswerExplanation {
    bool Right = false; // the answer's value text is the task's
    // How the program evaluated the answer; the last line says how it ended.
    std::vector<TStepLine> Steps;
    // The values compared: "совпадает" or "не совпадает" first (see
    // CompareValues); empty when the answer's evaluation did not end.
    std::vector<std::string> Comparison;
    // Hints for the usual mistakes, earliest place first; none after a
    // right answer.
    std::vector<TAnswerHint> Hints;
    // A subtracted power that explains a wrong value, at its minus.
    std::vector<TPlacedNote> Notes;
    // The message the answer's own evaluation wrote, or empty: never one
    // the task's formula or an earlier check left in LastErrorText.
    std::string Message;
};

TAnswerExplanation ExplainCheck(const TCheckRecord& check);
