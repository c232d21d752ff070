// The steps behind FormulaValue: groups and built-in functions over the
// bracket-free evaluation. Only the engine and its tests use them.
#pragma once

#include <string>

#include "engine/detail/FlatEval.h"

namespace formulon::engine {

std::string EvaluateFormula(const std::string& formula);
TOperandSplit FoldGroupValue(int p, const std::string& text, const std::string& value);
TOperandSplit ScanFunctionName(int low, int high, const std::string& text);
std::string ApplyFunction(const std::string& name, const std::string& argument);

} // namespace formulon::engine
