#include "quiz/core/ValueWords.h"

#include "engine/Cp1251.h"
#include "engine/EngineMessages.h"
#include "engine/FloatEnv.h"
#include "engine/NumberText.h"

#include <cmath>
#include <exception>
#include <optional>

using namespace formulon::engine;

namespace {

// Mathematically equal values whose texts differ by the order of the
// operations agree to this many significant digits at least.
constexpr Extended kAgreement = 1e-12L;

std::string Cp(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A sign, digits with at most one comma, then an optional exponent: the
// number texts the engine writes or leaves as they were typed ("007",
// "147,0", "+1").
bool IsNumberShape(const std::string& text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        return i - start;
    };
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == ',') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < text.size() && text[i] == 'E') {
        ++i;
        if (i < text.size() && text[i] == '-')
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == text.size();
}

std::optional<Extended> NumberValue(const std::string& text) {
    if (!IsNumberShape(text))
        return std::nullopt;
    try {
        return ParseNumber(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Why an answer's value is an error text.
std::vector<std::string> ErrorValueWords(const std::string& value, const std::string& message) {
    std::string what, why;
    if (value.empty()) {
        what = Cp("значение вашего ответа пустое");
        why = Cp("в ответе нет ни одного числа");
    } else if (value == GroupFailureText) {
        what = Cp("значение вашего ответа — «Ошибка»: скобки не удалось вычислить или подставить");
        why = Cp("например, перед скобкой число без знака «*» или неизвестный знак");
    } else {
        what = Cp("значение вашего ответа — «~»: программа не смогла выполнить действие");
        why = Cp("например, у знака действия нет числа с одной стороны");
    }
    if (!message.empty())
        why = Cp("программа сообщила: «") + message + Cp("»");
    std::vector<std::string> lines = {Cp("не совпадает"), what};
    if (!why.empty())
        lines.push_back(why);
    return lines;
}

// How two different number texts compare.
std::vector<std::string> NumberWords(Extended answer, Extended task) {
    std::vector<std::string> lines = {Cp("не совпадает")};
    if (answer == task) {
        lines.push_back(Cp("значение то же, но записано иначе (лишние нули, знак «+»): программа "
                           "сравнивает записи знак в знак — уберите лишнее из чисел ответа"));
        return lines;
    }
    const Extended a = std::fabs(answer), b = std::fabs(task);
    const bool sameSign = (answer < 0) == (task < 0);
    if (sameSign && std::fabs(answer - task) <= kAgreement * std::fmax(a, b)) {
        lines.push_back(Cp("ваш ответ математически равен заданию, но записан в другом порядке: "
                           "порядок действий меняет последние цифры, а программа сравнивает все. "
                           "Запишите формулу в том порядке, как на картинке"));
        return lines;
    }
    if (a == 0 || b == 0)
        return lines;
    // Logarithms taken apart: the quotient of two extreme values overflows.
    const long k = std::lround(std::log10(a) - std::log10(b));
    if (k != 0)
        lines.push_back(Cp("ваше значение примерно в 10^") + std::to_string(std::labs(k)) +
                        Cp(k > 0 ? " раз больше" : " раз меньше"));
    return lines;
}

} // namespace

bool IsErrorValue(const std::string& value) {
    return value.empty() || IsFailureMarker(value) || value == GroupFailureText;
}

std::vector<std::string> CompareValues(const std::string& answerValue, const std::string& taskValue,
                                       const std::string& answerMessage) {
    if (answerValue == taskValue)
        return {Cp("совпадает")};
    const std::optional<Extended> task = NumberValue(taskValue);
    if (IsErrorValue(taskValue) || !task)
        return {Cp("не совпадает")};
    if (IsErrorValue(answerValue))
        return ErrorValueWords(answerValue, answerMessage);
    const std::optional<Extended> answer = NumberValue(answerValue);
    std::vector<std::string> lines;
    if (answer)
        lines = NumberWords(*answer, *task);
    else
        lines = {Cp("не совпадает"), Cp("значение вашего ответа «") + answerValue +
                                         Cp("» — не число: в нём остались знаки, которые "
                                            "программа не вычисляет")};
    // The engine clears the flags before each step; none is left for it.
    ClearFloatingPointFlags();
    return lines;
}
