#include "quiz/ExplainFrm.h"

#include "app/shell/MathTypesetter.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/Pictures.h"
#include "app/shell/TextCodec.h"
#include "app/shell/WidgetStyle.h"
#include "app/shell/Windowing.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/MinusPower.h"
#include "quiz/core/StepWords.h"
#include "quiz/core/TaskCatalogue.h"
#include "quiz/core/TexFormula.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>

TExplainFrm* ExplainFrm = nullptr;

namespace {

// One em of the typeset answer, as in the task pictures.
constexpr qreal kFormulaPixelsPerEm = 18;

// The whole window, and the page above "Закрыть" within it.
constexpr QSize kWindowSize(560, 640);
constexpr QSize kPageSize(560, 596);

// The frame a window manager put round a shown window.
QMargins FrameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width = 0) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->adjustSize();
    if (width > 0)
        label->resize(width, label->height());
    return label;
}

// The text with the character at 'position' (1-based) marked; a position
// just past the end marks a blank there, as for a missing bracket.
QString MarkedText(const QString& text, int position) {
    const QString mark = QStringLiteral("<span style=\"background-color:#ffff00;color:#ff0000\">");
    QString html;
    for (int i = 0; i < text.size(); ++i) {
        const QString character = QString(text[i]).toHtmlEscaped();
        html += i + 1 == position ? mark + character + QStringLiteral("</span>") : character;
    }
    if (position > text.size())
        html += mark + QStringLiteral("&nbsp;</span>");
    return QStringLiteral("<span style=\"white-space:pre\">") + html + QStringLiteral("</span>");
}

QString ValueHtml(const std::string& value, int difference) {
    if (value.empty())
        return MarkedText({}, difference) + QStringLiteral(" (пустой текст)");
    return MarkedText(FromCp1251(value), difference);
}

// The answer typeset at the label's ratio, or why it could not be.
QString TypesetAnswer(QLabel* label, const QString& tex) {
    TTypesetFormula first =
        TMathTypesetter::Shared().Typeset(tex, kFormulaPixelsPerEm, label->devicePixelRatioF());
    if (!first.Ok()) {
        ShowPicture(label, [](qreal) { return QPixmap(); });
        return QStringLiteral("Формулу не удалось набрать: ") + first.Message;
    }
    ShowPicture(label, [tex, first = std::move(first)](qreal ratio) mutable {
        // The first drawing is already there; other ratios draw again.
        if (!first.Image.isNull() && qFuzzyCompare(first.Image.devicePixelRatio(), ratio))
            return QPixmap::fromImage(std::exchange(first.Image, {}));
        const TTypesetFormula again =
            TMathTypesetter::Shared().Typeset(tex, kFormulaPixelsPerEm, ratio);
        return again.Ok() ? QPixmap::fromImage(again.Image) : QPixmap();
    });
    label->adjustSize();
    return {};
}

} // namespace

TExplainFrm::TExplainFrm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Разбор ответа"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    SetTitleButtons(this, TTitleButtons::Close);
    setFont(PixelFont(QStringLiteral("Lucida Console"), 13));
    SetBackground(this, clSilver);
    SetTextColour(this, clNavy);
}

