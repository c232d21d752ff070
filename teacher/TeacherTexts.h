// What the class's reports say, in English or Russian: the caller chooses
// (the console tool by the locale). Texts are UTF-8.
#pragma once

#include "teacher/ClassReader.h"
#include "teacher/Marking.h"

#include <string>

enum class TLanguage { English, Russian };

struct TTeacherTexts {
    // The answers' columns: pupil, task, answer, verdict, value, message, hint.
    const char* Columns[7];
    // Right, wrong, flagged, blank, unreadable.
    const char* Verdicts[5];
    // The totals' columns after the pupil or the task: right, wrong, of them
    // flagged, blank, answers.
    const char* TallyColumns[5];
    // The report's title, and its three parts.
    const char* Title;
    const char* GridHeading;
    const char* TasksHeading;
    const char* PupilsHeading;
    const char* Summary;     // %1 answers, %2 pupils, %3 tasks
    const char* Outcomes[4]; // not tried, wrong, flagged, right (the grid's legend)
    const char* Tries;       // the grid cell's title: %1 outcome, %2 tries
    const char* Task;        // %1: 3.2
    const char* Reference;
    const char* RightShare; // %1 right, %2 answers, %3 per cent
    const char* Slips;
    const char* NoSlips;
    const char* SlipCount;  // %1 times
    const char* PupilTally; // %1 right, %2 answers
    const char* NoWrong;
    const char* NoHint;
    // Why a line could not be read, by TLineProblem (None is empty); %1 the
    // task column, or the byte where the line is not UTF-8.
    const char* Problems[7];
};

const TTeacherTexts& TeacherTexts(TLanguage language);

// 'text' with %1, %2 and %3 replaced by the arguments.
std::string Filled(const char* text, const std::string& a1, const std::string& a2 = {},
                   const std::string& a3 = {});

const char* VerdictWord(TLanguage language, TVerdict verdict);
// "not UTF-8 at byte 5 (0xF1)".
std::string NotUtf8Text(TLanguage language, const TNotUtf8& where);
// Why the line could not be read; empty for a line that could.
// 'tasks' gives the first and last task a line may name.
std::string ProblemText(TLanguage language, const TReadLine& read,
                        const TTaskTable& tasks = ReferenceFormulas);
