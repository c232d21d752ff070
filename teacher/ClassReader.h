// Reading a class file: one answer a line (pupil, task.variant, answer, and
// any further columns, see ClassLine.h), as a teacher saves it from a
// spreadsheet or an editor: UTF-8 with or without a byte-order mark, or code
// page 1251; CRLF, LF or CR line ends; tabs, ';' or ',' between fields; a
// header line. A line that cannot be read is kept with what is wrong with it.
#pragma once

#include "teacher/ClassLine.h"
#include "teacher/Utf8.h"

#include <string>
#include <string_view>
#include <vector>

enum class TEncoding {
    Auto,   // each line UTF-8 when it is well-formed UTF-8, else code page 1251
    Utf8,   // a line that is not UTF-8 cannot be read
    Cp1251, // every byte a character of code page 1251
};

enum class TLineProblem {
    None,
    NotUtf8,       // with TEncoding::Utf8 only; Where says where
    UnclosedQuote, // a quoted field never ends on its line
    TooFewFields,  // no task column
    NotATask,      // the second column is no task of the table (1.1 .. 10.3)
    NoPupil,       // the first column is blank
    CommaInAnswer, // ','-separated, more fields than the first line has
};

struct TReadLine {
    int Number = 0;        // the line's number in the file, from 1
    TClassLine Line;       // what could be read, UTF-8 (Task 0 when none)
    std::string TaskField; // the second column as written
    TLineProblem Problem = TLineProblem::None;
    TNotUtf8 Where;
    // The pupil and the task are known, so the line counts for both.
    bool Attributed() const {
        return Problem == TLineProblem::None || Problem == TLineProblem::NotUtf8;
    }
};

// Every line that holds anything, in file order: a blank line, a line of
// empty fields and a header line (the first line when its second column
// names no task and holds no digit) are left out.
// 'tasks' decides which tasks a line may name.
std::vector<TReadLine> ReadClassFile(std::string_view bytes, TEncoding encoding,
                                     const TTaskTable& tasks = ReferenceFormulas);
