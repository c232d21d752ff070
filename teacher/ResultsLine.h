// One line of the results log: a check of the quiz or of practice as a
// class file's line (ClassLine.h), so that formulon-eval --class marks the
// log as it is. The pupil is the login, which a pupil cannot choose; the
// columns after the answer are the time, the name typed, the mode, the
// verdict, the game's clock and the task set (its file's name without
// ".tasks"; empty for the standard tasks), so a log of several sets can be
// split by set before it is marked with --set.
#pragma once

#include "quiz/core/CheckRecord.h"

#include <string>

enum class TResultsMode { Quiz, Practice };

struct TResultsEntry {
    std::string Time;  // ISO 8601 with the offset from UTC
    std::string Login; // bytes, as the system gives them
    std::string Name;  // the name typed, code page 1251; empty before any game
    TResultsMode Mode = TResultsMode::Quiz;
    int Clock = -1; // the game's seconds at the check; -1 in practice
};

// The check's verdict as the log writes it: RIGHT, WRONG, or ERROR for a
// check an error ended.
std::string CheckVerdictWord(const TCheckRecord& check);

// The line, tab-separated and in UTF-8, with its line end.
std::string ResultsLine(const TResultsEntry& entry, const TCheckRecord& check);
