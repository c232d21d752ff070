#include "engine/Functions.h"

#include <algorithm>

namespace formulon::engine {

namespace {

constexpr TBuiltInFunction kFunctions[] = {
    {TFunctionId::Sin, "sin", 1, TDegrees::Argument, ""},
    {TFunctionId::Cos, "cos", 1, TDegrees::Argument, ""},
    {TFunctionId::Tan, "tan", 1, TDegrees::Argument, "tg"},
    {TFunctionId::Atn, "atn", 1, TDegrees::Value, "arctg arctan atan"},
    {TFunctionId::Log, "log", 1, TDegrees::None, "ln"},
    {TFunctionId::Sqr, "sqr", 1, TDegrees::None, "sqrt"},
    {TFunctionId::Exp, "exp", 1, TDegrees::None, ""},
    {TFunctionId::Abs, "abs", 1, TDegrees::None, ""},
};

} // namespace

std::span<const TBuiltInFunction> BuiltInFunctions() {
    return kFunctions;
}

std::vector<std::string_view> SplitNames(std::string_view list) {
    std::vector<std::string_view> names;
    for (std::size_t from = 0; from < list.size();) {
        const std::size_t blank = std::min(list.find(' ', from), list.size());
        if (blank > from)
            names.push_back(list.substr(from, blank - from));
        from = blank + 1;
    }
    return names;
}

const TBuiltInFunction* FindBuiltInFunction(std::string_view name) {
    for (const TBuiltInFunction& function : kFunctions)
        if (function.Name == name)
            return &function;
    return nullptr;
}

} // namespace formulon::engine
