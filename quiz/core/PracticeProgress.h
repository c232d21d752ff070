// What practice keeps between runs: for each of the thirty tasks whether it
// was solved, how many wrong checks it had and which different wrong tries
// count towards its sample, and the bytes of the progress file that holds
// them. Plain text, so a teacher can read it:
//
//     Formulon practice 1
//     1.1 1 0
//     1.2 0 5 0c3f1a2b,9e00d417
//     ...             (thirty lines, task-major, as in the catalogue)
//
// Each line: task.variant, 1 solved or 0 not, the wrong checks, and, only
// when there are any, the fingerprints of the tries counted towards the
// sample (eight hexadecimal digits each, at most three, comma-separated).
// A line without them, as the first program wrote every line, counts no
// try. Anything else, a byte more or less included, is a damaged file.
#pragma once

#include "quiz/core/TaskCatalogue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kPracticeTasks = kTaskCount * kVariantCount;
// Wrong checks are counted up to this and then stay there.
inline constexpr int kMaxWrongChecks = 9999;
// No progress file the program writes is longer; a longer one is damaged
// and is never read whole.
inline constexpr std::size_t kProgressFileMaxSize = 2048;
// The sample comes after this many different wrong tries of one task.
inline constexpr std::size_t kTriesBeforeSample = 3;

struct TPracticeMark {
    bool Solved = false;
    int WrongChecks = 0; // 0..kMaxWrongChecks, every wrong check
    // Fingerprints (TryFingerprint) of the different wrong tries counted
    // towards the sample, in the order counted; at most kTriesBeforeSample.
    std::vector<std::uint32_t> CountedTries = {};

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

// A short fingerprint of an answer as the engine reads it (blanks do not
// count), to tell tries apart without keeping the pupil's text.
std::uint32_t TryFingerprint(std::string_view answer);

// Two copies of the program may practise at once (the personal table and a
// class table): a save keeps what either has, a task solved in either, the
// larger count of wrong checks and the tries either counted.
TPracticeProgress MergePracticeProgress(const TPracticeProgress& disk,
                                        const TPracticeProgress& ours);
