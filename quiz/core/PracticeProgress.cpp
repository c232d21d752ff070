#include "quiz/core/PracticeProgress.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view kHeader = "Formulon practice 1\n";

std::string EntryName(int entry) {
    return std::to_string(entry / kVariantCount + 1) + '.' +
           std::to_string(entry % kVariantCount + 1);
}

// Reads what 'expected' says at the front of 'rest'.
bool Take(std::string_view& rest, std::string_view expected) {
    if (rest.substr(0, expected.size()) != expected)
        return false;
    rest.remove_prefix(expected.size());
    return true;
}

// A count as written: decimal digits without a leading zero, within bounds.
bool TakeCount(std::string_view& rest, int& count) {
    const std::size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
    if (digits == 0 || digits > 4 || (digits > 1 && rest[0] == '0'))
        return false;
    std::from_chars(rest.data(), rest.data() + digits, count);
    rest.remove_prefix(digits);
    return count <= kMaxWrongChecks;
}

bool TakeMark(std::string_view& rest, int entry, TPracticeMark& mark) {
    if (!Take(rest, EntryName(entry)) || !Take(rest, " ") || rest.empty())
        return false;
    const char solved = rest[0];
    if (solved != '0' && solved != '1')
        return false;
    rest.remove_prefix(1);
    mark.Solved = solved == '1';
    return Take(rest, " ") && TakeCount(rest, mark.WrongChecks) && Take(rest, "\n");
}

} // namespace

std::string EncodePracticeProgress(const TPracticeProgress& progress) {
    std::string bytes(kHeader);
    for (int entry = 0; entry < kPracticeTasks; ++entry) {
        const TPracticeMark& mark = progress.Marks[entry];
        bytes += EntryName(entry) + (mark.Solved ? " 1 " : " 0 ") +
                 std::to_string(std::clamp(mark.WrongChecks, 0, kMaxWrongChecks)) + '\n';
    }
    return bytes;
}

std::optional<TPracticeProgress> DecodePracticeProgress(std::string_view bytes) {
    if (bytes.size() > kProgressFileMaxSize || !Take(bytes, kHeader))
        return std::nullopt;
    TPracticeProgress progress;
    for (int entry = 0; entry < kPracticeTasks; ++entry)
        if (!TakeMark(bytes, entry, progress.Marks[entry]))
            return std::nullopt;
    if (!bytes.empty())
        return std::nullopt;
    return progress;
}

TPracticeProgress MergePracticeProgress(const TPracticeProgress& disk,
                                        const TPracticeProgress& ours) {
    TPracticeProgress merged;
    for (int entry = 0; entry < kPracticeTasks; ++entry) {
        merged.Marks[entry].Solved = disk.Marks[entry].Solved || ours.Marks[entry].Solved;
        merged.Marks[entry].WrongChecks =
            std::max(disk.Marks[entry].WrongChecks, ours.Marks[entry].WrongChecks);
    }
    return merged;
}
