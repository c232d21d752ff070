#include "quiz/core/PracticeProgress.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view kHeader = "Formulon practice 2\n";
constexpr std::string_view kFormatOneHeader = "Formulon practice 1\n";
// Format 1 held the standard table of its day, task-major.
constexpr int kFormatOneTasks = 10;
constexpr int kFormatOneVariants = 3;

const TPracticeMark kFreshMark;

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

// Solved or not, the wrong checks, the tries, the line's end.
bool TakeMarkFields(std::string_view& rest, TPracticeMark& mark) {
    if (!Take(rest, " ") || rest.empty())
        return false;
    const char solved = rest[0];
    if (solved != '0' && solved != '1')
        return false;
    rest.remove_prefix(1);
    mark.Solved = solved == '1';
    return Take(rest, " ") && TakeCount(rest, mark.WrongChecks) &&
           TakeTries(rest, mark.CountedTries) && Take(rest, "\n");
}

bool KeptAsIs(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

constexpr std::string_view kUpperHex = "0123456789ABCDEF";

// A set's name as PracticeProgressName writes it, and nothing else: an
// escape of a byte kept as is would be a second name for one set.
bool IsWrittenSetName(std::string_view name) {
    if (name.empty())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (KeptAsIs(name[i]))
            continue;
        if (name[i] != '%' || i + 2 >= name.size())
            return false;
        const std::size_t high = kUpperHex.find(name[i + 1]), low = kUpperHex.find(name[i + 2]);
        if (high == std::string_view::npos || low == std::string_view::npos ||
            KeptAsIs(static_cast<char>(high << 4 | low)))
            return false;
        i += 2;
    }
    return true;
}

// A picture's name as the program writes it: p, the task, the variant,
// after its set's name and "/" for a set of a file.
bool TakeName(std::string_view& rest, std::string& name) {
    const std::size_t end = std::min(rest.find(' '), rest.size());
    const std::string_view taken = rest.substr(0, end);
    const std::size_t slash = taken.rfind('/');
    const std::string_view picture =
        slash == std::string_view::npos ? taken : taken.substr(slash + 1);
    if (slash != std::string_view::npos && !IsWrittenSetName(taken.substr(0, slash)))
        return false;
    if (picture.empty() || picture[0] != 'p' || !PictureTaskVariant(picture))
        return false;
    name = taken;
    rest.remove_prefix(end);
    return true;
}

// Format 1: the thirty lines "1.1" … "10.3" in order, nothing else.
std::optional<TPracticeProgress> DecodeFormatOne(std::string_view rest) {
    TPracticeProgress progress;
    for (int task = 1; task <= kFormatOneTasks; ++task) {
        for (int variant = 1; variant <= kFormatOneVariants; ++variant) {
            TPracticeMark mark;
            if (!Take(rest, std::to_string(task) + '.' + std::to_string(variant)) ||
                !TakeMarkFields(rest, mark))
                return std::nullopt;
            progress.Marks["p" + std::to_string(task) + std::to_string(variant)] = mark;
        }
    }
    if (!rest.empty())
        return std::nullopt;
    return progress;
}

// Format 2: named lines in any order, each name once.
std::optional<TPracticeProgress> DecodeFormatTwo(std::string_view rest) {
    TPracticeProgress progress;
    while (!rest.empty()) {
        std::string name;
        TPracticeMark mark;
        if (!TakeName(rest, name) || !TakeMarkFields(rest, mark) ||
            !progress.Marks.emplace(std::move(name), std::move(mark)).second)
            return std::nullopt;
    }
    return progress;
}

std::string TriesText(const std::vector<std::uint32_t>& tries) {
    std::string text;
    for (std::size_t i = 0; i < tries.size() && i < kTriesBeforeSample; ++i)
        text += (i == 0 ? " " : ",") + FingerprintText(tries[i]);
    return text;
}

std::string LineText(const std::string& name, const TPracticeMark& mark) {
    return name + (mark.Solved ? " 1 " : " 0 ") +
           std::to_string(std::clamp(mark.WrongChecks, 0, kMaxWrongChecks)) +
           TriesText(mark.CountedTries) + '\n';
}

} // namespace

std::string PracticeProgressName(std::string_view setName, std::string_view picture) {
    std::string name;
    for (const char c : setName) {
        if (KeptAsIs(c)) {
            name += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            name += {'%', kUpperHex[byte >> 4], kUpperHex[byte & 0xF]};
        }
    }
    if (!name.empty())
        name += '/';
    for (const char c : picture)
        name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return name;
}

const TPracticeMark& TPracticeProgress::Mark(std::string_view name) const {
    const auto found = Marks.find(name);
    return found == Marks.end() ? kFreshMark : found->second;
}

bool TPracticeProgress::operator==(const TPracticeProgress& other) const {
    const auto within = [](const TPracticeProgress& some, const TPracticeProgress& all) {
        for (const auto& [name, mark] : some.Marks)
            if (all.Mark(name) != mark)
                return false;
        return true;
    };
    return within(*this, other) && within(other, *this);
}

std::string EncodePracticeProgress(const TPracticeProgress& progress, const TTaskTable& tasks) {
    std::string bytes(kHeader);
    std::map<std::string_view, const TPracticeMark*> others;
    for (const auto& [name, mark] : progress.Marks)
        if (mark != kFreshMark)
            others.emplace(name, &mark);
    for (int entry = 0; entry < tasks.EntryCount(); ++entry) {
        const std::string name = tasks.PictureName(entry);
        bytes += LineText(name, progress.Mark(name));
        others.erase(name);
    }
    for (const auto& [name, mark] : others)
        bytes += LineText(std::string(name), *mark);
    return bytes;
}

std::optional<TPracticeProgress> DecodePracticeProgress(std::string_view bytes) {
    if (bytes.size() > kProgressFileMaxSize)
        return std::nullopt;
    if (Take(bytes, kFormatOneHeader))
        return DecodeFormatOne(bytes);
    if (Take(bytes, kHeader))
        return DecodeFormatTwo(bytes);
    return std::nullopt;
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
    TPracticeProgress merged = disk;
    for (const auto& [name, mine] : ours.Marks) {
        TPracticeMark& mark = merged.Marks[name];
        mark.Solved = mark.Solved || mine.Solved;
        mark.WrongChecks = std::max(mark.WrongChecks, mine.WrongChecks);
        for (const std::uint32_t fingerprint : mine.CountedTries)
            if (mark.CountedTries.size() < kTriesBeforeSample &&
                std::find(mark.CountedTries.begin(), mark.CountedTries.end(), fingerprint) ==
                    mark.CountedTries.end())
                mark.CountedTries.push_back(fingerprint);
    }
    // Each counted try was a wrong check, in one copy or the other.
    for (auto& [name, mark] : merged.Marks)
        mark.WrongChecks = std::max(mark.WrongChecks, static_cast<int>(mark.CountedTries.size()));
    return merged;
}
