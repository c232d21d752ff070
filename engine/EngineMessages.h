// The fixed messages engine steps write into LastErrorText, as code page
// 1251 byte strings.
#pragma once

#include <string>

namespace formulon::engine {

namespace EngineMessage {
extern const std::string Comma; // Неизвестный знак ","
extern const std::string NegativePower; // Невозможно возведение в степень (trailing blank)
extern const std::string DivisionByZero;  // Нельзя делить на ноль
extern const std::string Logarithm;       // Ошибка в логарифмах
extern const std::string Tangent;         // Ошибка в тангенсах
extern const std::string SquareRoot;      // Невозможно вычислить
extern const std::string Exponent;        // Ошибка возведения в степень e
extern const std::string UnknownOperator; // Замечен неизвестный оператор
extern const std::string Brackets;        // Ошибка в скобках
extern const std::string MissingClose;    // Не хватает скобки ")"
extern const std::string MissingOpen;     // Не хватает скобки "("
} // namespace EngineMessage

// The text the bracket loop returns when a group fails ("Ошибка").
extern const std::string GroupFailureText;

} // namespace formulon::engine
