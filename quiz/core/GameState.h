// The quiz game's plain pieces: the state's fields, the draw of a variant,
// the record decision and the hidden picture selector. The game session
// (GameSession.h) holds and uses them.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>

// The verdict of the last check; the values are the old program's bytes.
enum class TLastVerdict : std::uint8_t {
    Wrong = 0,
    Right = 1,
    None = 2, // no check since start
};

struct TGameState {
    std::uint8_t TaskNo = 0;  // 1..10 while a task is in progress; 0 before and after
    std::uint8_t Variant = 0; // 1..3 (0 before the first game)
    TLastVerdict LastVerdict = TLastVerdict::None;
    // A right answer left a task to solve: its variant is drawn when the
    // main window next becomes active, and only then. Every later
    // activation keeps the picture the pupil is solving.
    bool VariantDue = false;
};

inline constexpr int kWonTaskNo = 11;

// Replaces the random draw in tests.
using TVariantSource = std::function<int()>;

// Draws variants: uniformly 1..3, each draw independent of the last.
class TVariantDraw {
public:
    // Seeds the generator from the clock; done at each start of a game.
    void Seed();
    int Draw();
    // An empty function restores the random draw.
    void SetSource(TVariantSource source) { source_ = std::move(source); }

private:
    std::mt19937 generator_;
    TVariantSource source_;
};

// Whether a finishing time enters the table: always when slot 15 is empty,
// otherwise only when strictly smaller than slot 15's time. Raises
// EConvertError when slot 15 holds a time that is not an integer text.
bool IsRecordTime(std::int32_t seconds, const std::string& slot15Result);

// The hidden picture selector: the task and variant when both texts are
// integers within the catalogue's bounds, and nothing left due; false
// (state untouched) otherwise.
bool SelectTask(const std::string& taskText, const std::string& variantText, TGameState& state);
