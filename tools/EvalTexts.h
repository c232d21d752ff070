// What formulon-eval says to a person, in English or Russian by the locale.
// The result lines are the same in every locale, so scripts can read them.
#pragma once

#include "quiz/core/TaskTable.h"
#include "teacher/TeacherTexts.h"

#include <string>
#include <string_view>

struct TEvalTexts {
    const char* Help;
    const char* UnknownOption; // %s: the option
    const char* UnexpectedArgument;
    const char* MissingTask; // %s: the option that needs it
    const char* BadTask;     // %s: what was given; then TaskRange or TaskList
    const char* TaskRange;   // %1 tasks of %2 variants each
    const char* TaskList;    // %1 the first task, %2 the last
    const char* TwoModes;
    const char* TraceOnlyFormulas;
    const char* TryHelp;
    const char* ReadError;
    const char* WriteError;
    const char* OutOfMemory;
    const char* MissingFile; // %s: the option that needs it
    const char* BadEncoding; // %s: what was given
    const char* HtmlOnlyClass;
    const char* EncodingOnlyAnswers;
    const char* ReportOverClass; // %s: the report's path
    const char* CannotRead;      // %s: the file; then ": " and why
    const char* CannotWrite;     // %s: the file
    const char* StandardInput;
    const char* Line; // %s: the file or StandardInput, then the line number
    const char* NoSuchFile;
    const char* NoAccess;
    const char* IsAFolder;
    const char* LooksLikeClass; // %s: the line's number
};

// Russian when the locale that decides messages (LC_ALL, else LC_MESSAGES,
// else LANG, the first one set and not empty) is a Russian one.
const TEvalTexts& EvalTexts();

// The same choice for the class's reports.
TLanguage EvalLanguage();

// 'text' with its "%s" replaced by 'argument'.
std::string Format(const char* text, std::string_view argument);

// Why a file could not be opened, read or written (errno), in the locale's
// language where we know it.
std::string FileErrorText(int error);

// BadTask for 'given', with the bounds of the table's tasks.
std::string BadTaskText(std::string_view given, const TTaskTable& tasks);
