#include "quiz/core/NumberWords.h"

#include <array>
#include <cstdint>

namespace {

enum class Gender { Masculine, Feminine };

// The three forms a Russian noun takes after a number: 1, 2 to 4, 5 and on.
struct TForms {
    const char* one;
    const char* few;
    const char* many;
};

constexpr std::array<const char*, 10> kUnits{"ноль", "один",  "два",  "три",    "четыре",
                                             "пять", "шесть", "семь", "восемь", "девять"};
constexpr std::array<const char*, 10> kTeens{
    "десять",     "одиннадцать", "двенадцать", "тринадцать",   "четырнадцать",
    "пятнадцать", "шестнадцать", "семнадцать", "восемнадцать", "девятнадцать"};
constexpr std::array<const char*, 10> kTens{
    "",          "",           "двадцать",  "тридцать",    "сорок",
    "пятьдесят", "шестьдесят", "семьдесят", "восемьдесят", "девяносто"};
constexpr std::array<const char*, 10> kHundreds{"",          "сто",      "двести",   "триста",
                                                "четыреста", "пятьсот",  "шестьсот", "семьсот",
                                                "восемьсот", "девятьсот"};

// Thousands to trillions, with the gender their count takes.
struct TScale {
    TForms forms;
    Gender gender;
};
constexpr std::array<TScale, 4> kScales{
    {{{"тысяча", "тысячи", "тысяч"}, Gender::Feminine},
     {{"миллион", "миллиона", "миллионов"}, Gender::Masculine},
     {{"миллиард", "миллиарда", "миллиардов"}, Gender::Masculine},
     {{"триллион", "триллиона", "триллионов"}, Gender::Masculine}}};

// The denominators of a decimal fraction, by its number of decimals.
constexpr std::array<TForms, 6> kDenominators{
    {{"десятая", "десятых", "десятых"},
     {"сотая", "сотых", "сотых"},
     {"тысячная", "тысячных", "тысячных"},
     {"десятитысячная", "десятитысячных", "десятитысячных"},
     {"стотысячная", "стотысячных", "стотысячных"},
     {"миллионная", "миллионных", "миллионных"}}};
constexpr TForms kWholes{"целая", "целых", "целых"};

constexpr std::size_t kMaxWholeDigits = 15;

const char* Form(std::uint64_t n, const TForms& forms) {
    if (n % 100 >= 11 && n % 100 <= 14)
        return forms.many;
    if (n % 10 == 1)
        return forms.one;
    if (n % 10 >= 2 && n % 10 <= 4)
        return forms.few;
    return forms.many;
}

void Append(std::string& words, std::string_view word) {
    if (word.empty())
        return;
    if (!words.empty())
        words += ' ';
    words += word;
}

// 1 to 999.
void AppendHundreds(std::string& words, unsigned n, Gender gender) {
    Append(words, kHundreds[n / 100]);
    const unsigned rest = n % 100;
    if (rest >= 10 && rest < 20) {
        Append(words, kTeens[rest - 10]);
        return;
    }
    Append(words, kTens[rest / 10]);
    const unsigned unit = rest % 10;
    if (unit == 1 && gender == Gender::Feminine)
        Append(words, "одна");
    else if (unit == 2 && gender == Gender::Feminine)
        Append(words, "две");
    else if (unit != 0)
        Append(words, kUnits[unit]);
}

std::string Cardinal(std::uint64_t n, Gender gender) {
    if (n == 0)
        return kUnits[0];
    std::string words;
    std::uint64_t scale = 1'000'000'000'000'000;
    for (int s = static_cast<int>(kScales.size()) - 1; s >= 0; --s) {
        scale /= 1000;
        const auto count = static_cast<unsigned>(n / scale % 1000);
        if (count == 0)
            continue;
        AppendHundreds(words, count, kScales[static_cast<std::size_t>(s)].gender);
        Append(words, Form(count, kScales[static_cast<std::size_t>(s)].forms));
    }
    AppendHundreds(words, static_cast<unsigned>(n % 1000), gender);
    return words;
}

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.empty();
}

std::uint64_t Value(std::string_view digits) {
    std::uint64_t n = 0;
    for (char c : digits)
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    return n;
}

// A whole number as a pupil reads it: no leading zero, not too long.
bool IsPlainWhole(std::string_view digits) {
    return AllDigits(digits) && digits.size() <= kMaxWholeDigits &&
           (digits.size() == 1 || digits[0] != '0');
}

std::string DigitByDigit(std::string_view number) {
    std::string words;
    for (char c : number)
        Append(words, c >= '0' && c <= '9' ? kUnits[static_cast<std::size_t>(c - '0')] : "запятая");
    return words;
}

} // namespace

std::string NumberWords(std::string_view number) {
    const std::size_t separator = number.find_first_of(",.");
    if (separator == std::string_view::npos)
        return IsPlainWhole(number) ? Cardinal(Value(number), Gender::Masculine)
                                    : DigitByDigit(number);
    const std::string_view whole = number.substr(0, separator);
    const std::string_view decimals = number.substr(separator + 1);
    if (!IsPlainWhole(whole) || !AllDigits(decimals) || decimals.size() > kDenominators.size())
        return DigitByDigit(number);
    const std::uint64_t wholeValue = Value(whole);
    const std::uint64_t fraction = Value(decimals);
    std::string words = Cardinal(wholeValue, Gender::Feminine);
    Append(words, Form(wholeValue, kWholes));
    Append(words, Cardinal(fraction, Gender::Feminine));
    Append(words, Form(fraction, kDenominators[decimals.size() - 1]));
    return words;
}

std::string NamedPowerWords(std::string_view exponent) {
    static constexpr std::array<const char*, 9> kNamed{"в квадрате",          "в кубе",
                                                       "в четвёртой степени", "в пятой степени",
                                                       "в шестой степени",    "в седьмой степени",
                                                       "в восьмой степени",   "в девятой степени",
                                                       "в десятой степени"};
    if (!IsPlainWhole(exponent) || exponent.size() > 2)
        return {};
    const std::uint64_t n = Value(exponent);
    return n >= 2 && n <= 10 ? kNamed[n - 2] : std::string();
}
