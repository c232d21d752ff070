// The quiz's content: the standard task table (quiz/core/tasks/standard.tasks,
// ten tasks in three variants), made into C++ while building and never
// changed after. The functions below answer for it; a table of another
// shape answers the same questions through TTaskTable.
#pragma once

#include "quiz/core/TaskTable.h"

#include <string>
#include <string_view>

// A constant, complete before any code runs: nobody fills it.
extern const TTaskTable ReferenceFormulas;

bool IsValidTask(int task, int variant);

// Reference formula of (task, variant); raises std::out_of_range outside
// the table.
std::string ReferenceFormula(int task, int variant);

// The picture's name in the table, in lower case: p11, p23, p101.
std::string PictureName(int task, int variant);

// The TeX the picture is typeset from (what the pupil sees), or empty
// outside the table.
std::string_view PictureTex(int task, int variant);
