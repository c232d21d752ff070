// The quiz's content: ten tasks in three variants, each a reference
// formula and the name of the picture that shows it. Both come from the task
// table quiz/core/tasks/standard.tasks, made into C++ while building.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr int kTaskCount = 10;
inline constexpr int kVariantCount = 3;

// One line of a task table: a variant's picture (a resource name), its
// reference formula and the TeX the picture is typeset from.
struct TTaskRow {
    std::string_view Picture;
    std::string_view Formula;
    std::string_view Tex;
};

// Entry (task - 1) * 3 + (variant - 1), task-major.
using TReferenceFormulas = std::array<std::string, kTaskCount * kVariantCount>;

// Filled by FillReferenceFormulas when the main window is created.
extern TReferenceFormulas ReferenceFormulas;

void FillReferenceFormulas();

bool IsValidTask(int task, int variant);

// Reference formula of (task, variant); both must be within bounds.
const std::string& ReferenceFormula(int task, int variant);

// The picture's name in the table, in lower case: p11, p23, p101.
std::string PictureName(int task, int variant);

// The TeX the picture is typeset from (what the pupil sees), or empty
// outside the table.
std::string_view PictureTex(int task, int variant);
