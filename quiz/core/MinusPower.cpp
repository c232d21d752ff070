#include "quiz/core/MinusPower.h"

#include "engine/Cp1251.h"
#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/FormulaTrace.h"
#include "engine/NumberText.h"
#include "quiz/core/FormulaReading.h"

#include <algorithm>
#include <exception>

using namespace formulon::engine;

namespace {

// Each subtracted power costs one more evaluation: a check stays short
// however many an answer holds, and however long it is (the longest task
// is under a hundred characters).
constexpr std::size_t kMostPowersTried = 8;
constexpr std::size_t kLongestAnswerTried = 1000;

// The operand a product or quotient starts with, down to its first factor.
const TReadNode& LeadingFactor(const TFormulaReading& reading, int index) {
    const TReadNode* node = &reading.Nodes[static_cast<std::size_t>(index)];
    while (node->kind == TReadKind::Mul || node->kind == TReadKind::Div) {
        const int first = node->kind == TReadKind::Mul ? node->items.front() : node->a;
        node = &reading.Nodes[static_cast<std::size_t>(first)];
    }
    return *node;
}

// Keeps the evaluation from any observer while it lives.
class TUnwatched {
public:
    TUnwatched() : previous_(ActiveFormulaObserver) { ActiveFormulaObserver = nullptr; }
    ~TUnwatched() { ActiveFormulaObserver = previous_; }
    TUnwatched(const TUnwatched&) = delete;
    TUnwatched& operator=(const TUnwatched&) = delete;

private:
    FormulaObserver* previous_;
};

void RestoreRegister(const std::string& saved) {
    if (saved.empty())
        LastErrorText.Clear();
    else
        LastErrorText.Set(saved);
}

} // namespace

std::vector<TSubtractedPower> SubtractedPowers(const std::string& typed) {
    std::vector<TSubtractedPower> powers;
    const TFormulaReading reading = ReadFormula(typed);
    if (!reading.Read)
        return powers;
    for (const TReadNode& node : reading.Nodes) {
        if (node.kind != TReadKind::Sum)
            continue;
        for (std::size_t i = 0; i < node.ops.size(); ++i) {
            const TReadNode& term = LeadingFactor(reading, node.items[i + 1]);
            if (node.ops[i] == '-' && term.kind == TReadKind::Pow)
                powers.push_back({node.opAt[i], term.from, term.to});
        }
    }
    std::sort(powers.begin(), powers.end(),
              [](const auto& a, const auto& b) { return a.MinusAt < b.MinusAt; });
    return powers;
}

std::string WithPowerBracketed(const std::string& typed, const TSubtractedPower& power) {
    const auto from = static_cast<std::size_t>(power.From - 1);
    const auto to = static_cast<std::size_t>(power.To);
    return typed.substr(0, from) + "(" + typed.substr(from, to - from) + ")" + typed.substr(to);
}

bool QuietFormulaValue(const std::string& formula, std::string& value) {
    const std::string saved = LastErrorText.Read();
    const TUnwatched unwatched;
    bool returned = true;
    try {
        value = FormulaValue(formula);
    } catch (const std::exception&) {
        returned = false;
    }
    RestoreRegister(saved);
    ClearFloatingPointFlags();
    return returned;
}

std::vector<int> MinusPowerPositions(const std::string& typed, const std::string& value) {
    std::vector<int> positions;
    if (typed.size() > kLongestAnswerTried)
        return positions;
    std::vector<TSubtractedPower> powers = SubtractedPowers(typed);
    if (powers.size() > kMostPowersTried)
        powers.resize(kMostPowersTried);
    for (const TSubtractedPower& power : powers) {
        // A bracketed answer that raises tells nothing about the value.
        std::string bracketed;
        if (QuietFormulaValue(WithPowerBracketed(typed, power), bracketed) && bracketed != value)
            positions.push_back(power.MinusAt);
    }
    return positions;
}

const std::string& MinusPowerNoteText() {
    static const std::string text =
        Utf8ToCp1251("минус перед степенью программа относит к основанию: 10-2^2 = 104");
    return text;
}
