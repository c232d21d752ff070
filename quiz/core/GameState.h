// The quiz game's state and rules, apart from any window.
#pragma once

#include <cstdint>
#include <functional>
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

extern TGameState GameState;

// The name entered into the champions table on a record (at most 255
// characters, code page 1251).
extern std::string PlayerName;

inline constexpr int kWonTaskNo = 11;

// The start values: no game, no verdict, no player.
void ResetGameState();

// Seeds the variant generator from the clock; done at each start of a game.
void SeedVariantGenerator();

// A uniformly random variant 1..3, independent of the previous one.
int DrawVariant();

// Test seam: replaces the random draw (an empty function restores it).
using TVariantSource = std::function<int()>;
void SetVariantSource(TVariantSource source);

// Whether a finishing time enters the table: always when slot 15 is empty,
// otherwise only when strictly smaller than slot 15's time. Raises
// EConvertError when slot 15 holds a time that is not an integer text.
bool IsRecordTime(const std::string& gameTime, const std::string& slot15Result);

// The hidden picture selector: the task and variant when both texts are
// integers within the catalogue's bounds, and nothing left due; false
// (state untouched) otherwise.
bool SelectTask(const std::string& taskText, const std::string& variantText, TGameState& state);
