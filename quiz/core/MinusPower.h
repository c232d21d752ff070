// A power subtracted in a sum, as in 10-2^2: the engine takes that minus as
// the base's sign and puts the texts side by side (10 and 4 make 104),
// where school subtracts the power. The note about it is given only where
// it explains a wrong value: where bracketing that power changes the value.
#pragma once

#include <string>
#include <vector>

// Positions are 1-based in the typed answer.
struct TSubtractedPower {
    int MinusAt;
    int From, To; // the power, from its base's first character to its exponent's last
};

// The subtracted powers of a readable answer, from the left; none when the
// answer cannot be read.
std::vector<TSubtractedPower> SubtractedPowers(const std::string& typed);

// The answer with that power in brackets: 10-(2^2).
std::string WithPowerBracketed(const std::string& typed, const TSubtractedPower& power);

// The minuses whose power, bracketed, changes the answer's value text
// 'value'. Evaluates the answer again once per subtracted power (for the
// first few of an answer of reasonable length only), unseen: see
// QuietFormulaValue.
std::vector<int> MinusPowerPositions(const std::string& typed, const std::string& value);

// FormulaValue that leaves no trace: LastErrorText stays exactly as it was,
// no observer hears the steps, and a raised error is caught with no
// floating-point flag left behind. False when the evaluation raised.
bool QuietFormulaValue(const std::string& formula, std::string& value);

// "минус перед степенью программа относит к основанию: 10-2^2 = 104",
// code page 1251.
const std::string& MinusPowerNoteText();
