// What a marked class adds up to: per pupil and per task, the counts of each
// verdict; the grid of pupils and tasks with each cell's outcome and tries;
// per task, its most frequent slips by hint. Only lines whose pupil and task
// could be read count.
#pragma once

#include "teacher/Marking.h"

#include <cstddef>
#include <string>
#include <vector>

struct TTally {
    int Right = 0;
    int Wrong = 0;   // every answer neither right nor blank, the flagged and unreadable ones too
    int Flagged = 0; // of the wrong ones
    int Blank = 0;
    int Answers = 0; // Right + Wrong + Blank
};

// A cell's outcome: the best of the pupil's answers to the task.
enum class TOutcome { NotTried, Wrong, Flagged, Right };

struct TCell {
    TOutcome Outcome = TOutcome::NotTried;
    int Tries = 0; // answers that were not blank
};

// A slip is a wrong answer's first hint, counted by its rule.
struct TSlip {
    THintRule Rule;
    int Count = 0;
    std::string Hint; // the first answer's hint text (code page 1251)
};

inline constexpr std::size_t kSlipsShown = 3;

struct TClassTotals {
    const TTaskTable* Table = &ReferenceFormulas; // whose entries Tasks holds
    std::vector<std::string> Pupils;              // in the order they first appear
    std::vector<int> Tasks;         // the catalogue's entries (TTaskTable::Entry), ascending
    std::vector<TTally> PupilTally; // by Pupils
    std::vector<TTally> TaskTally;  // by Tasks
    std::vector<std::vector<TSlip>> TaskSlips; // by Tasks: the most frequent, at most kSlipsShown
    std::vector<std::vector<std::size_t>> PupilAnswers; // by Pupils: their answers' indices
    std::vector<TCell> Grid;                            // Pupils.size() rows of Tasks.size() cells

    const TCell& Cell(std::size_t pupil, std::size_t task) const {
        return Grid[pupil * Tasks.size() + task];
    }
};

TClassTotals CountClass(const std::vector<TMarkedAnswer>& answers,
                        const TTaskTable& tasks = ReferenceFormulas);
