// The engine's single entry: a formula's value text.
#pragma once

#include <string>

namespace formulon::engine {

// SubstituteVariables, NormalizeFormula, then EvaluateFormula. Returns a
// result text, "~", "Ошибка" or the empty text; raises EConvertError or a
// floating-point fault for operands that do not convert or arithmetic that
// faults.
std::string FormulaValue(const std::string& formula);

} // namespace formulon::engine
