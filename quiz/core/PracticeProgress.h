// What practice keeps between runs: for each of the thirty tasks whether it
// was solved and how many wrong checks it had, and the bytes of the
// progress file that holds them. Plain text, so a teacher can read it:
//
//     Formulon practice 1
//     1.1 1 0
//     1.2 0 3
//     ...             (thirty lines, task-major, as in the catalogue)
//
// Each line: task.variant, 1 solved or 0 not, the wrong checks. Anything
// else, a byte more or less included, is a damaged file.
#pragma once

#include "quiz/core/TaskCatalogue.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int kPracticeTasks = kTaskCount * kVariantCount;
// Wrong checks are counted up to this and then stay there.
inline constexpr int kMaxWrongChecks = 9999;
// No progress file the program writes is longer; a longer one is damaged
// and is never read whole.
inline constexpr std::size_t kProgressFileMaxSize = 1024;

struct TPracticeMark {
    bool Solved = false;
    int WrongChecks = 0; // 0..kMaxWrongChecks

    bool operator==(const TPracticeMark&) const = default;
};

struct TPracticeProgress {
    // Entry (task - 1) * 3 + (variant - 1), as ReferenceFormulas.
    std::array<TPracticeMark, kPracticeTasks> Marks{};

    bool operator==(const TPracticeProgress&) const = default;
};

std::string EncodePracticeProgress(const TPracticeProgress& progress);

// The progress a file's bytes hold, or none when they are not a progress
// file exactly as EncodePracticeProgress writes one.
std::optional<TPracticeProgress> DecodePracticeProgress(std::string_view bytes);

// Two copies of the program may practise at once (the personal table and a
// class table): a save keeps what either has, a task solved in either and
// the larger count of wrong checks.
TPracticeProgress MergePracticeProgress(const TPracticeProgress& disk,
                                        const TPracticeProgress& ours);
