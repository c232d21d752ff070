// formulon-eval and task sets: the set --set names for --check, --class and
// --tasks, the list of tasks, and --lint, the checker for a set's author.
#pragma once

#include "quiz/core/TaskSet.h"

#include <memory>
#include <string>

// The set in the file, or null after saying why on standard error, with
// the exit status in 'status': 2 refused, 3 not readable.
std::shared_ptr<const TTaskSet> LoadSetFile(const std::string& path, int& status);

// --tasks: every variant, its reference formula and its value; on standard
// error, for each variant the teacher should know of, what its warnings
// mean for pupils' answers. The exit status.
int ListTasks(const TTaskTable& tasks);

// --lint: each variant's value and warnings, then a summary. The exit
// status: 0 clean, 1 warnings, 2 refused (by the reader, or a TeX that
// does not typeset), 3 not readable.
int LintSet(const std::string& path);
