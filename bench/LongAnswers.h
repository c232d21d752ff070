// The worst answers we could construct for the answer box's 32,767
// characters, for the engine's speed and for the explanation's memory.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

constexpr std::size_t kAnswerLimit = 32767;
constexpr int kLongAnswerKinds = 8;

// 'unit' repeated 'count' times.
inline std::string Repeat(const std::string& unit, std::size_t count) {
    std::string text;
    text.reserve(unit.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        text += unit;
    return text;
}

inline std::string LongAnswer(int kind) {
    switch (kind) {
    case 0: { // deepest nesting
        const std::size_t depth = (kAnswerLimit - 1) / 2;
        return Repeat("(", depth) + "1" + Repeat(")", depth);
    }
    case 1: // as many groups as fit, each put back behind a sign
        return "0" + Repeat("+(1)", (kAnswerLimit - 1) / 4);
    case 2: { // nested functions
        const std::size_t depth = (kAnswerLimit - 1) / 5;
        return Repeat("sin(", depth) + "1" + Repeat(")", depth);
    }
    case 3: // one flat sum
        return "1" + Repeat("+1", (kAnswerLimit - 1) / 2);
    case 4: { // sign flips behind minus
        const std::size_t depth = (kAnswerLimit - 2) / 3;
        return Repeat("-(", depth) + "-1" + Repeat(")", depth);
    }
    case 5: // one long number behind a group
        return "(" + Repeat("9", kAnswerLimit - 4) + ")+1";
    case 6: // groups that each scan far for their closing bracket
        return Repeat("(1+", (kAnswerLimit - 1) / 4) + "1" + Repeat(")", (kAnswerLimit - 1) / 4);
    default: // variables expand three- and fourfold
        return "y" + Repeat("*z", (kAnswerLimit - 1) / 2);
    }
}

} // namespace bench
