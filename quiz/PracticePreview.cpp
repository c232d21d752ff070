#include "quiz/PracticePreview.h"

#include "quiz/core/AnswerHints.h"
#include "quiz/core/ReadingParts.h"
#include "quiz/core/TexFormula.h"
#include "ui/Look.h"
#include "ui/TextCodec.h"

#include <QListWidget>

#include <algorithm>

namespace {

// Characters shown on either side of the marked place of a long answer.
constexpr int kAround = 24;
// An answer can hold thousands of mistakes ("1y+2y+3y…"); laying out every
// hint after each pause would hold the keys up, and no pupil reads them all.
constexpr std::size_t kShownHints = 50;

// The answer round the place (1-based), the place marked; a place just past
// the end marks a blank there, as for a missing bracket.
QString Marked(const QString& typed, int position) {
    const int from = std::max(1, position - kAround);
    const int to = std::min(static_cast<int>(typed.size()), position + kAround);
    const QString mark = QStringLiteral("<span style=\"background-color:%1;color:%2\">")
                             .arg(MarkColours().Ground.name(), MarkColours().Ink.name());
    QString html = from > 1 ? QStringLiteral("…") : QString();
    for (int at = from; at <= to; ++at) {
        const QString character = QString(typed[at - 1]).toHtmlEscaped();
        html += at == position ? mark + character + QStringLiteral("</span>") : character;
    }
    if (position > typed.size())
        html += mark + QStringLiteral("&nbsp;</span>");
    if (to < typed.size())
        html += QStringLiteral("…");
    return QStringLiteral("<span style=\"white-space:pre\">") + html + QStringLiteral("</span>");
}

} // namespace

TPreview MakePreview(const std::string& answer, int task, int variant, const TTaskTable& tasks) {
    TPreview preview;
    if (answer.find_first_not_of(' ') == std::string::npos)
        return preview;
    preview.Length = static_cast<int>(answer.size());
    const std::optional<TReadingPart> part = FindReadingPart(answer);
    TTexMark mark;
    if (part)
        mark = {part->From, part->To};
    const TTexFormula tex = FormulaToTex(answer, mark, task, variant, tasks);
    if (tex.Read) {
        preview.Tex = QString::fromStdString(tex.Tex);
        if (part)
            preview.Problem = Marked(FromCp1251(answer), part->Position);
    } else {
        const QString named = FromCp1251(PlaceName(tex.ProblemPos, preview.Length) + tex.Problem);
        preview.Problem = Marked(FromCp1251(answer), tex.ProblemPos) + QStringLiteral("<br>") +
                          named.toHtmlEscaped();
    }
    for (const TAnswerHint& hint :
         HintsBeside(FindHints(answer, task, variant, tasks), tex.ProblemPos, tex.Problem))
        preview.Hints.push_back({hint.Position, hint.Text});
    if (part) {
        const auto after = std::find_if(
            preview.Hints.begin(), preview.Hints.end(),
            [&part](const TPlacedText& hint) { return hint.Position > part->Position; });
        preview.Hints.insert(after, {part->Position, part->Note});
    }
    return preview;
}

QListWidget* MakeHintList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setResizeMode(QListView::Adjust);
    list->setAccessibleName(QStringLiteral("Подсказки"));
    return list;
}

void ShowHints(QListWidget* list, const TPreview& preview) {
    list->clear();
    const std::size_t shown = std::min(preview.Hints.size(), kShownHints);
    for (std::size_t i = 0; i < shown; ++i)
        list->addItem(FromCp1251(PlaceName(preview.Hints[i].Position, preview.Length) +
                                 preview.Hints[i].Text));
    if (shown < preview.Hints.size())
        list->addItem(QStringLiteral("… и ещё %1").arg(preview.Hints.size() - shown));
}
