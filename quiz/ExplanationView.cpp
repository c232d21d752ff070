#include "quiz/ExplanationView.h"

#include "app/shell/FormulaView.h"
#include "app/shell/Look.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/TextCodec.h"
#include "app/shell/WidgetStyle.h"
#include "quiz/core/AnswerExplanation.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/SpokenFormula.h"
#include "quiz/core/TexFormula.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>

namespace {

// One em of the typeset answer, as in the task pictures.
constexpr qreal kFormulaPixelsPerEm = 18;

// Heights that do not follow the text.
constexpr int kTypedHeight = 48; // a line of the answer and a scroll bar
constexpr int kFormulaHeight = 100;
constexpr int kHintsHeight = 58;
constexpr int kStepsHeight = 160;
constexpr int kCaptionHeight = 18;
constexpr int kGap = 6;

QLabel* MakeLabel(QWidget* parent, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* MakeCaption(QWidget* parent, const QString& text) {
    QLabel* label = MakeLabel(parent, text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColour(label, clBlue);
    return label;
}

QLabel* MakeWrapping(QWidget* parent, const QColor& colour) {
    QLabel* label = MakeLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColour(label, colour);
    return label;
}

// A list whose lines wrap: never a sideways scroll bar.
QListWidget* MakeWrappingList(QWidget* parent, const QString& name) {
    auto* list = new QListWidget(parent);
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setResizeMode(QListView::Adjust);
    list->setFocusPolicy(Qt::StrongFocus);
    list->setAccessibleName(name);
    return list;
}

// Places a label whose height is what its text needs at this width (none
// when it is empty); returns the top of what comes below it.
int PlaceText(QLabel* label, int x, int y, int width) {
    const int height = label->text().isEmpty() ? 0 : label->heightForWidth(width);
    label->setGeometry(x, y, width, std::max(height, 0));
    return height > 0 ? y + height + kGap : y;
}

// An answer's value can be as long as the answer (its brackets left over):
// beyond a few lines its middle is left out, so the page stays readable.
QString Shortened(const QString& text) {
    constexpr int kKept = 120; // characters kept at each end
    if (text.size() <= 2 * kKept + 1)
        return text;
    return text.left(kKept) + QStringLiteral(" … ") + text.right(kKept);
}

QString PlaceName(int position, int length) {
    return position > length ? QStringLiteral("В конце ответа: ")
                             : QStringLiteral("Знак %1: ").arg(position);
}

} // namespace

TExplanationView::TExplanationView(QWidget* parent) : QWidget(parent) {
    CreateControls();
    // The typeset answer's box has its size before the first answer.
    Layout();
    connect(ListBox2, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(hintPlaces_.size()))
            ScrollTypedTo(hintPlaces_[static_cast<std::size_t>(row)]);
    });
}

void TExplanationView::CreateControls() {
    Label1 = MakeCaption(this, QStringLiteral("Ваш ответ:"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 16, kBold));
    Memo1->setAccessibleName(QStringLiteral("Ваш ответ, как набран"));

    Formula1 = new TFormulaView(this);
    Formula1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackground(Formula1->viewport(), clWhite);
    SetBackground(Formula1->Picture(), clWhite);
    for (QWidget* answer :
         {static_cast<QWidget*>(Formula1), static_cast<QWidget*>(Formula1->Picture())})
        answer->setAccessibleName(QStringLiteral("Ваш ответ в школьной записи"));
    // Stands in for the typeset answer when it cannot be read.
    Label2 = MakeWrapping(this, clRed);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label2->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 16, kBold));
    SetBackground(Label2, clWhite);

    Label3 = MakeCaption(this, {});
    ListBox2 = MakeWrappingList(this, QStringLiteral("Подсказки"));
    Label4 = MakeCaption(this, QStringLiteral("Значение ответа:"));
    Label5 = MakeWrapping(this, clNavy);
    Label6 = MakeCaption(this, QStringLiteral("Сравнение со значением задания:"));
    Label7 = MakeWrapping(this, clNavy);
    Label8 = MakeWrapping(this, clRed);
    Label9 = MakeCaption(this, QStringLiteral("Как программа считала ответ:"));
    ListBox1 = MakeWrappingList(this, QStringLiteral("Как программа считала ответ"));
}

