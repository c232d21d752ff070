// Everything "Разбор ответа" says about the last check, in words, from its
// record alone (nothing is evaluated again). After a wrong answer no text
// here holds the task's value or formula. Texts are code page 1251.
#pragma once

#include "quiz/core/AnswerHints.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/StepWords.h"

#include <optional>
#include <string>
#include <vector>

// A note about one place of the typed answer.
struct TPlacedNote {
    int Position; // 1-based in the typed answer
    std::string Text;
};

struct TAnswerExplanation {
    bool Right = false; // the answer's value text is the task's
    // Said once above the steps when they hold an angle: the program takes
    // angles in degrees. Empty otherwise.
    std::string AnglesNote;
    // How the program evaluated the answer; the last line says how it ended.
    std::vector<TStepLine> Steps;
    // The values compared: "совпадает" or "не совпадает" first (see
    // CompareValues), then, after a wrong answer, what the rule for right
    // in mathematics says (MathEquality.h); empty when the answer's
    // evaluation did not end.
    std::vector<std::string> Comparison;
    // Hints for the usual mistakes, earliest place first; none after a
    // right answer.
    std::vector<TAnswerHint> Hints;
    // Where the program reads a wrong answer differently from school
    // mathematics, at its place; Part says which stretch.
    std::vector<TPlacedNote> Notes;
    std::optional<TReadingPart> Part;
    // The message the answer's own evaluation wrote, or empty: never one
    // the task's formula or an earlier check left in LastErrorText.
    std::string Message;
};

TAnswerExplanation ExplainCheck(const TCheckRecord& check);

// "Углы программа берёт в градусах: …" when the recorded steps apply a
// function of an angle, else empty.
std::string AnglesNote(const TCheckRecord& check);
