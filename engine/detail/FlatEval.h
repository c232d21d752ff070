// Evaluation of a bracket-free formula by text rewriting.
#pragma once

#include <string>

#include "engine/ShortText.h"

namespace formulon::engine {

// The result of an operand scan: the operand's number text (or "~"/empty
// when there is none) and the rest of the formula on the far side of it.
// Both fields keep at most 255 characters.
struct TOperandSplit {
    std::string Number;
    std::string Remainder;
};

TOperandSplit MakeSplit(std::string_view number, std::string_view remainder);

TOperandSplit ScanLeftOperand(int low, int opPos, const std::string& text);
TOperandSplit ScanRightOperand(int opPos, int endPos, const std::string& text);
std::string ApplyOperator(const TOperandSplit& left, const TOperandSplit& right, char op);
std::string EvaluateFlat(int start, const std::string& text);

} // namespace formulon::engine