// From the top; x and width in the view. Wrapped texts take the height
// they need, so the view's height follows what it shows.
void TExplanationView::Layout() {
    const int w = ViewWidth;
    Label1->setGeometry(0, (kTypedHeight - kCaptionHeight) / 2, 84, kCaptionHeight);
    Memo1->setGeometry(88, 0, w - 88, kTypedHeight);
    int y = kTypedHeight + kGap;
    Formula1->setGeometry(0, y, w, kFormulaHeight);
    Label2->setGeometry(0, y, w, kFormulaHeight);
    y += kFormulaHeight + kGap;
    Label3->setGeometry(0, y, w, kCaptionHeight);
    y += kCaptionHeight;
    const int hints = ListBox2->count() > 0 ? kHintsHeight : 0;
    ListBox2->setGeometry(0, y, w, hints);
    y += hints + kGap;
    Label4->setGeometry(0, y, 160, kCaptionHeight);
    y = std::max(PlaceText(Label5, 160, y, w - 160), y + kCaptionHeight + kGap);
    Label6->setGeometry(0, y, w, kCaptionHeight);
    y = PlaceText(Label7, 0, y + kCaptionHeight, w);
    y = PlaceText(Label8, 0, y, w);
    Label9->setGeometry(0, y, w, kCaptionHeight);
    y += kCaptionHeight;
    ListBox1->setGeometry(0, y, w, kStepsHeight);
    setFixedSize(w, y + kStepsHeight);
}

void TExplanationView::ShowCheck(const TCheckRecord& check) {
    const TAnswerExplanation explanation = ExplainCheck(check);
    ShowAnswer(check, explanation);
    ShowHints(explanation);
    ShowValue(check, explanation);
    ShowSteps(explanation);
    Layout();
    ScrollTypedTo(marks_.empty() ? 1 : marks_.front());
}

void TExplanationView::ShowAnswer(const TCheckRecord& check,
                                  const TAnswerExplanation& explanation) {
    const QString typed = FromCp1251(check.Answer);
    typedLength_ = check.Answer.size();
    const TTexFormula tex = FormulaToTex(check.Answer);
    marks_.clear();
    if (!tex.Read && tex.ProblemPos > 0)
        marks_.push_back(tex.ProblemPos);
    for (const TAnswerHint& hint : explanation.Hints)
        marks_.push_back(hint.Position);
    for (const TPlacedNote& note : explanation.Notes)
        marks_.push_back(note.Position);
    std::sort(marks_.begin(), marks_.end());
    marks_.erase(std::unique(marks_.begin(), marks_.end()), marks_.end());
    MarkPlaces(typed);

    Formula1->setVisible(tex.Read);
    Formula1->SetSpokenForm(tex.Read ? FromCp1251(SpokenTex(tex.Tex)) : QString());
    Label2->setVisible(!tex.Read);
    if (tex.Read) {
        Label2->clear();
        Formula1->ShowTex(QString::fromStdString(tex.Tex), kFormulaPixelsPerEm);
    } else {
        Formula1->Clear();
        // An empty answer has no place to name.
        QString problem = FromCp1251(tex.Problem);
        if (typed.isEmpty() && !problem.isEmpty())
            problem[0] = problem[0].toUpper();
        else
            problem.prepend(PlaceName(tex.ProblemPos, static_cast<int>(typed.size())));
        Label2->setText(problem);
    }
}

