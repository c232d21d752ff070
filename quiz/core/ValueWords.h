// The answer's value compared with the task's in words that give none of
// the task's digits away: no digit of its value, no place where the texts
// part. Texts are code page 1251.
#pragma once

#include <string>
#include <vector>

// The engine's texts for a failed evaluation: "Ошибка", "~" and the empty
// text.
bool IsErrorValue(const std::string& value);

// The first line is "совпадает" or "не совпадает"; further lines say how
// the answer's value differs: its sign and its order of magnitude in words
// ("по модулю примерно в 100 раз больше", never a power of ten), an equal
// value written in another form, or why the answer's value is an error
// text ('answerMessage': the message its own evaluation wrote, or empty;
// it is shown apart, so it is not repeated here). When the task's own
// value is an error text, only "не совпадает". Whether a different value
// is right in mathematics is MathEquality's to say.
std::vector<std::string> CompareValues(const std::string& answerValue, const std::string& taskValue,
                                       const std::string& answerMessage);