// The controls come with the first opening: until then the window costs
// the program nothing at start-up.
void TExplainFrm::EnsureControls() {
    if (Button1)
        return;
    CreateControls();
    Layout();
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TExplainFrm::CreateControls() {
    // Everything but "Закрыть" lies on a page that scrolls when the screen
    // is too small for the whole window.
    Panel2 = new QWidget;
    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setFrameShape(QFrame::NoFrame);
    ScrollBox2->setWidget(Panel2);
    ScrollBox2->setAccessibleName(QStringLiteral("Разбор ответа"));
    Label1 = MakeLabel(Panel2, {}, 16, 8, 528);
    SetTextColour(Label1, clBlue);
    Panel1 = new QFrame(Panel2);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackground(Panel1, clWhite);
    Image1 = new QLabel(Panel1);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setAccessibleName(QStringLiteral("Картинка задания"));

    Label2 = MakeLabel(Panel2, QStringLiteral("Ваш ответ:"), 16, 150);
    SetTextColour(Label2, clBlue);
    Label3 = new QLabel(Panel2);
    Label3->setTextFormat(Qt::RichText);
    Label3->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 16, kBold));
    ScrollBox1 = new QScrollArea(Panel2);
    ScrollBox1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackground(ScrollBox1->viewport(), clWhite);
    Image2 = new QLabel;
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetBackground(Image2, clWhite);
    ScrollBox1->setWidget(Image2);
    for (QWidget* answer : {static_cast<QWidget*>(ScrollBox1), static_cast<QWidget*>(Image2)})
        answer->setAccessibleName(QStringLiteral("Ваш ответ в школьной записи"));
    ScrollBox1->setAlignment(Qt::AlignCenter);
    // Stands in for the typeset answer when it cannot be read.
    Label12 = new QLabel(Panel2);
    Label12->setTextFormat(Qt::RichText);
    Label12->setAlignment(Qt::AlignCenter);
    Label12->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label12->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 20, kBold));
    SetBackground(Label12, clWhite);
    Label4 = MakeLabel(Panel2, {}, 16, 280, 528);
    Label4->setWordWrap(true);
    SetTextColour(Label4, clRed);

    Label5 = MakeLabel(Panel2, QStringLiteral("Как программа считала ответ:"), 16, 318);
    SetTextColour(Label5, clBlue);
    ListBox1 = new QListWidget(Panel2);
    ListBox1->setFocusPolicy(Qt::StrongFocus);
    ListBox1->setAccessibleName(QStringLiteral("Как программа считала ответ"));

    Label6 = MakeLabel(Panel2, QStringLiteral("Значение ответа:"), 16, 496);
    Label8 = MakeLabel(Panel2, QStringLiteral("Значение задания:"), 16, 516);
    for (QLabel* caption : {Label6, Label8})
        SetTextColour(caption, clBlue);
    Label7 = new QLabel(Panel2);
    Label9 = new QLabel(Panel2);
    for (QLabel* value : {Label7, Label9})
        value->setTextFormat(Qt::RichText);
    Label10 = MakeLabel(Panel2, {}, 176, 536, 368);
    Label11 = MakeLabel(Panel2, {}, 16, 558, 528);
    Label11->setWordWrap(true);
    SetTextColour(Label11, clRed);

    Button1 = new QPushButton(QStringLiteral("Закрыть"), this);
    Button1->setDefault(true);
}

// Positions are left, top; sizes width x height.
void TExplainFrm::Layout() {
    Panel2->setFixedSize(kPageSize);
    Panel1->setGeometry(16, 28, 528, 115);
    Image1->setGeometry(8, 5, 393, 105);
    Label3->setGeometry(104, 146, 440, 22);
    ScrollBox1->setGeometry(16, 174, 528, 100);
    Label12->setGeometry(16, 174, 528, 100);
    Label4->setGeometry(16, 278, 528, 36);
    ListBox1->setGeometry(16, 336, 528, 152);
    Label7->setGeometry(176, 496, 368, 18);
    Label9->setGeometry(176, 516, 368, 18);
    Label11->setGeometry(16, 556, 528, 36);
}

// The whole window when the screen's available area holds it with its
// frame, else as much as it holds; the page scrolls and "Закрыть" stays at
// the bottom. Centred on the opener, and wholly on the opener's screen.
void TExplainFrm::FitAndCentre(QWidget* opener) {
    const QMargins frame = opener ? FrameMargins(opener) : QMargins();
    // Some window managers put the frame's corner where the window's own
    // corner was asked for: room is kept for either reading.
    const QMargins slack(0, 0, frame.left(), frame.top());
    const QScreen* screen = opener ? opener->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(), kWindowSize);
    const QSize size =
        kWindowSize.boundedTo((available - frame - slack).size()).expandedTo(kWindowSize / 4);
    setFixedSize(size);
    const int strip = kWindowSize.height() - kPageSize.height();
    ScrollBox2->setGeometry(0, 0, size.width(), size.height() - strip);
    Button1->setGeometry((size.width() - 96) / 2, size.height() - strip + 4, 96, 28);
    QRect framed = QRect(QPoint(), size) + frame;
    framed.moveCenter(opener ? opener->frameGeometry().center() : available.center());
    framed.moveTopLeft(OnScreenPosition(framed + slack, available));
    move(framed.topLeft()); // where the frame goes
}

