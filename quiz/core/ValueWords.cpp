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

// Why an answer's value is an error text. The message itself is shown once,
// beside the comparison, so only its absence is made up for here.
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
    std::vector<std::string> lines = {Cp("не совпадает"), what};
    if (message.empty())
        lines.push_back(why);
    return lines;
}

// "в 100 раз", "в 1 000 раз": a power of ten in words, never as 10^k.
std::string Times(long k) {
    std::string digits = "1" + std::string(static_cast<std::size_t>(k), '0');
    for (auto at = static_cast<long>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), " ");
    return Cp("в ") + digits + Cp(" раз");
}

// How the answer's magnitude compares: "примерно в 100 раз больше", or
// empty when it is of the same order.
std::string Magnitude(Extended a, Extended b) {
    // Logarithms taken apart: the quotient of two extreme values overflows.
    const Extended order = std::log10(a) - std::log10(b);
    constexpr Extended kMillion = 6;
    if (std::fabs(order) > kMillion)
        return Cp(order > 0 ? "более чем в миллион раз больше" : "более чем в миллион раз меньше");
    const long k = std::lround(order);
    if (k == 0)
        return {};
    return Cp("примерно ") + Times(std::labs(k)) + Cp(k > 0 ? " больше" : " меньше");
}

// How two different number texts compare, the signs first: -10,88 against
// -0,07 is larger only by its absolute value.
std::vector<std::string> NumberWords(Extended answer, Extended task) {
    std::vector<std::string> lines = {Cp("не совпадает")};
    if (answer == task) {
        lines.push_back(Cp("значение то же, но записано иначе (лишние нули, знак «+»): программа "
                           "сравнивает записи знак в знак — уберите лишнее из чисел ответа"));
        return lines;
    }
    const Extended a = std::fabs(answer), b = std::fabs(task);
    if (a == 0 || b == 0)
        return lines;
    const std::string magnitude = Magnitude(a, b);
    if ((answer < 0) != (task < 0))
        lines.push_back(Cp("ваше значение другого знака") +
                        (magnitude.empty() ? std::string() : Cp(" и по модулю ") + magnitude));
    else if (!magnitude.empty())
        lines.push_back(Cp(answer < 0 ? "ваше значение по модулю " : "ваше значение ") + magnitude);
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
