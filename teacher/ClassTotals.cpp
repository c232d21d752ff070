#include "teacher/ClassTotals.h"

#include <algorithm>
#include <map>

namespace {

// Read lines name tasks of the table (ParseTask).
int Entry(const TTaskTable& tasks, const TReadLine& read) {
    return tasks.Entry(read.Line.Task, read.Line.Variant).value_or(-1);
}

void Count(TTally& tally, TVerdict verdict) {
    ++tally.Answers;
    if (verdict == TVerdict::Right)
        ++tally.Right;
    else if (verdict == TVerdict::Blank)
        ++tally.Blank;
    else
        ++tally.Wrong;
    if (verdict == TVerdict::Flagged)
        ++tally.Flagged;
}

TOutcome OutcomeOf(TVerdict verdict) {
    switch (verdict) {
    case TVerdict::Right:
        return TOutcome::Right;
    case TVerdict::Flagged:
        return TOutcome::Flagged;
    case TVerdict::Blank:
        return TOutcome::NotTried;
    case TVerdict::Wrong:
    case TVerdict::Unreadable:
        break;
    }
    return TOutcome::Wrong;
}

void AddSlip(std::vector<TSlip>& slips, const TJudgement& judgement) {
    const auto same = [&](const TSlip& slip) { return slip.Rule == *judgement.Slip; };
    const auto found = std::find_if(slips.begin(), slips.end(), same);
    if (found != slips.end())
        ++found->Count;
    else
        slips.push_back({*judgement.Slip, 1, judgement.Hint});
}

// The most frequent first; of equally frequent ones, the first met.
void KeepMostFrequent(std::vector<TSlip>& slips) {
    std::stable_sort(slips.begin(), slips.end(),
                     [](const TSlip& a, const TSlip& b) { return a.Count > b.Count; });
    if (slips.size() > kSlipsShown)
        slips.resize(kSlipsShown);
}

} // namespace

TClassTotals CountClass(const std::vector<TMarkedAnswer>& answers, const TTaskTable& tasks) {
    TClassTotals totals;
    totals.Table = &tasks;
    std::map<std::string, std::size_t> pupilIndex;
    std::map<int, std::size_t> taskIndex;
    for (const TMarkedAnswer& answer : answers) {
        if (!answer.Read.Attributed())
            continue;
        if (pupilIndex.emplace(answer.Read.Line.Pupil, totals.Pupils.size()).second)
            totals.Pupils.push_back(answer.Read.Line.Pupil);
        taskIndex.emplace(Entry(tasks, answer.Read), 0);
    }
    for (auto& [entry, index] : taskIndex) {
        index = totals.Tasks.size();
        totals.Tasks.push_back(entry);
    }
    totals.PupilTally.resize(totals.Pupils.size());
    totals.PupilAnswers.resize(totals.Pupils.size());
    totals.TaskTally.resize(totals.Tasks.size());
    totals.TaskSlips.resize(totals.Tasks.size());
    totals.Grid.resize(totals.Pupils.size() * totals.Tasks.size());
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const TMarkedAnswer& answer = answers[i];
        if (!answer.Read.Attributed())
            continue;
        const std::size_t pupil = pupilIndex.at(answer.Read.Line.Pupil);
        const std::size_t task = taskIndex.at(Entry(tasks, answer.Read));
        const TVerdict verdict = answer.Judgement.Verdict;
        Count(totals.PupilTally[pupil], verdict);
        Count(totals.TaskTally[task], verdict);
        totals.PupilAnswers[pupil].push_back(i);
        TCell& cell = totals.Grid[pupil * totals.Tasks.size() + task];
        cell.Tries += verdict == TVerdict::Blank ? 0 : 1;
        cell.Outcome = std::max(cell.Outcome, OutcomeOf(verdict));
        if (answer.Judgement.Slip)
            AddSlip(totals.TaskSlips[task], answer.Judgement);
    }
    for (std::vector<TSlip>& slips : totals.TaskSlips)
        KeepMostFrequent(slips);
    return totals;
}
