// The quiz game's plain pieces: the state's fields, the draw of a variant,
// the record decision and the hidden picture selector. The game session
// (GameSession.h) holds and uses them.
#pragma once

#include "quiz/core/TaskCatalogue.h"

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
    std::uint8_t TaskNo =
        0; // 1..the table's last task while one is in progress; 0 before and after
    std::uint8_t Variant = 0; // 1..the task's variants (0 before the first game)
    TLastVerdict LastVerdict = TLastVerdict::None;
    // A right answer left a task to solve: its variant is drawn when the
    // main window next becomes active, and only then. Every later
    // activation keeps the picture the pupil is solving.
    bool VariantDue = false;
};

// Replaces the random draw in tests: the variant for the task given.
using TVariantSource = std::function<int(int task)>;

// Draws a task's variant: uniformly from 1 to the task's variants in the
// table (1..3 for every standard task), each draw independent of the last.
class TVariantDraw {
public:
    // 'tasks' outlives the draw.
    explicit TVariantDraw(const TTaskTable& tasks = ReferenceFormulas) : tasks_(&tasks) {}
    // Seeds the generator from the clock; done at each start of a game.
    void Seed();
    // 'task' must be one of the table's.
    int Draw(int task);
    // Draws from another table from now on; it outlives the draw.
    void UseTasks(const TTaskTable& tasks) { tasks_ = &tasks; }
    // An empty function restores the random draw.
    void SetSource(TVariantSource source) { source_ = std::move(source); }

private:
    const TTaskTable* tasks_;
    std::mt19937 generator_;
    TVariantSource source_;
};

// Whether a finishing time enters the table: always when slot 15 is empty,
// otherwise only when strictly smaller than slot 15's time. Raises
// EConvertError when slot 15 holds a time that is not an integer text.
bool IsRecordTime(std::int32_t seconds, const std::string& slot15Result);

// The hidden picture selector: the task and variant when both texts are
// integers naming a line of the table, and nothing left due; false (state
// untouched) otherwise.
bool SelectTask(const std::string& taskText, const std::string& variantText, TGameState& state,
                const TTaskTable& tasks = ReferenceFormulas);
