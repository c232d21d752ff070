// What a raised error's English text means for an answer, in Russian
// (declared in StepWords.h).
#include "quiz/core/StepWords.h"

#include "engine/Cp1251.h"
#include "quiz/core/FormulaTokens.h"

#include <optional>

using namespace formulon::engine;

namespace {

std::string Cp(const char* utf8) {
    return Utf8ToCp1251(utf8);
}

std::string Quoted(const std::string& text) {
    return Cp("«") + text + Cp("»");
}

// The text a conversion error quotes: 'x' in "'x' is not a valid ...".
std::optional<std::string> NotANumber(const std::string& message) {
    static const std::string kTail = "' is not a valid floating point value";
    if (message.size() < kTail.size() + 1 || message.front() != '\'' ||
        message.compare(message.size() - kTail.size(), kTail.size(), kTail) != 0)
        return std::nullopt;
    return message.substr(1, message.size() - kTail.size() - 1);
}

std::string ExplainNotANumber(const std::string& text) {
    if (text.empty())
        return Cp("на месте числа ничего нет: пустые скобки или знак действия без числа");
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (const char latin = LatinLookalike(byte))
            return Cp("в ответе русская буква ") + Quoted(std::string(1, c)) +
                   Cp(" вместо латинской ") + latin + Cp(": переключите раскладку");
        if (IsRussianLetter(byte))
            return Cp("в ответе русская буква ") + Quoted(std::string(1, c)) +
                   Cp(": в формуле буквы только латинские");
    }
    if (text == "e")
        return Cp("«e» — не число: число e пишут exp(1)");
    if (text.find('|') != std::string::npos)
        return Cp("знак «|» программа не знает: модуль пишут abs(…)");
    if (text.find(",,") != std::string::npos)
        return Cp("в числе две точки подряд");
    if (text == "-" || text == "+")
        return Cp("после знака ") + Quoted(text) + Cp(" нет числа");
    return Quoted(text) + Cp(" — не число: программа знает только числа, переменные y и z и "
                             "функции со скобками");
}

} // namespace

std::string ExplainRaisedError(const std::string& message) {
    if (const std::optional<std::string> text = NotANumber(message))
        return ExplainNotANumber(*text);
    if (message == "Invalid floating point operation")
        return Cp("недопустимое действие с числами, например 0 разделили на 0: ноль, записанный "
                  "как 0.0 или -0, программа заранее не узнаёт");
    if (message == "Floating point division by zero")
        return Cp("деление на ноль: делитель записан как 0.0 или -0, или ноль возводится в "
                  "отрицательную степень");
    if (message == "Floating point overflow")
        return Cp("число получилось слишком большим: программа хранит числа меньше 10^308");
    return {};
}
