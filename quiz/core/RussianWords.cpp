#include "quiz/core/RussianWords.h"

#include "engine/Cp1251.h"
#include "quiz/core/FormulaTokens.h"

#include <string_view>
#include <utility>

using formulon::engine::Utf8ToCp1251;

namespace {

// The Russian names a pupil may type, and what the program calls them
// ("lg" and "ctg" have no function of their own).
constexpr std::pair<const char*, const char*> kNames[] = {
    {"синус", "sin"},   {"син", "sin"},        {"косинус", "cos"}, {"кос", "cos"},
    {"тангенс", "tan"}, {"тг", "tan"},         {"тан", "tan"},     {"котангенс", "ctg"},
    {"ктг", "ctg"},     {"арктангенс", "atn"}, {"арктг", "atn"},   {"логарифм", "log"},
    {"лог", "log"},     {"лн", "log"},         {"лг", "lg"},       {"корень", "sqr"},
    {"модуль", "abs"},  {"экспонента", "exp"}};

// The Latin key under each lower-case Russian letter а..я of the usual
// Russian layout (ЙЦУКЕН).
constexpr std::string_view kLayout = "f,dult;pbqrkvyjghcnea[wxio]sm'.z";

unsigned char Lower(unsigned char c) {
    if (c >= 0xC0 && c <= 0xDF)
        return static_cast<unsigned char>(c + 0x20);
    return c == 0xA8 ? 0xB8 : c; // Ё
}

std::string Lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
    return text;
}

const char* RussianName(const std::string& word) {
    static const std::vector<std::pair<std::string, const char*>> names = [] {
        std::vector<std::pair<std::string, const char*>> converted;
        for (const auto& [name, latin] : kNames)
            converted.emplace_back(Utf8ToCp1251(name), latin);
        return converted;
    }();
    for (const auto& [name, latin] : names)
        if (word == name)
            return latin;
    return nullptr;
}

// The keys of the Latin layout under the word's letters, or empty when one
// has none there that a formula uses.
std::string LatinKeys(const std::string& word) {
    std::string keys;
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0xE0)
            return {};
        keys += kLayout[byte - 0xE0];
    }
    return keys;
}

bool OnlyVariables(const std::string& text) {
    return !text.empty() && text.find_first_not_of("yz") == std::string::npos;
}

} // namespace

std::vector<TRussianWord> RussianWords(const std::string& typed) {
    std::vector<TRussianWord> words;
    const int size = static_cast<int>(typed.size());
    for (int i = 0; i < size;) {
        if (!IsRussianLetter(static_cast<unsigned char>(typed[static_cast<std::size_t>(i)]))) {
            ++i;
            continue;
        }
        int end = i;
        while (end < size &&
               IsRussianLetter(static_cast<unsigned char>(typed[static_cast<std::size_t>(end)])))
            ++end;
        const std::string text =
            typed.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(end - i));
        const std::string word = Lowered(text);
        const std::string keys = LatinKeys(word);
        if (const char* latin = RussianName(word))
            words.push_back({TRussianWord::TKind::Name, i + 1, end + 1, text, latin});
        else if (IsKnownFunctionName(keys) || OnlyVariables(keys))
            words.push_back({TRussianWord::TKind::Layout, i + 1, end + 1, text, keys});
        i = end;
    }
    return words;
}
