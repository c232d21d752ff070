#include "quiz/ExplanationView.h"

#include "quiz/core/CheckRecord.h"
#include "quiz/core/ExplanationTexts.h"
#include "quiz/core/SpokenFormula.h"
#include "typeset/FormulaView.h"
#include "ui/Look.h"
#include "ui/MessageBoxes.h"
#include "ui/TextCodec.h"
#include "ui/WidgetStyle.h"

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

QString Joined(const std::vector<std::string>& lines) {
    QStringList joined;
    for (const std::string& line : lines)
        joined << FromCp1251(line);
    return joined.join(QLatin1Char('\n'));
}

QString Caption(const char* utf8) {
    return QString::fromUtf8(utf8);
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
    Label1 = MakeCaption(this, Caption(ExplainCaption::Typed));
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
    Label4 = MakeCaption(this, Caption(ExplainCaption::Value));
    Label5 = MakeWrapping(this, clNavy);
    Label6 = MakeCaption(this, Caption(ExplainCaption::Comparison));
    Label7 = MakeWrapping(this, clNavy);
    Label8 = MakeWrapping(this, clRed);
    Label9 = MakeCaption(this, Caption(ExplainCaption::Steps));
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
    const TExplanationTexts texts = ExplanationTexts(check);
    ShowAnswer(check, texts);
    ShowHints(texts);
    ShowValue(texts);
    ShowSteps(texts);
    Layout();
    ScrollTypedTo(marks_.empty() ? 1 : marks_.front());
}

void TExplanationView::ShowAnswer(const TCheckRecord& check, const TExplanationTexts& texts) {
    marks_ = texts.Marks;
    MarkPlaces(FromCp1251(check.Answer));
    const bool typeset = !texts.Tex.empty();
    Formula1->setVisible(typeset);
    Formula1->SetSpokenForm(typeset ? FromCp1251(SpokenTex(texts.Tex)) : QString());
    Label2->setVisible(!typeset);
    if (typeset) {
        Label2->clear();
        Formula1->ShowTex(QString::fromStdString(texts.Tex), kFormulaPixelsPerEm);
    } else {
        Formula1->Clear();
        Label2->setText(FromCp1251(texts.Unreadable));
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

void TExplanationView::ShowHints(const TExplanationTexts& texts) {
    ListBox2->clear();
    hintPlaces_.clear();
    for (const TPlacedText& one : texts.Hints) {
        ListBox2->addItem(FromCp1251(one.Text));
        hintPlaces_.push_back(one.Position);
    }
    ListBox2->setVisible(!texts.Hints.empty());
    ListBox2->scrollToTop();
    Label3->setText(Caption(texts.Hints.empty() ? ExplainCaption::NoHints : ExplainCaption::Hints));
}

void TExplanationView::ShowValue(const TExplanationTexts& texts) {
    Label5->setText(FromCp1251(texts.Value));
    Label7->setText(Joined(texts.Comparison));
    Label8->setText(Joined(texts.Messages));
}

void TExplanationView::ShowSteps(const TExplanationTexts& texts) {
    ListBox1->clear();
    for (const std::string& line : texts.Steps)
        ListBox1->addItem(FromCp1251(line));
    ListBox1->scrollToTop();
}

// Hidden, the typed answer's box has no size yet to scroll in: once shown
// it is scrolled again to its first marked place.
void TExplanationView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ScrollTypedTo(marks_.empty() ? 1 : marks_.front());
}
