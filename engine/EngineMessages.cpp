#include "engine/EngineMessages.h"

#include "engine/Cp1251.h"

namespace formulon::engine {

namespace EngineMessage {
const std::string Comma = Utf8ToCp1251("Неизвестный знак \",\"");
const std::string NegativePower = Utf8ToCp1251("Невозможно возведение в степень ");
const std::string DivisionByZero = Utf8ToCp1251("Нельзя делить на ноль");
const std::string Logarithm = Utf8ToCp1251("Ошибка в логарифмах");
const std::string Tangent = Utf8ToCp1251("Ошибка в тангенсах");
const std::string SquareRoot = Utf8ToCp1251("Невозможно вычислить");
const std::string Exponent = Utf8ToCp1251("Ошибка возведения в степень e");
const std::string UnknownOperator = Utf8ToCp1251("Замечен неизвестный оператор");
const std::string Brackets = Utf8ToCp1251("Ошибка в скобках");
const std::string MissingClose = Utf8ToCp1251("Не хватает скобки \")\"");
const std::string MissingOpen = Utf8ToCp1251("Не хватает скобки \"(\"");
} // namespace EngineMessage

const std::string GroupFailureText = Utf8ToCp1251("Ошибка");

} // namespace formulon::engine
