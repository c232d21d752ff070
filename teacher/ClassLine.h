// One line of a class file, and of the quiz's results log, which is a class
// file with more columns: the pupil, the task and its variant, the answer,
// then whatever further columns the line has. Fields are separated by a tab,
// ';' or ',' and quoted as spreadsheets quote them in CSV. Reading and
// writing the line are kept together here so that they always agree.
#pragma once

#include "quiz/core/TaskCatalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TClassLine {
    std::string Pupil; // UTF-8, as every field
    int Task = 0;      // a task of the table
    int Variant = 0;   // one of its variants
    std::string Answer;
    std::vector<std::string> Extra; // the columns after the answer
};

// The separators a line may use, in the order they are tried.
inline constexpr std::string_view kSeparators = "\t;,";

// The line's text without its line end, every field quoted that needs it
// (one holding the separator, a quote or a line end, or starting with a
// byte-order mark). The reader takes the
// blanks off a field's edges, which no answer's value depends on.
std::string ClassLineText(const TClassLine& line, char separator = '\t');

// 'field' as it is written between separators.
std::string QuotedField(std::string_view field, char separator);

// The fields of a line split at 'separator', quotes taken off as CSV writes
// them ("" inside quotes is one quote); none when a quote is left open.
std::optional<std::vector<std::string>> SplitFields(std::string_view line, char separator);

// "3.2" (or "3,2", as a spreadsheet may write it) for a task and variant of
// 'tasks', and nothing else.
bool ParseTask(std::string_view text, int& task, int& variant, bool commaToo = false,
               const TTaskTable& tasks = ReferenceFormulas);
std::string TaskText(int task, int variant);
