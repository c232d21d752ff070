#include "quiz/core/SchoolReading.h"

#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Functions.h"
#include "engine/NumberText.h"
#include "engine/X87Functions.h"

#include <cmath>

using namespace formulon::engine;

namespace {

// Past this many degrees the tangent cannot be worked out at all: the
// processor takes no argument of 2^63 radians or more.
constexpr long double kLargestTangent = 9e19L;

TSchoolValue None() {
    return {};
}

TSchoolValue Of(long double value) {
    if (!std::isfinite(value))
        return None();
    return {true, value};
}

// A number as typed: digits with at most one point.
TSchoolValue Literal(std::string text) {
    for (char& c : text)
        if (c == '.')
            c = ',';
    try {
        return Of(ParseNumber(text));
    } catch (const Exception&) {
        return None(); // beyond the range a number can hold
    }
}

long double Radians(long double degrees) {
    return degrees * FpuPi() / 180;
}

// An odd multiple of 90 degrees: no tangent there.
bool RightAngle(long double degrees) {
    return std::fmod(std::fabs(degrees) - 90, 180) == 0;
}

// a to the power b in real numbers.
TSchoolValue RealPower(long double a, long double b) {
    if (b == 0)
        return Of(1); // as the program has it, 0^0 included
    if (a == 0)
        return b > 0 ? Of(0) : None();
    if (a < 0 && b != std::trunc(b))
        return None();
    return Of(std::pow(a, b));
}

} // namespace

TSchoolValue TSchoolReading::NodeAt(int node, long double y, long double z) const {
    const TSchoolValue value = Value(node, {y, z});
    ClearFloatingPointFlags();
    return value;
}

TSchoolValue TSchoolReading::Value(int index, const TPoint& at) const {
    const TReadNode& node = reading_.Nodes[static_cast<std::size_t>(index)];
    switch (node.kind) {
    case TReadKind::Num:
        return Literal(node.text);
    case TReadKind::Var:
        return Of(node.text == "y" ? at.Y : at.Z);
    case TReadKind::Group:
    case TReadKind::Pos:
        return Value(node.a, at);
    case TReadKind::Neg: {
        const TSchoolValue inside = Value(node.a, at);
        return inside.Defined ? Of(-inside.Value) : None();
    }
    case TReadKind::Func:
        return Function(node, at);
    case TReadKind::Pow:
        return Power(node, at);
    case TReadKind::Mul:
    case TReadKind::Div:
        return Product(node, at);
    case TReadKind::Sum:
        return Sum(node, at);
    }
    return None();
}

TSchoolValue TSchoolReading::Function(const TReadNode& node, const TPoint& at) const {
    const TSchoolValue argument = Value(node.a, at);
    const TBuiltInFunction* function = FindBuiltInFunction(node.text);
    if (!argument.Defined || function == nullptr)
        return None();
    const long double x = argument.Value;
    switch (function->Id) {
    case TFunctionId::Sin:
        return Of(FpuSin(Radians(x)));
    case TFunctionId::Cos:
        return Of(FpuCos(Radians(x)));
    case TFunctionId::Tan:
        return RightAngle(x) || std::fabs(x) > kLargestTangent ? None() : Of(FpuTan(Radians(x)));
    case TFunctionId::Atn:
        return Of(FpuArcTan(x) * 180 / FpuPi());
    case TFunctionId::Log:
        return x > 0 ? Of(FpuLn(x)) : None();
    case TFunctionId::Sqr:
        return x >= 0 ? Of(FpuSqrt(x)) : None();
    case TFunctionId::Exp:
        return Of(FpuExp(x));
    case TFunctionId::Abs:
        break;
    }
    return Of(std::fabs(x));
}

// A sign written before a power's base belongs, in school, to the whole
// power: -a^2 is -(a^2).
TSchoolValue TSchoolReading::Power(const TReadNode& node, const TPoint& at) const {
    int base = node.a;
    long double sign = 1;
    const TReadNode& written = reading_.Nodes[static_cast<std::size_t>(base)];
    if (written.kind == TReadKind::Neg || written.kind == TReadKind::Pos) {
        sign = written.kind == TReadKind::Neg ? -1 : 1;
        base = written.a;
    }
    const TSchoolValue a = Value(base, at);
    const TSchoolValue b = Value(node.b, at);
    if (!a.Defined || !b.Defined)
        return None();
    const TSchoolValue power = RealPower(a.Value, b.Value);
    return power.Defined ? Of(sign * power.Value) : None();
}

TSchoolValue TSchoolReading::Sum(const TReadNode& node, const TPoint& at) const {
    TSchoolValue sum = Value(node.items.front(), at);
    for (std::size_t i = 1; i < node.items.size() && sum.Defined; ++i) {
        const TSchoolValue term = Value(node.items[i], at);
        if (!term.Defined)
            return None();
        sum = Of(node.ops[i - 1] == '-' ? sum.Value - term.Value : sum.Value + term.Value);
    }
    return sum;
}

TSchoolValue TSchoolReading::Product(const TReadNode& node, const TPoint& at) const {
    if (node.kind == TReadKind::Div) {
        const TSchoolValue a = Value(node.a, at);
        const TSchoolValue b = Value(node.b, at);
        if (!a.Defined || !b.Defined || b.Value == 0)
            return None();
        return Of(a.Value / b.Value);
    }
    long double product = 1;
    for (const int item : node.items) {
        const TSchoolValue factor = Value(item, at);
        if (!factor.Defined)
            return None();
        product *= factor.Value;
    }
    return Of(product);
}

bool SameSchoolValue(const TSchoolValue& a, const TSchoolValue& b, long double scale) {
    if (!a.Defined || !b.Defined)
        return a.Defined == b.Defined;
    if (a.Value == b.Value)
        return true;
    const long double size = std::fmax(std::fmax(std::fabs(a.Value), std::fabs(b.Value)), scale);
    return std::fabs(a.Value - b.Value) < 1e-9L * size;
}
