#include "quiz/core/GameState.h"

#include <chrono>

#include "engine/IntegerText.h"

using namespace formulon::engine;

void TVariantDraw::Seed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                       std::chrono::system_clock::now().time_since_epoch().count();
    generator_.seed(static_cast<std::mt19937::result_type>(ticks));
}

int TVariantDraw::Draw(int task) {
    if (source_)
        return source_(task);
    std::uniform_int_distribution<int> variants(1, tasks_->VariantCount(task));
    return variants(generator_);
}

bool IsRecordTime(std::int32_t seconds, const std::string& slot15Result) {
    return slot15Result.empty() || seconds < StrToInt(slot15Result);
}

bool SelectTask(const std::string& taskText, const std::string& variantText, TGameState& state,
                const TTaskTable& tasks) {
    std::int32_t task = 0, variant = 0;
    if (!TryStrToInt(taskText, task) || !TryStrToInt(variantText, variant) ||
        !tasks.Has(task, variant))
        return false;
    state.TaskNo = static_cast<std::uint8_t>(task);
    state.Variant = static_cast<std::uint8_t>(variant);
    state.VariantDue = false;
    return true;
}
