// What practice keeps between runs: for each variant, by its picture's
// name, whether it was solved, how many wrong checks it had and which
// different wrong tries count towards its sample, and the bytes of the
// progress file that holds them. Plain text, so a teacher can read it:
//
//     Formulon practice 2
//     p11 1 0
//     p12 0 5 0c3f1a2b,9e00d417
//     ...             (a line for each variant of the table, in its order)
//
// Each line: the picture's name in lower case, 1 solved or 0 not, the
// wrong checks, and, only when there are any, the fingerprints of the tries
// counted towards the sample (eight hexadecimal digits each, at most three,
// comma-separated). Lines are found by name, not by place, so a task added
// or moved leaves every other task's progress where it was; a name the
// table no longer has keeps its progress, written after the table's lines.
// A line without fingerprints counts no try. A teacher's task set keeps its
// progress under its file's name: "trig/p11" is task 1, variant 1 of
// trig.tasks, its bytes outside A-Z, a-z, 0-9, '.', '_' and '-' written
// %XX (PracticeProgressName); the standard set's lines stay as they were.
// Anything else (a name twice, a byte more or less) is a damaged file.
//
// Format 1, which the first program wrote, has thirty lines named 1.1 to
// 10.3, the standard table's variants in order, and nothing else; it is
// read as the same names (1.1 is p11) and written as format 2 by the next
// save.
#pragma once

#include "quiz/core/TaskCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Wrong checks are counted up to this and then stay there.
inline constexpr int kMaxWrongChecks = 9999;
// No progress file the program writes is longer: a line for every picture
// name there can be (P11 … P995), and a hundred variants (the most a set
// holds) of each of a hundred sets with names of up to 64 bytes; a longer
// one is damaged and is never read whole.
inline constexpr std::size_t kProgressFileMaxSize = 1 << 20;
// The sample comes after this many different wrong tries of one task.
inline constexpr std::size_t kTriesBeforeSample = 3;

// The name a variant's progress is kept under: its picture's name in lower
// case, after its set's file name (without ".tasks") and "/" for any set
// but the standard one ('setName' empty).
std::string PracticeProgressName(std::string_view setName, std::string_view picture);

struct TPracticeMark {
    bool Solved = false;
    int WrongChecks = 0; // 0..kMaxWrongChecks, every wrong check
    // Fingerprints (TryFingerprint) of the different wrong tries counted
    // towards the sample, in the order counted; at most kTriesBeforeSample.
    std::vector<std::uint32_t> CountedTries = {};

    bool operator==(const TPracticeMark&) const = default;
};

struct TPracticeProgress {
    // By the picture's name in lower case (TTaskTable::PictureName).
    std::map<std::string, TPracticeMark, std::less<>> Marks;

    // A fresh mark for a name that has none.
    const TPracticeMark& Mark(std::string_view name) const;
    TPracticeMark& Mark(const std::string& name) { return Marks[name]; }

    // A fresh mark is the same as none.
    bool operator==(const TPracticeProgress& other) const;
};

// The file's bytes: a line for every variant of 'tasks', in its order, then
// the other names that hold progress, in name order.
std::string EncodePracticeProgress(const TPracticeProgress& progress,
                                   const TTaskTable& tasks = ReferenceFormulas);

// The progress a file's bytes hold, or none when they are not a progress
// file of either format exactly as the program writes one.
std::optional<TPracticeProgress> DecodePracticeProgress(std::string_view bytes);

// A short fingerprint of an answer as the engine reads it (blanks do not
// count), to tell tries apart without keeping the pupil's text.
std::uint32_t TryFingerprint(std::string_view answer);

// Two copies of the program may practise at once (the personal table and a
// class table): a save keeps what either has, a task solved in either, the
// larger count of wrong checks and the tries either counted.
TPracticeProgress MergePracticeProgress(const TPracticeProgress& disk,
                                        const TPracticeProgress& ours);
