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

constexpr std::size_t kFingerprintDigits = 8;
constexpr std::string_view kHexDigits = "0123456789abcdef";

std::string FingerprintText(std::uint32_t fingerprint) {
    std::string text(kFingerprintDigits, '0');
    for (std::size_t digit = kFingerprintDigits; digit-- > 0; fingerprint >>= 4)
        text[digit] = kHexDigits[fingerprint & 0xF];
    return text;
}

// Eight lower-case hexadecimal digits.
bool TakeFingerprint(std::string_view& rest, std::uint32_t& fingerprint) {
    if (rest.size() < kFingerprintDigits)
        return false;
    fingerprint = 0;
    for (std::size_t digit = 0; digit < kFingerprintDigits; ++digit) {
        const std::size_t value = kHexDigits.find(rest[digit]);
        if (value == std::string_view::npos)
            return false;
        fingerprint = fingerprint << 4 | static_cast<std::uint32_t>(value);
    }
    rest.remove_prefix(kFingerprintDigits);
    return true;
}

// " " and one to kTriesBeforeSample different fingerprints, comma-separated;
// or nothing at all.
bool TakeTries(std::string_view& rest, std::vector<std::uint32_t>& tries) {
    if (!Take(rest, " "))
        return true;
    do {
        std::uint32_t fingerprint = 0;
        if (tries.size() == kTriesBeforeSample || !TakeFingerprint(rest, fingerprint) ||
            std::find(tries.begin(), tries.end(), fingerprint) != tries.end())
            return false;
        tries.push_back(fingerprint);
    } while (Take(rest, ","));
    return true;
}

bool TakeMark(std::string_view& rest, int entry, TPracticeMark& mark) {
    if (!Take(rest, EntryName(entry)) || !Take(rest, " ") || rest.empty())
        return false;
    const char solved = rest[0];
    if (solved != '0' && solved != '1')
        return false;
    rest.remove_prefix(1);
    mark.Solved = solved == '1';
    return Take(rest, " ") && TakeCount(rest, mark.WrongChecks) &&
           TakeTries(rest, mark.CountedTries) && Take(rest, "\n");
}

std::string TriesText(const std::vector<std::uint32_t>& tries) {
    std::string text;
    for (std::size_t i = 0; i < tries.size() && i < kTriesBeforeSample; ++i)
        text += (i == 0 ? " " : ",") + FingerprintText(tries[i]);
    return text;
}

} // namespace

std::string EncodePracticeProgress(const TPracticeProgress& progress) {
    std::string bytes(kHeader);
    for (int entry = 0; entry < kPracticeTasks; ++entry) {
        const TPracticeMark& mark = progress.Marks[entry];
        bytes += EntryName(entry) + (mark.Solved ? " 1 " : " 0 ") +
                 std::to_string(std::clamp(mark.WrongChecks, 0, kMaxWrongChecks)) +
                 TriesText(mark.CountedTries) + '\n';
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

std::uint32_t TryFingerprint(std::string_view answer) {
    // FNV-1a: short, and the same on every machine.
    std::uint32_t hash = 2166136261u;
    for (const char c : answer)
        if (c != ' ')
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

TPracticeProgress MergePracticeProgress(const TPracticeProgress& disk,
                                        const TPracticeProgress& ours) {
    TPracticeProgress merged;
    for (int entry = 0; entry < kPracticeTasks; ++entry) {
        TPracticeMark& mark = merged.Marks[entry];
        mark.Solved = disk.Marks[entry].Solved || ours.Marks[entry].Solved;
        mark.CountedTries = disk.Marks[entry].CountedTries;
        for (const std::uint32_t fingerprint : ours.Marks[entry].CountedTries)
            if (mark.CountedTries.size() < kTriesBeforeSample &&
                std::find(mark.CountedTries.begin(), mark.CountedTries.end(), fingerprint) ==
                    mark.CountedTries.end())
                mark.CountedTries.push_back(fingerprint);
        // Each counted try was a wrong check, in one copy or the other.
        mark.WrongChecks = std::max({disk.Marks[entry].WrongChecks, ours.Marks[entry].WrongChecks,
                                     static_cast<int>(mark.CountedTries.size())});
    }
    return merged;
}
