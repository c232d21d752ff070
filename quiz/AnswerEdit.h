// The answer box's rules, for every box a pupil types an answer into (the
// quiz's and practice's): its text held in lower case, whatever is typed or
// pasted, and at most kAnswerBoxMaxLength units. AnswerBoxText
// (quiz/core/AnswerBox.h) says what a check then reads from it.
#pragma once

#include <string>

class QLineEdit;

void MakeAnswerBox(QLineEdit* edit);

// What a check reads from the box: its text in code page 1251.
std::string AnswerText(const QLineEdit* edit);
