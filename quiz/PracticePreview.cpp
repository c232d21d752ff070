#include "quiz/PracticePreview.h"

#include "app/shell/Look.h"
#include "app/shell/TextCodec.h"
#include "quiz/core/TexFormula.h"

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

QString PlaceName(int position, int length) {
    return position > length ? QStringLiteral("В конце ответа: ")
                             : QStringLiteral("Знак %1: ").arg(position);
}

TPreview MakePreview(const std::string& answer) {
    TPreview preview;
    if (answer.find_first_not_of(' ') == std::string::npos)
        return preview;
    preview.Length = static_cast<int>(answer.size());
    const TTexFormula tex = FormulaToTex(answer);
    if (tex.Read) {
        preview.Tex = QString::fromStdString(tex.Tex);
    } else {
        const QString named = PlaceName(tex.ProblemPos, preview.Length) + FromCp1251(tex.Problem);
        preview.Problem = Marked(FromCp1251(answer), tex.ProblemPos) + QStringLiteral("<br>") +
                          named.toHtmlEscaped();
    }
    preview.Hints = FindHints(answer);
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
        list->addItem(PlaceName(preview.Hints[i].Position, preview.Length) +
                      FromCp1251(preview.Hints[i].Text));
    if (shown < preview.Hints.size())
        list->addItem(QStringLiteral("… и ещё %1").arg(preview.Hints.size() - shown));
}
