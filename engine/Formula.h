// Groups, built-in functions and the engine's single entry.
#pragma once

#include <string>

#include "engine/FlatEval.h"

// SubstituteVariables, NormalizeFormula, then EvaluateFormula. Returns a
// result text, "~", "Ошибка" or the empty text; raises EConvertError or a
// floating-point fault for operands that do not convert or arithmetic that
// faults.
std::string FormulaValue(const std::string& formula);

std::string EvaluateFormula(const std::string& formula);
TOperandSplit FoldGroupValue(int p, const std::string& text, const std::string& value);
TOperandSplit ScanFunctionName(int low, int high, const std::string& text);
std::string ApplyFunction(const std::string& name, const std::string& argument);
