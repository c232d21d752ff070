// formulon-eval --class: a class file marked into a CSV table on standard
// output and, when asked, an HTML report.
#pragma once

#include "quiz/core/TaskTable.h"
#include "teacher/ClassReader.h"

#include <optional>
#include <string>

struct TClassOptions {
    std::optional<std::string> File; // none, or "-": the standard input
    std::optional<std::string> Report;
    TEncoding Encoding = TEncoding::Auto;
};

// The exit status: 0 every line judged, 1 some could not be read, 2 a
// report that would overwrite the class file, 3 an input or output failure.
int MarkClassFile(const TClassOptions& options, const TTaskTable& tasks);
