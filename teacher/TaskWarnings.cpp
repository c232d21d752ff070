#include "teacher/TaskWarnings.h"

#include "engine/Cp1251.h"
#include "engine/NumberText.h"
#include "quiz/core/MathEquality.h"
#include "quiz/core/QuietValue.h"
#include "quiz/core/ReadingParts.h"
#include "quiz/core/SchoolReading.h"

#include <map>

using namespace formulon::engine;

namespace {

// The engine's error text, which the quiz compares like any value text.
const std::string& ErrorText() {
    static const std::string text = Utf8ToCp1251("Ошибка");
    return text;
}

TTaskWarning Warn(TTaskWarningKind kind, int other = -1) {
    return {kind, other, {}};
}

// Significant digits of a value text: the mantissa's, leading and trailing
// zeros left out (a value of 1000 is as easily guessed as one of 1).
int SignificantDigits(const std::string& value) {
    std::string digits;
    for (const char c : value.substr(0, value.find('E')))
        if (c >= '0' && c <= '9')
            digits += c;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    return static_cast<int>(digits.find_last_not_of('0') - first + 1);
}

// The school reading gives one value at y = 7, z = 11 and every drawn point
// where it has one (two at least): no variable changes it.
bool SchoolConstant(const std::string& formula) {
    if (formula.find_first_of("yz") == std::string::npos)
        return true;
    const TFormulaReading reading = ReadFormula(formula);
    if (!reading.Read)
        return false;
    const TSchoolReading school(reading);
    const TSchoolValue first = school.At(7, 11);
    if (!first.Defined)
        return false;
    int defined = 0;
    for (const TMathPoint& point : DrawnPoints()) {
        const TSchoolValue value = school.At(point.Y, point.Z);
        if (!value.Defined)
            continue;
        if (!SameSchoolValue(first, value))
            return false;
        ++defined;
    }
    return defined >= 1;
}

std::vector<TTaskWarning> FormulaWarnings(const std::string& formula, const std::string& value) {
    std::vector<TTaskWarning> warnings;
    if (value == ErrorText())
        warnings.push_back(Warn(TTaskWarningKind::ErrorValue));
    if (const std::optional<TReadingPart> part = FindReadingPart(formula))
        warnings.push_back(Warn(IsMinusPower(part->Kind) ? TTaskWarningKind::MinusPower
                                                         : TTaskWarningKind::Digits));
    if (SchoolConstant(formula))
        warnings.push_back(Warn(TTaskWarningKind::NoVariables));
    if (value != ErrorText() && SignificantDigits(value) < kGuessableDigits)
        warnings.push_back(Warn(TTaskWarningKind::ShortValue));
    return warnings;
}

} // namespace

std::vector<TVariantWarnings> TaskWarnings(const TTaskTable& tasks) {
    std::vector<TVariantWarnings> result;
    std::map<std::string, std::vector<int>> byValue;
    for (int entry = 0; entry < tasks.EntryCount(); ++entry) {
        const std::string formula(tasks.Row(entry).Formula);
        const TQuietResult value = QuietFormulaResult(formula);
        // A set that was read holds no formula that raises; a raised error's
        // message stands for the value all the same.
        result.push_back({value.Text, FormulaWarnings(formula, value.Text)});
        byValue[value.Text].push_back(entry);
    }
    for (const auto& [value, entries] : byValue)
        for (const int entry : entries)
            for (const int other : entries)
                if (other != entry) {
                    result[static_cast<std::size_t>(entry)].Warnings.push_back(
                        Warn(TTaskWarningKind::SameValue, other));
                    break;
                }
    return result;
}

namespace {

// By TTaskWarningKind; %1 the other entry, the width or the typesetter's words.
constexpr const char* kEnglishWarnings[] = {
    "the value is the error text \"Ошибка\": any answer whose value is \"Ошибка\" is judged right",
    "the program reads a minus before an even power unlike school mathematics: an answer right by "
    "school rules (with brackets around the power) is judged wrong",
    "the value turns on digits beyond the fifteen the program keeps: an equal formula written "
    "another way may be judged wrong",
    "the value depends on neither y nor z: a bare number is judged right",
    "the value has fewer than 4 significant digits: a guess may be judged right",
    "the same value as %1: an answer to either is judged right for both",
    "the picture's TeX does not typeset: %1",
    "the picture is %1 px wide and the task box shows 393 px: pupils see it cut",
};

constexpr const char* kRussianWarnings[] = {
    "значение — текст ошибки «Ошибка»: любой ответ со значением «Ошибка» засчитывается как "
    "верный",
    "программа читает минус перед чётной степенью не так, как школьная математика: ответ, верный "
    "по "
    "школьным правилам (со скобками вокруг степени), засчитывается как неверный",
    "значение зависит от цифр дальше пятнадцати, что хранит программа: равная формула, "
    "записанная иначе, может быть засчитана как неверная",
    "значение не зависит ни от y, ни от z: засчитывается и просто число",
    "в значении меньше 4 значащих цифр: угаданный ответ может быть засчитан",
    "то же значение, что у варианта %1: ответ к любому из них засчитывается к обоим",
    "TeX картинки не набирается: %1",
    "ширина картинки %1 px, а поле задания показывает 393 px: ученик увидит её обрезанной",
};

} // namespace

std::string WarningText(TLanguage language, const TTaskTable& tasks, const TTaskWarning& warning) {
    const int kind = static_cast<int>(warning.Kind);
    const char* text =
        language == TLanguage::Russian ? kRussianWarnings[kind] : kEnglishWarnings[kind];
    switch (warning.Kind) {
    case TTaskWarningKind::SameValue:
        return Filled(text, tasks.EntryText(warning.Other));
    case TTaskWarningKind::TooWide:
        return Filled(text, std::to_string(warning.Other));
    case TTaskWarningKind::TexError:
        return Filled(text, warning.Message);
    default:
        return text;
    }
}

std::string WarningsText(TLanguage language, const TTaskTable& tasks,
                         const std::vector<TTaskWarning>& warnings) {
    std::string text;
    for (const TTaskWarning& warning : warnings)
        text += (text.empty() ? "" : "; ") + WarningText(language, tasks, warning);
    return text;
}
