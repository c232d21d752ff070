#include "quiz/ExplainFrm.h"

#include "quiz/ExplanationView.h"
#include "quiz/TutorWindow.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/SpokenFormula.h"
#include "quiz/core/TaskCatalogue.h"
#include "ui/AccessibleTree.h"
#include "ui/Pictures.h"
#include "ui/TextCodec.h"
#include "ui/WidgetStyle.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>

TExplainFrm* ExplainFrm = nullptr;

namespace {

// The page's width, where the explanation begins on it, and the strip
// below it that holds "Закрыть".
constexpr int kPageWidth = 560;
constexpr int kViewTop = 150;
constexpr int kStrip = 44;
// The page when there is nothing to explain: Label1 alone.
constexpr int kNoCheckPage = 36;

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width = 0) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->adjustSize();
    if (width > 0)
        label->resize(width, label->height());
    return label;
}

} // namespace

TExplainFrm::TExplainFrm(QWidget* parent) : QDialog(parent) {
    DressTutorWindow(this, QStringLiteral("Разбор ответа"));
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
    // A reader meets what shows: no empty line, no frame round the picture.
    ShowOnlyWhatShows(Panel2, QAccessible::Client);
    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setFrameShape(QFrame::NoFrame);
    ScrollBox2->setWidget(Panel2);
    ScrollBox2->setAccessibleName(QStringLiteral("Разбор ответа"));
    Label1 = MakeLabel(Panel2, {}, 16, 8, 528);
    SetTextColour(Label1, clBlue);
    Panel1 = new QFrame(Panel2);
    ShowOnlyWhatShows(Panel1, QAccessible::Client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackground(Panel1, clWhite);
    Image1 = new QLabel(Panel1);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setAccessibleName(QStringLiteral("Картинка задания"));
    View1 = new TExplanationView(Panel2);
    ShowOnlyWhatShows(View1, QAccessible::Client);
    for (QListWidget* list : {View1->ListBox2, View1->ListBox1})
        ReadLinesByArrows(list);

    Button1 = new QPushButton(QStringLiteral("Закрыть"), this);
    Button1->setDefault(true);
}

// Positions are left, top; sizes width x height. The page is as high as
// the explanation needs.
void TExplainFrm::Layout() {
    Panel1->setGeometry(16, 28, 528, 115);
    Image1->setGeometry(8, 5, 393, 105);
    View1->move(16, kViewTop);
    Panel2->setFixedSize(kPageWidth, View1->isVisibleTo(Panel2) ? kViewTop + View1->height() + 8
                                                                : kNoCheckPage);
}

// The whole window when the screen's available area holds it with its
// frame, else as much as it holds; the page scrolls and "Закрыть" stays at
// the bottom. Centred on the opener, and wholly on the opener's screen.
void TExplainFrm::FitAndCentre(QWidget* opener) {
    const QSize whole(kPageWidth, Panel2->height() + kStrip);
    const TFittedPlace place = FitOverOpener(this, whole, opener);
    setFixedSize(place.Size);
    ScrollBox2->setGeometry(0, 0, place.Size.width(), place.Size.height() - kStrip);
    Button1->setGeometry((place.Size.width() - 96) / 2, place.Size.height() - kStrip + 4, 96, 28);
    move(place.FramePosition); // where the frame goes
}

void TExplainFrm::ShowExplain(QWidget* opener) {
    if (!checkSource_)
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
    const TCheckRecord* check = checkSource_ ? checkSource_() : nullptr;
    Panel1->setVisible(check != nullptr);
    View1->setVisible(check != nullptr);
    if (check) {
        ShowTask(*check);
        View1->ShowCheck(*check);
    } else {
        Label1->setText(QStringLiteral("В этой игре проверок ещё не было"));
    }
    Layout();
    // Each opening starts at the top of the page.
    ScrollBox2->verticalScrollBar()->setValue(0);
}

void TExplainFrm::ShowTask(const TCheckRecord& check) {
    Label1->setText(
        QStringLiteral("Задание № %1, вариант %2").arg(check.TaskNo).arg(check.Variant));
    ShowPicture(Image1, [pictures = pictures_, task = check.TaskNo, variant = check.Variant](
                            qreal ratio) { return pictures.Picture(task, variant, ratio); });
    Image1->setAccessibleDescription(pictures_.Spoken(check.TaskNo, check.Variant));
}
