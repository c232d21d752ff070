// The explanation of a check ("Разбор ответа", formulon-eval --explain) on
// arbitrary answers, against every task: it always ends, with steps, and
// every place it marks lies in the answer or just past its end. A crash, a
// sanitizer report or an input slower than the run's limit fails.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Errors.h"
#include "engine/FloatEnv.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/ExplanationTexts.h"
#include "quiz/core/TaskCatalogue.h"

using namespace formulon::engine;

namespace {

void CheckPlaces(const TExplanationTexts& texts, int size) {
    if (texts.Steps.empty() || texts.Comparison.empty())
        __builtin_trap();
    for (const int at : texts.Marks)
        if (at < 1 || at > size + 1)
            __builtin_trap();
    for (const TPlacedText& hint : texts.Hints)
        if (hint.Position < 1 || hint.Position > size + 1 || hint.Text.empty())
            __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The answer box holds at most 32,767 characters.
    if (size > 32767)
        return -1;
    const std::string answer(reinterpret_cast<const char*>(data), size);
    TCheckRecord check;
    for (const TTaskRow& row : ReferenceFormulas.Rows()) {
        const TKeptErrorText kept;
        try {
            RunCheck(check, row.Task, row.Variant, answer);
        } catch (const Exception&) {
            // Recorded, as the quiz records a check its error box ends.
        }
        CheckPlaces(ExplanationTexts(check), static_cast<int>(size));
    }
    return 0;
}
