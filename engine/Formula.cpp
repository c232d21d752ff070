#include "engine/Formula.h"
#include "engine/detail/FormulaSteps.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineMessages.h"
#include "engine/FloatEnv.h"
#include "engine/FormulaTrace.h"
#include "engine/Functions.h"
#include "engine/Normalize.h"
#include "engine/NumberText.h"
#include "engine/TextPositions.h"
#include "engine/X87Functions.h"

namespace formulon::engine {

namespace {

// The largest argument magnitudes the tangent and the exponent take; the
// texts are parsed once, by the engine's own number reading.
const Extended& TangentLimit() {
    static const Extended limit = ParseNumber("9E19");
    return limit;
}
const Extended& ExponentLimit() {
    static const Extended limit = ParseNumber("9E3");
    return limit;
}

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// One checked step of a built-in function.
template <typename Step> Extended Checked(Step step) {
    ClearFloatingPointFlags();
    const Extended r = step();
    RaiseFloatingPointFault();
    return r;
}

Extended DegreesToRadians(Extended degrees) {
    return CheckedDiv(CheckedMul(degrees, FpuPi()), 180);
}

// Finds the leftmost innermost group: a '(' followed by a ')' before any
// other '('. Returns false when the text holds none.
bool FindInnermostGroup(const std::string& text, int& open, int& close) {
    const int length = static_cast<int>(text.size());
    for (int p = 1; p <= length; ++p) {
        if (At(text, p) != '(')
            continue;
        for (int j = p + 1; j <= length; ++j) {
            const char c = At(text, j);
            if (c == '(')
                break;
            if (c == ')') {
                open = p;
                close = j;
                return true;
            }
        }
    }
    return false;
}

} // namespace

TOperandSplit ScanFunctionName(int low, int high, const std::string& text) {
    const int nameEnd = high + 1;
    int p = high;
    while (p > low && (IsLower(At(text, p)) || At(text, p) == ','))
        --p;
    if (p < low || (p == low && IsLower(At(text, low))))
        return MakeSplit(Piece(text, 1, nameEnd), "");
    return MakeSplit(Piece(text, p + 1, nameEnd), Piece(text, 1, p));
}

std::string ApplyFunction(const std::string& name, const std::string& argument) {
    const Extended x = ParseNumber(argument);
    const TBuiltInFunction* function = FindBuiltInFunction(name);
    if (function == nullptr) {
        LastErrorText.Set(EngineMessage::UnknownOperator);
        return FailureMarker;
    }
    Extended value = 0;
    switch (function->Id) {
    case TFunctionId::Sin: {
        const Extended radians = DegreesToRadians(x);
        value = Checked([&] { return FpuSin(radians); });
        break;
    }
    case TFunctionId::Cos: {
        const Extended radians = DegreesToRadians(x);
        value = Checked([&] { return FpuCos(radians); });
        break;
    }
    case TFunctionId::Abs:
        value = std::fabs(x);
        break;
    case TFunctionId::Log:
        if (x <= 0) {
            LastErrorText.Set(EngineMessage::Logarithm);
            return FailureMarker;
        }
        value = Checked([&] { return FpuLn(x); });
        break;
    case TFunctionId::Tan: {
        const Extended magnitude = std::fabs(x);
        if (magnitude == 90 || magnitude == 270 || magnitude > TangentLimit()) {
            LastErrorText.Set(EngineMessage::Tangent);
            return FailureMarker;
        }
        const Extended radians = DegreesToRadians(x);
        value = Checked([&] { return FpuTan(radians); });
        break;
    }
    case TFunctionId::Atn: {
        const Extended radians = Checked([&] { return FpuArcTan(x); });
        value = CheckedDiv(CheckedMul(radians, 180), FpuPi());
        break;
    }
    case TFunctionId::Sqr:
        if (x < 0) {
            LastErrorText.Set(EngineMessage::SquareRoot);
            return FailureMarker;
        }
        value = Checked([&] { return FpuSqrt(x); });
        break;
    case TFunctionId::Exp:
        if (std::fabs(x) > ExponentLimit()) {
            LastErrorText.Set(EngineMessage::Exponent);
            return FailureMarker;
        }
        value = Checked([&] { return FpuExp(x); });
        break;
    }
    return RenderNumber(value);
}

TOperandSplit FoldGroupValue(int p, const std::string& text, const std::string& value) {
    if (p == 1)
        return MakeSplit(value, "");
    const char prev = At(text, p - 1);
    const std::string_view before = Piece(text, 1, p - 1);
    switch (prev) {
    case '(':
    case '^':
        return MakeSplit(value, before);
    case '*':
    case '/': {
        const TOperandSplit left = ScanLeftOperand(1, p - 1, text);
        if (IsFailureMarker(left.Number))
            return MakeSplit(FailureMarker, before);
        if (left.Number.empty()) {
            LastErrorText.Set(EngineMessage::Brackets);
            return MakeSplit(FailureMarker, before);
        }
        return MakeSplit(value, before);
    }
    case '+':
    case '-': {
        // A negative value behind a sign turns the sign over: 5-(2-3) is 5+1.
        if (ParseNumber(value) >= 0)
            return MakeSplit(value, before);
        const std::string flipped = std::string(Piece(text, 1, p - 2)) + (prev == '+' ? "-" : "+");
        return MakeSplit(std::string_view(value).substr(1), flipped);
    }
    default:
        break;
    }
    if (IsUpper(prev) || prev == '[' || IsLower(prev)) {
        const TOperandSplit name = ScanFunctionName(1, p - 2, text);
        const std::string result = ApplyFunction(name.Number, value);
        if (ActiveFormulaObserver != nullptr) [[unlikely]]
            TraceStep(TraceStage::Func, name.Number + "(" + value + ")=" + result);
        if (IsFailureMarker(result))
            return MakeSplit(FailureMarker, name.Remainder);
        return MakeSplit(result, name.Remainder);
    }
    // A number or a closing bracket in front of a group would be an implicit
    // product, which BASIC does not have: the group cannot be put back.
    return MakeSplit(FailureMarker, before);
}

std::string EvaluateFormula(const std::string& formula) {
    const auto opens = std::count(formula.begin(), formula.end(), '(');
    const auto closes = std::count(formula.begin(), formula.end(), ')');
    if (opens > closes) {
        LastErrorText.Set(EngineMessage::MissingClose);
        return "";
    }
    if (closes > opens) {
        LastErrorText.Set(EngineMessage::MissingOpen);
        return "";
    }
    std::string text = formula;
    int p, j;
    while (FindInnermostGroup(text, p, j)) {
        const std::string content(Piece(text, p + 1, j - 1));
        TraceStep(TraceStage::Inner, content);
        const std::string value = EvaluateFlat(1, content);
        if (IsFailureMarker(value))
            return GroupFailureText;
        const TOperandSplit split = FoldGroupValue(p, text, value);
        if (IsFailureMarker(split.Number))
            return GroupFailureText;
        text = split.Remainder + split.Number + text.substr(static_cast<std::size_t>(j));
        TraceStep(TraceStage::Group, text);
    }
    return EvaluateFlat(1, text);
}

std::string FormulaValue(const std::string& formula) {
    const std::string substituted = SubstituteVariables(formula);
    TraceStep(TraceStage::Subst, substituted);
    const std::string normalized = NormalizeFormula(substituted);
    TraceStep(TraceStage::Norm, normalized);
    return EvaluateFormula(normalized);
}

} // namespace formulon::engine
