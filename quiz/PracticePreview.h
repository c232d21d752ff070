// What practice's live preview says about an answer while it is typed: the
// TeX of the answer in school notation, or its first unreadable place
// marked and named, and the hints for the usual mistakes that apply. Where
// the program reads the answer differently from school mathematics (a minus
// before a power), that place is boxed in the TeX and marked in the answer,
// and its note stands among the hints, as after a check.
#pragma once

#include "quiz/core/ExplanationTexts.h"
#include "quiz/core/TaskCatalogue.h"

#include <QString>

#include <string>
#include <vector>

class QListWidget;
class QWidget;

struct TPreview {
    QString Tex; // empty when there is nothing to typeset
    // Rich text: the place marked in the answer, then named when it cannot
    // be read; or the place the program reads differently, marked.
    QString Problem;
    std::vector<TPlacedText> Hints; // and the note, earliest place first
    int Length = 0;                 // of the answer, for the hints' places
};

// 'answer': code page 1251, as the answer box holds it, to the task and
// variant shown (for the hints that read its picture). A blank answer has
// nothing to show.
TPreview MakePreview(const std::string& answer, int task, int variant,
                     const TTaskTable& tasks = ReferenceFormulas);

// A list of hints whose lines wrap, and its lines for a preview.
QListWidget* MakeHintList(QWidget* parent);
void ShowHints(QListWidget* list, const TPreview& preview);