// The typed answer, with a blank after it when a place just past its end
// is marked (a missing bracket).
void TExplanationView::MarkPlaces(const QString& typed) {
    const bool pastTheEnd = !marks_.empty() && marks_.back() > typed.size();
    Memo1->setPlainText(pastTheEnd ? typed + QLatin1Char(' ') : typed);
    QTextCharFormat marked;
    marked.setBackground(MarkColours().Ground);
    marked.setForeground(MarkColours().Ink);
    QList<QTextEdit::ExtraSelection> selections;
    for (const int at : marks_) {
        QTextCursor cursor(Memo1->document());
        cursor.setPosition(std::min<int>(at, Memo1->document()->characterCount() - 1) - 1);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        selections.push_back({cursor, marked});
    }
    Memo1->setExtraSelections(selections);
}

void TExplanationView::ScrollTypedTo(int position) {
    QTextCursor cursor(Memo1->document());
    cursor.setPosition(std::clamp(position - 1, 0, Memo1->document()->characterCount() - 1));
    Memo1->setTextCursor(cursor);
    if (position <= 1)
        Memo1->horizontalScrollBar()->setValue(0);
    Memo1->ensureCursorVisible();
}

void TExplanationView::ShowHints(const TAnswerExplanation& explanation) {
    struct TPlaced {
        int Position;
        std::string Text;
    };
    std::vector<TPlaced> placed;
    for (const TAnswerHint& hint : explanation.Hints)
        placed.push_back({hint.Position, hint.Text});
    for (const TPlacedNote& note : explanation.Notes)
        placed.push_back({note.Position, note.Text});
    std::stable_sort(placed.begin(), placed.end(),
                     [](const TPlaced& a, const TPlaced& b) { return a.Position < b.Position; });
    const int length = static_cast<int>(typedLength_);
    ListBox2->clear();
    hintPlaces_.clear();
    for (const TPlaced& one : placed) {
        ListBox2->addItem(PlaceName(one.Position, length) + FromCp1251(one.Text));
        hintPlaces_.push_back(one.Position);
    }
    ListBox2->setVisible(!placed.empty());
    ListBox2->scrollToTop();
    Label3->setText(placed.empty() ? QStringLiteral("Подсказок нет")
                                   : QStringLiteral("Подсказки:"));
}

void TExplanationView::ShowValue(const TCheckRecord& check, const TAnswerExplanation& explanation) {
    if (!check.AnswerDone)
        Label5->setText(QStringLiteral("не вычислено"));
    else if (check.AnswerValue.empty())
        Label5->setText(QStringLiteral("(пустой текст)"));
    else
        Label5->setText(Shortened(FromCp1251(check.AnswerValue)));
    QStringList comparison;
    for (const std::string& line : explanation.Comparison)
        comparison << Shortened(FromCp1251(line));
    Label7->setText(comparison.join(QLatin1Char('\n')));
    QStringList lines;
    if (!explanation.Message.empty())
        lines << QStringLiteral("Сообщение: ") + FromCp1251(explanation.Message);
    if (check.Raised) {
        lines << QStringLiteral("Ошибка: ") + ErrorBoxText(check.RaisedError);
        const std::string meaning = ExplainRaisedError(check.RaisedError);
        if (!meaning.empty())
            lines << FromCp1251(meaning);
    }
    Label8->setText(lines.join(QLatin1Char('\n')));
}

void TExplanationView::ShowSteps(const TAnswerExplanation& explanation) {
    ListBox1->clear();
    int number = 0;
    for (const TStepLine& line : explanation.Steps) {
        ListBox1->addItem(QStringLiteral("%1. ").arg(++number) + FromCp1251(line.Text));
        if (!line.Note.empty())
            ListBox1->addItem(QStringLiteral("    ") + FromCp1251(line.Note));
    }
    ListBox1->scrollToTop();
}

// Hidden, the typed answer's box has no size yet to scroll in: once shown
// it is scrolled again to its first marked place.
void TExplanationView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ScrollTypedTo(marks_.empty() ? 1 : marks_.front());
}
