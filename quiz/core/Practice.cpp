#include "quiz/core/Practice.h"

#include "engine/Errors.h"
#include "quiz/core/GameSession.h"

#include <algorithm>

using namespace formulon::engine;

namespace {

// A wrong answer that holds a variable and is new for the task counts
// towards the sample; once it is due, nothing more need be kept.
void CountTry(TPracticeMark& mark, const std::string& answer) {
    if (answer.find_first_of("yz") == std::string::npos ||
        mark.CountedTries.size() >= kTriesBeforeSample)
        return;
    const std::uint32_t fingerprint = TryFingerprint(answer);
    if (std::find(mark.CountedTries.begin(), mark.CountedTries.end(), fingerprint) ==
        mark.CountedTries.end())
        mark.CountedTries.push_back(fingerprint);
}

} // namespace

void TPracticeSession::PractiseSet(const TTaskTable& tasks, std::string setName) {
    tasks_ = &tasks;
    setName_ = std::move(setName);
    chosen_ = 0;
}

std::string TPracticeSession::ProgressName(int entry) const {
    return PracticeProgressName(setName_, tasks_->PictureName(entry));
}

bool TPracticeSession::Available() const {
    return !quiz_.TaskInProgress();
}

const TPracticeMark& TPracticeSession::MarkOf(int entry) const {
    return progress_.Mark(ProgressName(entry));
}

bool TPracticeSession::Choose(int entry) {
    if (entry < 0 || entry >= tasks_->EntryCount())
        return false;
    chosen_ = entry;
    return true;
}

int TPracticeSession::FirstUnsolved() const {
    for (int entry = 0; entry < tasks_->EntryCount(); ++entry)
        if (!MarkOf(entry).Solved)
            return entry;
    return 0;
}

std::optional<int> TPracticeSession::NextUnsolved() const {
    const int entries = tasks_->EntryCount();
    for (int step = 1; step < entries; ++step) {
        const int entry = (chosen_ + step) % entries;
        if (!MarkOf(entry).Solved)
            return entry;
    }
    return std::nullopt;
}

std::optional<TPracticeCheck> TPracticeSession::Check(const std::string& answer) {
    if (!Available() || answer.find_first_not_of(" \t") == std::string::npos)
        return std::nullopt;
    TPracticeCheck check;
    {
        // The quiz's message stays whatever this check writes or raises.
        TKeptErrorText kept;
        try {
            check.Right =
                RunCheck(check.Record, *tasks_, ChosenRow().Task, ChosenRow().Variant, answer);
        } catch (const Exception&) {
            // Kept in the record, which explains it; a wrong check here,
            // never the quiz's error box.
            check.Right = false;
        }
    }
    TPracticeMark& mark = progress_.Mark(ProgressName(chosen_));
    if (check.Right) {
        mark.Solved = true;
    } else {
        mark.WrongChecks = std::min(mark.WrongChecks + 1, kMaxWrongChecks);
        CountTry(mark, answer);
    }
    return check;
}

bool TPracticeSession::SampleAvailable() const {
    return Available() && ChosenMark().CountedTries.size() >= kTriesBeforeSample;
}

std::optional<std::string> TPracticeSession::Sample() const {
    if (!SampleAvailable())
        return std::nullopt;
    return std::string(ChosenRow().Formula);
}
