// The built-in functions: one table that the engine applies and that every
// reading of a formula (the tutor's reading, its hints, its words) reads,
// so that a name is known, or hinted, in one place.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace formulon::engine {

enum class TFunctionId { Sin, Cos, Tan, Atn, Log, Sqr, Exp, Abs };

// Where a function meets degrees: sin, cos and tan take their argument in
// degrees, atn gives its value in degrees.
enum class TDegrees { None, Argument, Value };

struct TBuiltInFunction {
    TFunctionId Id;
    std::string_view Name; // lower-case Latin letters, compared exactly, case included
    int Arity;             // arguments, all in the one bracket group after the name
    TDegrees Degrees;
    // What school writes for it, blank-separated ("tg" for tan): the names
    // a hint maps to Name. Russian names are the hints' own.
    std::string_view SchoolNames;
};

// The eight functions, in the order the engine's help texts list them.
std::span<const TBuiltInFunction> BuiltInFunctions();

// The function called 'name', or nullptr: a name not in the table is
// refused ("Замечен неизвестный оператор").
const TBuiltInFunction* FindBuiltInFunction(std::string_view name);

// The names of a blank-separated list, such as SchoolNames.
std::vector<std::string_view> SplitNames(std::string_view list);

} // namespace formulon::engine
