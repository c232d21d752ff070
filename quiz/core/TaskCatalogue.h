// The quiz's content: ten tasks in three variants, each a reference
// formula and the name of the picture that shows it.
#pragma once

#include <array>
#include <string>

inline constexpr int kTaskCount = 10;
inline constexpr int kVariantCount = 3;

// Entry (task - 1) * 3 + (variant - 1), task-major.
using TReferenceFormulas = std::array<std::string, kTaskCount * kVariantCount>;

// Filled by FillReferenceFormulas when the main window is created.
extern TReferenceFormulas ReferenceFormulas;

void FillReferenceFormulas();

bool IsValidTask(int task, int variant);

// Reference formula of (task, variant); both must be within bounds.
const std::string& ReferenceFormula(int task, int variant);

// "p" followed by the task and variant numbers: p11, p23, p101.
std::string PictureName(int task, int variant);
