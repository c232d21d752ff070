// The pictures' TeX of a task set typeset as the program typesets it, for
// formulon-eval --lint: a TeX the typesetter cannot set (the program
// refuses the set), and a picture wider than the task box. The typesetter
// needs Qt, so the check is a module (libformulon_lint.so, beside the
// program's other modules) that only --lint loads: every other mode starts
// without Qt.
#pragma once

#include "quiz/core/TaskTable.h"
#include "teacher/TaskWarnings.h"

#include <string>
#include <vector>

// What the module cannot word from the typesetter's own answer.
struct TPictureTexts {
    std::string TimedOut; // the TeX did not typeset in its time
    std::string TooLarge; // the TeX is too long or its picture too large
};

// Adds a TexError or TooWide warning to each entry of 'warnings' (by entry)
// that has one. False, with why in 'unavailable', when nothing could be
// typeset (no module, or no typesetter in it).
bool CheckPictures(const TTaskTable& tasks, std::vector<TVariantWarnings>& warnings,
                   std::string& unavailable);

// The module's one exported function; the number changes whenever its
// signature or the types it takes do, so that a module of another build is
// refused rather than called wrongly.
#define FORMULON_LINT_FACTORY formulonCheckPictures1
using TCheckPictures = bool (*)(const TTaskTable& tasks, const TPictureTexts& texts,
                                std::vector<TVariantWarnings>& warnings, std::string& unavailable);
inline constexpr const char* kLintModuleName = "libformulon_lint.so";
