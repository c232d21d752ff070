// One game of the quiz, apart from any window: the player, the task and its
// variant, the clock, the check of an answer and what it leads to. The main
// and verdict windows hand it the pupil's actions and show what it says.
// Texts are code page 1251.
#pragma once

#include "quiz/core/CheckRecord.h"
#include "quiz/core/GameState.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

enum class TVerdict {
    Right, // "Ответ правильный."
    Win,   // "Превосходно!!! Вы победили"
    Wrong, // "Ответ не верный. Стоит подумать"
};

// What a check ended in.
struct TCheckOutcome {
    TVerdict Verdict = TVerdict::Right;
    // LastErrorText after a wrong answer, as the check left it; none after
    // a right one.
    std::optional<std::string> Comment;
    // The finishing time entered slot 15 and the table was sorted: the
    // clock has stopped at 0 and no task is left.
    bool Record = false;
    // An error raised by the sort after the record's entry: the windows act
    // on the record first, then raise it, and no verdict is given.
    std::exception_ptr SortFault;
};

class TGameSession {
public:
    // A game of the tasks of 'tasks', which outlives the session: the
    // standard table, unless a test plays another.
    explicit TGameSession(const TTaskTable& tasks = ReferenceFormulas)
        : tasks_(&tasks), draw_(tasks) {}

    // "Начать": a new game for the player (cut to 255 characters), task 1
    // with a freshly drawn variant, the clock at 0 and running (a running
    // clock goes on), no check yet. False, and nothing changes, when the
    // name is empty.
    bool Start(const std::string& playerName);

    // The main window became active. The first activation after a right
    // answer that left a task draws that task's variant; every other one
    // keeps the task and its picture. True when a variant was drawn.
    bool Activate();

    // One second of the clock, when it runs.
    void Tick();

    // "Проверить": the check of the answer against the task in progress,
    // recorded as the last check, and what it leads to. None while no task
    // is in progress (before a game, after a win). Raises what the
    // evaluations raise, with nothing changed but the last check and
    // LastErrorText; after a win, raises EConvertError when slot 15 holds a
    // time that is not an integer, the game being over by then.
    std::optional<TCheckOutcome> Check(const std::string& answer);

    // "Далее" in the verdict window: the check's message is done with.
    void LeaveVerdict();

    // The hidden picture selector: false, and nothing changes, unless the
    // texts name a task of the table.
    bool SelectTask(const std::string& taskText, const std::string& variantText);

    const TTaskTable& Tasks() const { return *tasks_; }
    // The tasks of the games to come (a set loaded, or the standard table
    // again when its pictures were refused), which outlive the session. The
    // game in progress, if any, ends: its task may be none of theirs.
    void PlayTasks(const TTaskTable& tasks);
    int TaskNo() const { return state_.TaskNo; }
    int Variant() const { return state_.Variant; }
    TLastVerdict LastVerdict() const { return state_.LastVerdict; }
    const std::string& PlayerName() const { return playerName_; }
    bool TaskInProgress() const;
    std::int32_t Seconds() const { return seconds_; }
    bool ClockRunning() const { return clockRunning_; }

    // The last check of the game in progress (or just won), or null before
    // its first check: a new game has nothing to explain yet.
    const TCheckRecord* LastCheck() const { return hasLastCheck_ ? &lastCheck_ : nullptr; }
    // The outcome of the last check that gave a verdict, for the verdict
    // window; null before the first one.
    const TCheckOutcome* LastOutcome() const { return lastOutcome_ ? &*lastOutcome_ : nullptr; }
    // The comment the verdict window shows as it becomes active: praise
    // after a right answer; after a wrong one the check's message, or
    // "Где-то есть ошибка" once LastErrorText is empty.
    std::string VerdictComment() const;
    // The time of the table's first place, or empty.
    static std::string BestTime();

    // While the champions table is still being read (another copy held its
    // lock at start), a win keeps its name and time instead of deciding the
    // record; once the table is read, DecideHeldRecord decides it as the win
    // would have, or returns nothing when no win waited.
    void HoldRecordDecisions(bool hold) { holdRecords_ = hold; }
    std::optional<TCheckOutcome> DecideHeldRecord();

    // Test seam: replaces the random draw of variants.
    void SetVariantSource(TVariantSource source) { draw_.SetSource(std::move(source)); }

private:
    TCheckOutcome RightAnswer();
    TCheckOutcome WrongAnswer();
    void DecideRecord(TCheckOutcome& outcome, const std::string& name, std::int32_t seconds,
                      bool clockOfThisGame);

    const TTaskTable* tasks_;
    TGameState state_;
    std::string playerName_;
    std::int32_t seconds_ = 0;
    bool clockRunning_ = false;
    TCheckRecord lastCheck_;
    bool hasLastCheck_ = false;
    std::optional<TCheckOutcome> lastOutcome_;
    TVariantDraw draw_;
    bool holdRecords_ = false;
    struct THeldWin {
        std::string name;
        std::int32_t seconds;
        int game; // the clock is this game's only while no new one started
    };
    std::optional<THeldWin> heldWin_;
    int games_ = 0;
};
