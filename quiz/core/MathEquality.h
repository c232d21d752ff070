// Right in mathematics: the program's one rule for telling that an answer
// equals the task's formula as school mathematics reads both, whatever the
// program's own verdict. "Разбор ответа", formulon-eval --explain and any
// teacher's tool ask this rule and no other.
#pragma once

#include "quiz/core/ReadingParts.h"

#include <optional>
#include <string>
#include <vector>

enum class TMathVerdict {
    Equal,       // the same value wherever either is defined, at 7 and 11 and enough points more
    Different,   // another value somewhere, or a value where the other has none
    CannotTell,  // too few points where both have a value, or either cannot be read
    NoVariables, // the answer holds neither y nor z: a number, not a formula
};

// The school values (SchoolReading.h) of the answer and the task's formula
// (both code page 1251) at y = 7, z = 11 and at the other points of a fixed
// draw of whole y and z from 2 to 20. A point where only one has a value is
// a difference; a point where neither has one is left out. Equal needs a
// relative difference below 10^-9 at every point left, 7 and 11 among
// them, and at least five points more; fewer than three points left is
// CannotTell, and so is anything short of Equal that is no difference.
TMathVerdict CompareInMathematics(const std::string& taskFormula, const std::string& answer);

// The points the rule looks at after y = 7, z = 11, in order.
struct TMathPoint {
    int Y, Z;
};
const std::vector<TMathPoint>& DrawnPoints();

// What the explanation of a wrong answer says by the rule, in a pupil's
// words and without the task's formula or value, or nothing. Why the
// program disagrees: 'taskPart' is where it reads the task's own formula
// differently, 'answerPart' where it reads the answer differently.
std::vector<std::string> MathematicsWords(TMathVerdict verdict,
                                          const std::optional<TPartKind>& taskPart,
                                          const std::optional<TPartKind>& answerPart);
