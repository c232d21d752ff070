#include "engine/detail/FlatEval.h"

#include <cmath>

#include "engine/EngineMessages.h"
#include "engine/FloatEnv.h"
#include "engine/FormulaTrace.h"
#include "engine/NumberText.h"
#include "engine/TextPositions.h"
#include "engine/X87Functions.h"

namespace formulon::engine {

namespace {

bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == ',' || c == 'E';
}

bool IsWhole(Extended b) {
    return b - std::trunc(b) == 0;
}

// a raised to b, decided in the order: b = 0, a = 0, a whole exponent by
// repeated squaring, otherwise e^(b ln a).
Extended Power(Extended a, Extended b) {
    if (b == 0)
        return 1;
    if (a == 0 && b > 0)
        return 0;
    if (IsWhole(b) && std::fabs(b) <= 2147483647.0L) {
        auto bits = static_cast<unsigned long>(std::fabs(b));
        Extended product = 1;
        Extended base = a;
        while (true) {
            if (bits & 1)
                product = CheckedMul(product, base);
            bits >>= 1;
            // Square only while higher bits remain: a last square could
            // overflow for nothing.
            if (bits == 0)
                break;
            base = CheckedMul(base, base);
        }
        return b < 0 ? CheckedDiv(1, product) : product;
    }
    ClearFloatingPointFlags();
    const Extended logA = FpuLn(a);
    RaiseFloatingPointFault();
    const Extended exponent = CheckedMul(b, logA);
    ClearFloatingPointFlags();
    const Extended result = FpuExp(exponent);
    RaiseFloatingPointFault();
    return result;
}

} // namespace

TOperandSplit MakeSplit(std::string_view number, std::string_view remainder) {
    return TOperandSplit{ShortText(number), ShortText(remainder)};
}

TOperandSplit ScanLeftOperand(int low, int opPos, const std::string& text) {
    if (opPos == 1)
        return MakeSplit("", "");
    int p = opPos - 1;
    while (IsNumberChar(At(text, p)) && p > low)
        --p;
    if (p == opPos - 1 && p != low)
        return MakeSplit(FailureMarker, "");
    // A minus right in front of the digits is the operand's sign, whether it
    // was written as a sign or as a subtraction.
    if (At(text, p) == '-' || p == low)
        return MakeSplit(Piece(text, p, opPos - 1), Piece(text, 1, p - 1));
    return MakeSplit(Piece(text, p + 1, opPos - 1), Piece(text, 1, p));
}

TOperandSplit ScanRightOperand(int opPos, int endPos, const std::string& text) {
    if (opPos == endPos)
        return MakeSplit(FailureMarker, "");
    int q = opPos + 1;
    while (true) {
        const char c = At(text, q);
        if (IsNumberChar(c) && q < endPos) {
            ++q;
        } else if (q == opPos + 1 && c == '-') {
            if (q == endPos)
                return MakeSplit(FailureMarker, "");
            ++q;
        } else {
            break;
        }
    }
    if (q == opPos + 1 && q < endPos)
        return MakeSplit(FailureMarker, "");
    if (q < endPos)
        return MakeSplit(Piece(text, opPos + 1, q - 1), Piece(text, q, endPos));
    // The last character joins the operand whatever it is.
    return MakeSplit(Piece(text, opPos + 1, endPos), "");
}

std::string ApplyOperator(const TOperandSplit& left, const TOperandSplit& right, char op) {
    if (IsFailureMarker(left.Number) || IsFailureMarker(right.Number) || right.Number.empty() ||
        left.Number.empty())
        return FailureMarker;
    const Extended a = ParseNumber(left.Number);
    const Extended b = ParseNumber(right.Number);
    Extended v = 0;
    switch (op) {
    case '^':
        if (a < 0 && !IsWhole(b)) {
            LastErrorText.Set(EngineMessage::NegativePower);
            return FailureMarker;
        }
        v = Power(a, b);
        break;
    case '+':
        v = CheckedAdd(a, b);
        break;
    case '-':
        v = CheckedSub(a, b);
        break;
    case '*':
        v = CheckedMul(a, b);
        break;
    case '/':
        v = CheckedDiv(a, b);
        break;
    default:
        return FailureMarker;
    }
    const double stored = CheckedToDouble(v);
    return left.Remainder + RenderNumber(stored) + right.Remainder;
}

namespace {

bool IsPassOperator(int pass, const std::string& text, int pos) {
    const char c = At(text, pos);
    switch (pass) {
    case 0:
        return c == '^';
    case 1:
        return c == '*' || c == '/';
    default:
        // The '-' of an exponent ("2,5E-16") is no subtraction.
        return c == '+' || (c == '-' && At(text, pos - 1) != 'E');
    }
}

} // namespace

std::string EvaluateFlat(int start, const std::string& formula) {
    std::string text = formula;
    for (int pass = 0; pass < 3; ++pass) {
        int pos = start + 1;
        while (pos <= static_cast<int>(text.size())) {
            if (!IsPassOperator(pass, text, pos)) {
                ++pos;
                continue;
            }
            const int length = static_cast<int>(text.size());
            const char op = At(text, pos);
            const TOperandSplit right = ScanRightOperand(pos, length, text);
            // Both scans only read the text, so their order changes nothing.
            const TOperandSplit left = ScanLeftOperand(1, pos, text);
            if (ActiveFormulaObserver != nullptr) [[unlikely]]
                ActiveFormulaObserver->Operation(left.Number, op, right.Number);
            if (op == '/' && right.Number == "0") {
                LastErrorText.Set(EngineMessage::DivisionByZero);
                return FailureMarker;
            }
            text = ApplyOperator(left, right, op);
            TraceStep(TraceStage::Flat, text);
            if (IsFailureMarker(text))
                return FailureMarker;
            pos = start + 1;
        }
    }
    return text;
}

} // namespace formulon::engine
