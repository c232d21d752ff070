// Speed of FormulaValue on the reference formulas and on the worst answers
// we could construct for the answer box's 32,767 characters, and of checking
// and explaining those answers.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/LongAnswers.h"
#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "engine/Formula.h"
#include "engine/NumberText.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/ExplanationTexts.h"
#include "quiz/core/TaskCatalogue.h"

using namespace formulon::engine;

namespace {

void EvaluateOnce(const std::string& formula) {
    LastErrorText.Clear();
    try {
        benchmark::DoNotOptimize(FormulaValue(formula));
    } catch (const Exception&) {
        // A raised error is an outcome like any other here.
    }
}

void BM_ReferenceFormula(benchmark::State& state) {
    const std::string formula(ReferenceFormulas.Row(static_cast<int>(state.range(0))).Formula);
    state.SetLabel(formula);
    for (auto _ : state)
        EvaluateOnce(formula);
}
BENCHMARK(BM_ReferenceFormula)
    ->DenseRange(0, ReferenceFormulas.EntryCount() - 1)
    ->Unit(benchmark::kMicrosecond);

void BM_LongAnswer(benchmark::State& state) {
    const std::string answer = bench::LongAnswer(static_cast<int>(state.range(0)));
    state.SetLabel(std::to_string(answer.size()) + " characters");
    for (auto _ : state)
        EvaluateOnce(answer);
}
BENCHMARK(BM_LongAnswer)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

// The same answers checked as the quiz checks them, recording the steps, and
// explained in words: the record is bounded, so the peak memory stays small
// (run under /usr/bin/time -v with --benchmark_filter=ExplainLongAnswer).
void BM_ExplainLongAnswer(benchmark::State& state) {
    const std::string answer = bench::LongAnswer(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        LastErrorText.Clear();
        TCheckRecord check;
        try {
            RunCheck(check, 1, 1, answer);
        } catch (const Exception&) {
            // Explained like any other outcome.
        }
        // Every text the window shows, as formulon-eval --explain prints them.
        benchmark::DoNotOptimize(ExplanationTexts(check));
    }
}
BENCHMARK(BM_ExplainLongAnswer)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    InitFloatingPointEnvironment();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
