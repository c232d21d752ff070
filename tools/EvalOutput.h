// What formulon-eval prints for a formula or an answer, apart from the
// modes' bookkeeping.
#pragma once

#include <string>

// One field of an output line: UTF-8, with every control character
// escaped so that one formula always gives one line, and the backslash too
// unless 'keepBackslash' (TeX in an explanation's text).
std::string Field(const std::string& cp1251, bool keepBackslash = false);

// What "Разбор ответа" would show after a check of 'answer' (code page
// 1251, as the answer box holds it) to the task and variant, as lines of
// UTF-8 text, the same texts from the same code (ExplanationTexts), each
// section under the window's caption, ending with an empty line. 'right'
// tells whether the quiz would count it right.
std::string ExplainAnswer(int task, int variant, const std::string& answer, bool& right);
