// Speed of FormulaValue on the reference formulas and on the worst answers
// we could construct for the answer box's 32,767 characters.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/NumberText.h"
#include "quiz/core/TaskCatalogue.h"

using namespace formulon::engine;

namespace {

constexpr std::size_t kAnswerLimit = 32767;

void EvaluateOnce(const std::string& formula) {
    LastErrorText.Clear();
    try {
        benchmark::DoNotOptimize(FormulaValue(formula));
    } catch (const Exception&) {
        // A raised error is an outcome like any other here.
    }
}

void BM_ReferenceFormula(benchmark::State& state) {
    FillReferenceFormulas();
    const std::string& formula = ReferenceFormulas[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(formula);
    for (auto _ : state)
        EvaluateOnce(formula);
}
BENCHMARK(BM_ReferenceFormula)->DenseRange(0, 29)->Unit(benchmark::kMicrosecond);

// Repeats 'unit' as often as it fits in the answer box, between prefix and
// suffix pieces that are repeated as often as the unit.
std::string Repeat(const std::string& unit, std::size_t count) {
    std::string text;
    text.reserve(unit.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        text += unit;
    return text;
}

std::string LongAnswer(int kind) {
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

void BM_LongAnswer(benchmark::State& state) {
    const std::string answer = LongAnswer(static_cast<int>(state.range(0)));
    state.SetLabel(std::to_string(answer.size()) + " characters");
    for (auto _ : state)
        EvaluateOnce(answer);
}
BENCHMARK(BM_LongAnswer)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    InitFloatingPointEnvironment();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
