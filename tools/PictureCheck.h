// The pictures' TeX of a task set typeset as the program typesets it, for
// formulon-eval --lint: a TeX the typesetter cannot set (the program
// refuses the set), and a picture wider than the task box.
#pragma once

#include "quiz/core/TaskTable.h"
#include "teacher/TaskWarnings.h"

#include <string>
#include <vector>

// Adds a TexError or TooWide warning to each entry of 'warnings' (by entry)
// that has one. False, with why in 'unavailable', when nothing could be
// typeset (no typesetter in this build, or its module not found).
bool CheckPictures(const TTaskTable& tasks, std::vector<TVariantWarnings>& warnings,
                   std::string& unavailable);
