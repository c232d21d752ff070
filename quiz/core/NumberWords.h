// Numbers in Russian words, as a teacher reads them aloud: "двадцать
// пять", "пять целых одна десятая". Texts are UTF-8 here; the caller turns
// them into code page 1251 with the rest of its speech.
#pragma once

#include <string>
#include <string_view>

// A number as written: digits with at most one decimal separator (',' or
// '.'). Whole numbers up to fifteen digits and fractions of up to six
// decimals are read as numbers; anything else (a leading zero, as in 007,
// more digits, a separator without digits on one side) digit by digit, the
// separator as "запятая", so that what is read is what is written.
std::string NumberWords(std::string_view number);

// 2 "в квадрате", 3 "в кубе", 4 to 10 "в четвёртой степени" ... "в десятой
// степени"; empty for any other exponent, which is read "в степени ...".
std::string NamedPowerWords(std::string_view exponent);
