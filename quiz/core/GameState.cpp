#include "quiz/core/GameState.h"

#include <chrono>
#include <random>

#include "engine/IntegerText.h"
#include "quiz/core/TaskCatalogue.h"

using namespace formulon::engine;

TGameState GameState;
std::string PlayerName;

namespace {

std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}

TVariantSource& VariantSource() {
    static TVariantSource source;
    return source;
}

} // namespace

void ResetGameState() {
    GameState = TGameState{};
    PlayerName.clear();
}

void SeedVariantGenerator() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                       std::chrono::system_clock::now().time_since_epoch().count();
    Generator().seed(static_cast<std::mt19937::result_type>(ticks));
}

int DrawVariant() {
    if (VariantSource())
        return VariantSource()();
    std::uniform_int_distribution<int> variants(1, kVariantCount);
    return variants(Generator());
}

void SetVariantSource(TVariantSource source) {
    VariantSource() = std::move(source);
}

bool IsRecordTime(const std::string& gameTime, const std::string& slot15Result) {
    if (slot15Result.empty())
        return true;
    const std::int32_t time = StrToInt(gameTime);
    return time < StrToInt(slot15Result);
}

bool SelectTask(const std::string& taskText, const std::string& variantText, TGameState& state) {
    std::int32_t task = 0, variant = 0;
    if (!TryStrToInt(taskText, task) || !TryStrToInt(variantText, variant) ||
        !IsValidTask(task, variant))
        return false;
    state.TaskNo = static_cast<std::uint8_t>(task);
    state.Variant = static_cast<std::uint8_t>(variant);
    state.VariantDue = false;
    return true;
}
