#include "quiz/core/Practice.h"

#include "engine/Errors.h"
#include "quiz/core/GameSession.h"
#include "quiz/core/TaskCatalogue.h"

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

int PracticeTaskNo(int entry) {
    return entry / kVariantCount + 1;
}

int PracticeVariant(int entry) {
    return entry % kVariantCount + 1;
}

bool TPracticeSession::Available() const {
    return !quiz_.TaskInProgress();
}

bool TPracticeSession::Choose(int entry) {
    if (entry < 0 || entry >= kPracticeTasks)
        return false;
    chosen_ = entry;
    return true;
}

int TPracticeSession::FirstUnsolved() const {
    for (int entry = 0; entry < kPracticeTasks; ++entry)
        if (!progress_.Marks[entry].Solved)
            return entry;
    return 0;
}

std::optional<int> TPracticeSession::NextUnsolved() const {
    for (int step = 1; step < kPracticeTasks; ++step) {
        const int entry = (chosen_ + step) % kPracticeTasks;
        if (!progress_.Marks[entry].Solved)
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
                RunCheck(check.Record, PracticeTaskNo(chosen_), PracticeVariant(chosen_), answer);
        } catch (const Exception&) {
            // Kept in the record, which explains it; a wrong check here,
            // never the quiz's error box.
            check.Right = false;
        }
    }
    TPracticeMark& mark = progress_.Marks[chosen_];
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
    return ReferenceFormula(PracticeTaskNo(chosen_), PracticeVariant(chosen_));
}
