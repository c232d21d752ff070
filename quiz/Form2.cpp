#include "quiz/Form2.h"

#include "ui/AccessibleTree.h"
#include "ui/BitmapResources.h"
#include "ui/Handler.h"
#include "ui/LargeText.h"
#include "ui/LinkLabel.h"
#include "ui/Look.h"
#include "ui/Pictures.h"
#include "ui/Resources.h"
#include "ui/TextCodec.h"
#include "ui/WidgetStyle.h"
#include "ui/Windowing.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QShowEvent>

#include <chrono>

TForm2* Form2 = nullptr;

namespace {

QFont ComicSans(int pixels) {
    return PixelFont(QStringLiteral("Comic Sans MS"), pixels);
}

QString VerdictText(TVerdict verdict) {
    switch (verdict) {
    case TVerdict::Right:
        return kVerdictRight;
    case TVerdict::Win:
        return kVerdictWin;
    case TVerdict::Wrong:
        break;
    }
    return kVerdictWrong;
}

// The font that stands in for the layout's may be wider: the text shrinks
// until it fits the label's one line.
void FitToWidth(QLabel* label, int largestPixels) {
    QFont font = label->font();
    for (int pixels = largestPixels; pixels > 8; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(label->text()) <= label->width())
            break;
    }
    label->setFont(font);
}

std::int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

TForm2::TForm2(TGameSession& session, QWidget* parent) : QWidget(parent), session_(session) {
    // A dialog frame without close, minimise or maximise buttons: "Далее"
    // is the way back. Minimised, it would leave no window on screen while
    // the clock runs.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    SetTitleButtons(this, TTitleButtons::None);
    KeepFromMinimising(this);
    setWindowTitle(QStringLiteral("Информация"));
    // A reader hears a dialog named by its verdict, and its comment, as it
    // opens: the title "Информация" would tell nothing.
    ShowOnlyWhatShows(this, QAccessible::Dialog);
    SetBackground(this, clSilver);
    SetLayoutColour(this, {QPalette::Button}, clSilver);
    SetLayoutColour(this, {QPalette::WindowText, QPalette::ButtonText}, clRed);
    setFont(ComicSans(13));
    CreateControls();
    Layout();
    connect(BitBtn1, &QPushButton::clicked, this, Handler([this] { BitBtn1Click(); }));
    connect(Label4, &TLinkLabel::clicked, this, &TForm2::explainRequested);
    setTabOrder(BitBtn1, Label4);
}

void TForm2::CreateControls() {
    // The bevels come first so that they lie under everything else.
    Bevel2 = new QFrame(this);
    Bevel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    for (QFrame* bevel : {Bevel1, Bevel2}) {
        bevel->setAttribute(Qt::WA_TransparentForMouseEvents);
        MarkDecorative(bevel);
    }

    Label1 = new QLabel(this);
    Label1->setFont(ComicSans(16));
    SizesItsOwnText(Label1); // as large as its one line allows
    Label3 = new QLabel(QStringLiteral("Комментарии:"), this);
    SetTextColour(Label3, clBlue);
    Label2 = new QLabel(this);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = new QLabel(this);
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    BitBtn1 = new QPushButton(QStringLiteral("Далее"), this);
    BitBtn1->setIconSize(QSize(16, 16));
    // Right to left puts the glyph after the caption.
    BitBtn1->setLayoutDirection(Qt::RightToLeft);

    Label4 = new TLinkLabel(QStringLiteral("Разбор ответа (F1)"), 12, this);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->hide();
}

// Positions are left, top; sizes width x height.
void TForm2::Layout() {
    setFixedSize(345, 471);
    Label1->setGeometry(24, 8, 317, 26);
    Label3->move(24, 40);
    Label3->adjustSize();
    Bevel2->setGeometry(24, 64, 281, 49);
    Label2->setGeometry(32, 72, 265, 36);
    Bevel1->setGeometry(64, 128, 217, 241);
    Image1->move(75, 136);
    BitBtn1->setGeometry(72, 384, 201, 73);
    // The strip below the button's rectangle, centred under its oval.
    const int linkWidth = Label4->sizeHint().width() + 4;
    Label4->setGeometry(72 + (201 - linkWidth) / 2, 457, linkWidth, 14);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm2::LoadLayoutPictures() {
    BitBtn1->setIcon(ScalableGlyph(QStringLiteral("next")));
}

void TForm2::FormCreate() {
    MakeOvalButton(BitBtn1);
    BitBtn1->repaint();
}

void TForm2::ShowVerdict() {
    if (const TCheckOutcome* outcome = session_.LastOutcome()) {
        Label1->setText(VerdictText(outcome->Verdict));
        if (outcome->Comment)
            Label2->setText(FromCp1251(*outcome->Comment));
        Label4->setVisible(outcome->Verdict == TVerdict::Wrong);
        setAccessibleName(Label1->text());
        setAccessibleDescription(FromCp1251(session_.VerdictComment()));
    }
    shownAt_ = Now();
    show();
}

void TForm2::FormActivate() {
    const TCheckOutcome* outcome = session_.LastOutcome();
    if (!outcome)
        return;
    Label2->setText(FromCp1251(session_.VerdictComment()));
    setAccessibleDescription(Label2->text());
    switch (outcome->Verdict) {
    case TVerdict::Win:
        emit answerAccepted();
        ShowPicture(QStringLiteral("win"), QStringLiteral("Картинка: вы победили"));
        break;
    case TVerdict::Right:
        emit answerAccepted();
        ShowPicture(QStringLiteral("inf"), QStringLiteral("Картинка: ответ правильный"));
        break;
    case TVerdict::Wrong:
        ShowPicture(QStringLiteral("dum"), QStringLiteral("Картинка: ответ не верный"));
        break;
    }
}

void TForm2::ShowPicture(const QString& resourceName, const QString& accessibleName) {
    // The white ground is see-through, so the window's silver shows there.
    ::ShowPicture(Image1,
                  [resourceName](qreal ratio) { return VerdictPicture(resourceName, ratio); });
    Image1->adjustSize();
    Image1->setAccessibleName(accessibleName);
}

void TForm2::BitBtn1Click() {
    hide();
    emit nextPressed();
    session_.LeaveVerdict();
}

// Shown means in front and active, as a check's verdict expects, with the
// keyboard on "Далее".
void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitToWidth(Label1, LookPixels(16));
    BitBtn1->setFocus();
    raise();
    activateWindow();
}

bool TForm2::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        RunProtected([this] { FormActivate(); });
    return QWidget::event(event);
}

// Hiding this window alone would leave the program with no window at all
// (the main window is hidden meanwhile), so any close goes back the way
// "Далее" does.
void TForm2::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isVisible())
        BitBtn1Click();
}

std::int64_t TForm2::Now() const {
    return clock_ ? clock_() : SteadyMilliseconds();
}

// Enter and Return press "Далее", so the quiz can be played from the keyboard,
// but not as the key that checked the answer comes again; F1 asks for the
// check to be explained.
void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat() && Now() - shownAt_ >= EnterPauseMs)
            BitBtn1->click();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        emit explainRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}
