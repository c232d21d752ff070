// What the check reads from the answer box, for every way an answer reaches
// it: the main window's box and the console checker. The box holds at most
// kAnswerBoxMaxLength UTF-16 code units in lower case, and the engine reads
// code page 1251, where a character without a byte becomes '?'.
#pragma once

#include <string>
#include <string_view>

// The line edit's own limit; it counts UTF-16 code units.
inline constexpr int kAnswerBoxMaxLength = 32767;

// The code page 1251 text the check reads once 'pasted' has been put into
// the empty box: cut to the limit, lower case (where that lengthens the
// text, cut again), every character the code page lacks a '?'. Lower case
// follows the box's Unicode rules for every character that has a byte.
std::string AnswerBoxText(std::u32string_view pasted);