bool TExplainFrm::HasLastCheck() const {
    return checkSource_ && checkSource_();
}

const TCheckRecord& TExplainFrm::LastCheck() const {
    return *checkSource_();
}

void TExplainFrm::ShowExplain(QWidget* opener) {
    if (!HasLastCheck())
        return;
    // Modal over the window it was opened from, and centred on it once its
    // size is known.
    if (!windowHandle())
        winId();
    if (opener && opener->windowHandle())
        windowHandle()->setTransientParent(opener->windowHandle());
    FormShow();
    FitAndCentre(opener && opener->isVisible() ? opener : nullptr);
    Button1->setFocus();
    exec();
}

void TExplainFrm::FormShow() {
    EnsureControls();
    ShowTask();
    ShowAnswer();
    ShowSteps();
    ShowValues();
    ShowMessages();
}

void TExplainFrm::ShowTask() {
    const TCheckRecord& check = LastCheck();
    Label1->setText(
        QStringLiteral("Задание № %1, вариант %2").arg(check.TaskNo).arg(check.Variant));
    const QString name = QString::fromStdString(PictureName(check.TaskNo, check.Variant));
    ShowPicture(Image1, [name](qreal ratio) { return TaskPicture(name, ratio); });
}

void TExplainFrm::ShowAnswer() {
    const TCheckRecord& check = LastCheck();
    const QString typed = FromCp1251(check.Answer);
    const TTexFormula tex = FormulaToTex(check.Answer);
    ScrollBox1->setVisible(tex.Read);
    Label12->setVisible(!tex.Read);
    if (!tex.Read) {
        // As typed, with the first place the program cannot read marked.
        Label3->setText(MarkedText(typed, tex.ProblemPos));
        Label12->setText(Label3->text());
        ShowPicture(Image2, [](qreal) { return QPixmap(); });
        Label4->setText(
            QStringLiteral("Знак %1: %2").arg(tex.ProblemPos).arg(FromCp1251(tex.Problem)));
        return;
    }
    Label3->setText(MarkedText(typed, 0));
    QString note = TypesetAnswer(Image2, QString::fromStdString(tex.Tex));
    if (note.isEmpty() && !check.MinusPowerAt.empty())
        note = QStringLiteral("Знак %1: ").arg(check.MinusPowerAt.front()) +
               FromCp1251(MinusPowerNoteText());
    Label4->setText(note);
}

void TExplainFrm::ShowSteps() {
    const TCheckRecord& check = LastCheck();
    ListBox1->clear();
    int number = 0;
    for (const TStepLine& line : DescribeSteps(check)) {
        ListBox1->addItem(QStringLiteral("%1. ").arg(++number) + FromCp1251(line.Text));
        if (!line.Note.empty())
            ListBox1->addItem(QStringLiteral("    ") + FromCp1251(line.Note));
    }
}

void TExplainFrm::ShowValues() {
    const TCheckRecord& check = LastCheck();
    const bool both = check.AnswerDone && check.ReferenceDone;
    const int difference = both ? FirstDifference(check.AnswerValue, check.ReferenceValue) : 0;
    Label7->setText(check.AnswerDone ? ValueHtml(check.AnswerValue, difference)
                                     : QStringLiteral("не вычислено"));
    Label9->setText(check.ReferenceDone ? ValueHtml(check.ReferenceValue, difference)
                                        : QStringLiteral("не вычислено"));
    if (!both)
        Label10->clear();
    else if (difference == 0)
        Label10->setText(QStringLiteral("совпадают"));
    else
        Label10->setText(QStringLiteral("различаются со знака %1").arg(difference));
}

void TExplainFrm::ShowMessages() {
    const TCheckRecord& check = LastCheck();
    QStringList lines;
    if (!check.AnswerMessage.empty())
        lines << QStringLiteral("Сообщение: ") + FromCp1251(check.AnswerMessage);
    if (check.Raised)
        lines << QStringLiteral("Ошибка: ") + ErrorBoxText(check.RaisedError);
    Label11->setText(lines.join(QLatin1Char('\n')));
}
