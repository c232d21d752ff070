// What practice's live preview says about an answer while it is typed: the
// TeX of the answer as the program reads it, or its first unreadable place
// marked and named, and the hints for the usual mistakes that apply.
#pragma once

#include "quiz/core/AnswerHints.h"

#include <QString>

#include <string>
#include <vector>

class QListWidget;
class QWidget;

struct TPreview {
    QString Tex;     // empty when there is nothing to typeset
    QString Problem; // rich text: the place marked in the answer, then named
    std::vector<TAnswerHint> Hints;
    int Length = 0; // of the answer, for the hints' places
};

// 'answer': code page 1251, as the answer box holds it. A blank answer has
// nothing to show.
TPreview MakePreview(const std::string& answer);

// "Знак N: ..." for a place in the answer, "В конце ответа: ..." past it.
QString PlaceName(int position, int length);

// A list of hints whose lines wrap, and its lines for a preview.
QListWidget* MakeHintList(QWidget* parent);
void ShowHints(QListWidget* list, const TPreview& preview);
