// Where the program reads a formula differently from school mathematics:
// the first place where its value parts from the school value
// (SchoolReading.h), said in a pupil's words. Today that is a minus before
// a power, which the program gives to the power's base, and a function of
// a huge number, whose value turns on digits beyond the fifteen the
// program keeps of every number.
#pragma once

#include <optional>
#include <string>

enum class TPartKind {
    SignedBase,      // -y^2: the sign typed before a power's base
    SubtractedPower, // 10-y^2: the minus of a subtraction before a power
    NegativeBracket, // 10-(y-z)^2: a bracket's negative value, its minus moved out before it
    HugeArgument,    // the sine of a number of a million degrees or more
    Digits,          // the fifteen digits kept of every number change the value here
};

// A minus before a power, in any of its three forms.
bool IsMinusPower(TPartKind kind);

struct TReadingPart {
    TPartKind Kind = TPartKind::Digits;
    int Position = 0;     // 1-based in the typed text: the place to mark
    int From = 0, To = 0; // the stretch the note speaks of, 1-based, inclusive
    std::string Note;     // code page 1251
};

// The first place, from the inside and the left, where the program's value
// of the typed formula (code page 1251) parts from its school value at
// y = 7, z = 11; none when they agree, when the formula cannot be read, or
// when it is longer than the 255 characters the program keeps in front of
// a bracket (past them it loses text, not digits). Evaluates pieces of
// the formula unseen (QuietFormulaValue), a bounded number of them.
std::optional<TReadingPart> FindReadingPart(const std::string& typed);
