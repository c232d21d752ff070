// The rules of the boxes a pupil types into. An answer box (the quiz's and
// practice's) holds its text in lower case, whatever is typed or pasted,
// and at most kAnswerBoxMaxLength units; AnswerBoxText
// (quiz/core/AnswerBox.h) says what a check then reads from it.
#pragma once

#include <string>

class QLineEdit;

void MakeAnswerBox(QLineEdit* edit);

// What a check reads from the box: its text in code page 1251.
std::string AnswerText(const QLineEdit* edit);

// The box's whole text is selected as the box gets the keys (Tab, a click,
// the program, its window shown), so what the pupil types replaces it; not
// when its window or a menu gives them back after the pupil has typed in
// it, which would lose his place.
void SelectTextOnFocus(QLineEdit* edit);
