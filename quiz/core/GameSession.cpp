#include "quiz/core/GameSession.h"

#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Cp1251.h"
#include "engine/IntegerText.h"
#include "engine/NumberText.h"
#include "engine/ShortText.h"

#include <utility>

using namespace formulon::engine;

bool TGameSession::Start(const std::string& playerName) {
    if (playerName.empty())
        return false;
    seconds_ = 0;
    ++games_;
    playerName_ = ShortText(playerName);
    draw_.Seed();
    state_.TaskNo = 1;
    state_.Variant = static_cast<std::uint8_t>(draw_.Draw(state_.TaskNo));
    state_.VariantDue = false;
    clockRunning_ = true;
    hasLastCheck_ = false;
    return true;
}

void TGameSession::PlayTasks(const TTaskTable& tasks) {
    tasks_ = &tasks;
    draw_.UseTasks(tasks);
    state_ = {};
    hasLastCheck_ = false;
    lastOutcome_.reset();
}

bool TGameSession::Activate() {
    if (!state_.VariantDue)
        return false;
    state_.VariantDue = false;
    state_.Variant = static_cast<std::uint8_t>(draw_.Draw(state_.TaskNo));
    return true;
}

void TGameSession::Tick() {
    if (!clockRunning_)
        return;
    // Counts on past the largest time as the old program did, wrapping round.
    seconds_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds_) + 1u);
}

bool TGameSession::TaskInProgress() const {
    return tasks_->Has(state_.TaskNo, state_.Variant);
}

std::optional<TCheckOutcome> TGameSession::Check(const std::string& answer) {
    if (!TaskInProgress())
        return std::nullopt; // nothing to check against
    hasLastCheck_ = true;
    const bool right = RunCheck(lastCheck_, *tasks_, state_.TaskNo, state_.Variant, answer);
    TCheckOutcome outcome = right ? RightAnswer() : WrongAnswer();
    if (!outcome.SortFault)
        lastOutcome_ = outcome;
    return outcome;
}

TCheckOutcome TGameSession::RightAnswer() {
    TCheckOutcome outcome;
    // The game is won after the table's last task.
    const bool won = state_.TaskNo == tasks_->TaskCount();
    ++state_.TaskNo;
    // Drawn once, as the pupil comes back to the next task; a won game has
    // no next task.
    state_.VariantDue = !won;
    if (won) {
        outcome.Verdict = TVerdict::Win;
        // The game is over before the record decision: a hand-made slot
        // time that does not convert must not leave a task past the last
        // behind.
        state_.TaskNo = 0;
        if (holdRecords_)
            heldWin_ = THeldWin{playerName_, seconds_, games_};
        else
            DecideRecord(outcome, playerName_, seconds_, true);
        if (outcome.SortFault)
            return outcome;
    }
    state_.LastVerdict = TLastVerdict::Right;
    return outcome;
}

std::optional<TCheckOutcome> TGameSession::DecideHeldRecord() {
    holdRecords_ = false;
    if (!heldWin_)
        return std::nullopt;
    const THeldWin win = *std::exchange(heldWin_, std::nullopt);
    TCheckOutcome outcome;
    outcome.Verdict = TVerdict::Win;
    DecideRecord(outcome, win.name, win.seconds, win.game == games_);
    return outcome;
}

void TGameSession::DecideRecord(TCheckOutcome& outcome, const std::string& name,
                                std::int32_t seconds, bool clockOfThisGame) {
    TChampionRecord& last = ChampionTable[kRankingSlots];
    if (!IsRecordTime(seconds, last.Result()))
        return; // the clock runs on
    last.SetName(name);
    last.SetResult(IntToStr(seconds));
    // What the saves add to the file, whatever the table holds by then.
    RunRecords.Enter(last);
    outcome.Record = true;
    if (clockOfThisGame) {
        clockRunning_ = false;
        seconds_ = 0;
    }
    try {
        SortChampions();
    } catch (...) {
        outcome.SortFault = std::current_exception();
    }
}

TCheckOutcome TGameSession::WrongAnswer() {
    TCheckOutcome outcome;
    outcome.Verdict = TVerdict::Wrong;
    outcome.Comment = LastErrorText.Read();
    state_.LastVerdict = TLastVerdict::Wrong;
    state_.VariantDue = false;
    return outcome;
}

void TGameSession::LeaveVerdict() {
    LastErrorText.Clear();
}

bool TGameSession::SelectTask(const std::string& taskText, const std::string& variantText) {
    return ::SelectTask(taskText, variantText, state_, *tasks_);
}

std::string TGameSession::VerdictComment() const {
    if (lastOutcome_ && lastOutcome_->Verdict != TVerdict::Wrong)
        return Utf8ToCp1251("Превосходно!");
    if (LastErrorText.Empty())
        return Utf8ToCp1251("Где-то есть ошибка");
    return lastOutcome_ ? lastOutcome_->Comment.value_or(std::string()) : std::string();
}

std::string TGameSession::BestTime() {
    return ChampionTable[1].Result();
}
