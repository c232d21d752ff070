#include "engine/Normalize.h"

#include "engine/EngineMessages.h"
#include "engine/NumberText.h"

namespace formulon::engine {

std::string SubstituteVariables(const std::string& formula) {
    std::string result;
    result.reserve(formula.size() + formula.size() / 2);
    for (char c : formula) {
        if (c == 'z')
            result += "(11)";
        else if (c == 'y')
            result += "(7)";
        else
            result += c;
    }
    return result;
}

std::string NormalizeFormula(const std::string& formula) {
    // The comma check sees the text as handed in, before any '.' becomes ','.
    if (formula.find(',') != std::string::npos) {
        LastErrorText.Set(EngineMessage::Comma);
        return FailureMarker;
    }
    std::string result;
    result.reserve(formula.size());
    for (char c : formula) {
        if (c == ' ')
            continue;
        result += c == '.' ? ',' : c;
    }
    return result;
}

} // namespace formulon::engine
