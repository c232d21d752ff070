#include "quiz/Form1.h"

#include "champions/core/ChampionsMerge.h"
#include "engine/NumberText.h"
#include "quiz/AnswerEdit.h"
#include "quiz/core/SpokenFormula.h"
#include "quiz/core/TaskCatalogue.h"
#include "ui/AccessibleTree.h"
#include "ui/AtSpiSignals.h"
#include "ui/BitmapResources.h"
#include "ui/Handler.h"
#include "ui/Look.h"
#include "ui/MessageBoxes.h"
#include "ui/Pictures.h"
#include "ui/Resources.h"
#include "ui/SilentLabel.h"
#include "ui/TextCodec.h"
#include "ui/WidgetStyle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>

#include <cstdio>

using namespace formulon::engine;

TForm1* Form1 = nullptr;

namespace {

// A label whose width runs to its parent's right edge, as an auto-sized
// label of the layout would grow.
QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    const int width = qMax(label->width(), parent->width() - x - 4);
    label->resize(width, label->height());
    return label;
}

// A control of the layout that the pupil never sees. It is a window of its
// own that is never shown, so it has no native window and is not in the
// tree a screen reader walks; the labels that hold the value texts are
// silent besides, as a label's changing text is announced wherever it is.
template <class TControl> TControl* Hidden(TControl* control, int x, int y) {
    control->setWindowFlags(Qt::Window);
    control->move(x, y);
    control->hide();
    return control;
}

} // namespace

TForm1::TForm1(TGameSession& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setWindowTitle(QStringLiteral("Formulon"));
    // Default font "Lucida Console" 13 px, blue; window colour clGrayText.
    setFont(PixelFont(QStringLiteral("Lucida Console"), 13));
    SetTextColour(this, clBlue);

    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    // A reader meets what shows: not the title picture the task box covers.
    ShowOnlyWhatShows(ClientArea, QAccessible::Client);
    ClientArea->setFixedSize(500, 455);
    SetBackground(ClientArea, clGray);
    setCentralWidget(ClientArea);

    // Registration.
    GroupBox3 = new QGroupBox(QStringLiteral("Регистрация"), ClientArea);
    GroupBox3->setGeometry(24, 16, 185, 105);
    Label8 = MakeLabel(GroupBox3, QStringLiteral("Введите имя:"), 24, 24);
    Edit2 = new QLineEdit(GroupBox3);
    // Given after the box has this window's font: a text given to the
    // constructor is laid out in the default font first, which start-up
    // would then load for nothing.
    Edit2->setText(QStringLiteral("Ученик"));
    Edit2->setGeometry(24, 40, 121, 21);
    Edit2->setValidator(new TCp1251Validator(Edit2));
    SelectTextOnFocus(Edit2); // a name typed replaces "Ученик"
    Edit2->setAccessibleName(QStringLiteral("Имя ученика"));
    Button4 = new QPushButton(QStringLiteral("Начать"), GroupBox3);
    Button4->setGeometry(72, 72, 75, 25);
    Button4->setAutoDefault(true); // Enter presses it, as Space does

    // Time.
    GroupBox2 = new QGroupBox(QStringLiteral("Время"), ClientArea);
    GroupBox2->setGeometry(224, 16, 249, 105);
    Label2 = MakeLabel(GroupBox2, QStringLiteral("Лучшие время:"), 8, 24);
    SetTextColour(Label2, clYellow);
    Label4 = MakeLabel(GroupBox2, QStringLiteral("0"), 136, 24);
    SetTextColour(Label4, clYellow);
    Label3 = MakeLabel(GroupBox2, QStringLiteral("Ваше время:"), 8, 64);
    Label5 = MakeLabel(GroupBox2, QStringLiteral("0"), 136, 64);

    // Title picture: top 273 rows, unscaled (LoadLayoutPictures).
    Image2 = new QLabel(ClientArea);
    Image2->setGeometry(56, 152, 393, 273);
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->setAccessibleName(QStringLiteral("Заставка Formulon"));

    // Task box, white, hidden at start; it covers the title picture.
    GroupBox1 = new QGroupBox(QStringLiteral("Задание"), ClientArea);
    GroupBox1->setGeometry(24, 144, 449, 289);
    SetBackground(GroupBox1, clWhite);
    MakePlainGroupBox(GroupBox1);
    Image1 = new QLabel(GroupBox1);
    Image1->setGeometry(32, 24, 393, 105);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label6 = MakeLabel(GroupBox1, QStringLiteral("Ваш ответ:"), 16, 144);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setGeometry(16, 164, 409, 28);
    SetFontWhenShown(Edit1, PixelFont(QStringLiteral("MS Sans Serif"), 16, kBold));
    SetLayoutColour(Edit1, {QPalette::Base}, clCream);
    SetLayoutColour(Edit1, {QPalette::Text}, clBlue);
    MakeAnswerBox(Edit1);
    Edit1->setAccessibleName(QStringLiteral("Ваш ответ"));
    Button1 = new QPushButton(QStringLiteral("Проверить"), GroupBox1);
    Button1->setGeometry(142, 216, 147, 49);
    Button1->setAutoDefault(true);
    GroupBox1->hide();

    // Hidden controls below the client area.
    Label1 = Hidden(new TSilentLabel(ClientArea), 264, 496);
    Label7 = Hidden(new TSilentLabel(ClientArea), 264, 520);
    Edit3 = Hidden(new QLineEdit(ClientArea), 104, 456);
    Edit4 = Hidden(new QLineEdit(ClientArea), 104, 496);
    Button5 = Hidden(new QPushButton(QStringLiteral("Button5"), ClientArea), 248, 464);

    // Timers, disabled; Timer2 ticks once.
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, Handler([this] { Timer2Timer(); }));

    // Menu.
    N1 = menuBar()->addMenu(QStringLiteral("&Файл"));
    N2 = N1->addAction(QStringLiteral("&Новая игра"));
    N3 = N1->addSeparator();
    N4 = N1->addAction(QStringLiteral("В&ыход"));
    N9 = menuBar()->addMenu(QStringLiteral("&Вид"));
    N6 = N9->addAction(QStringLiteral("&Чемпионы"));
    // Explains the game's last check; there is none until the first game.
    N10 = N9->addAction(QStringLiteral("&Разбор ответа"));
    N10->setShortcut(QKeySequence(Qt::Key_F1));
    N10->setEnabled(false);
    N11 = N9->addAction(QStringLiteral("&Тренировка"));
    N11->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    // Large, high-contrast texts for a pupil who sees poorly; remembered.
    N9->addSeparator();
    N12 = N9->addAction(QStringLiteral("Крупно и &контрастно"));
    N12->setCheckable(true);
    N12->setChecked(CurrentLook() == TLook::LargeContrast);
    N5 = menuBar()->addMenu(QStringLiteral("&Справка"));
    N8 = N5->addAction(QStringLiteral("&О программе"));
    connect(N2, &QAction::triggered, this, Handler([this] { N2Click(); }));
    connect(N4, &QAction::triggered, this, Handler([this] { N4Click(); }));
    connect(N6, &QAction::triggered, this, Handler([this] { N6Click(); }));
    connect(N8, &QAction::triggered, this, Handler([this] { N8Click(); }));
    connect(N10, &QAction::triggered, this, Handler([this] { N10Click(); }));
    connect(N11, &QAction::triggered, this, Handler([this] { N11Click(); }));
    connect(N12, &QAction::triggered, this, Handler([this] { N12Click(); }));

    connect(Button1, &QPushButton::clicked, this, Handler([this] { Button1Click(); }));
    connect(Button4, &QPushButton::clicked, this, Handler([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, Handler([this] { Button5Click(); }));
    connect(Timer1, &QTimer::timeout, this, Handler([this] { Timer1Timer(); }));
    // Enter presses the button beside each box, so the quiz can be played
    // from the keyboard; Tab follows the layout.
    connect(Edit1, &QLineEdit::returnPressed, Button1, &QPushButton::click);
    connect(Edit2, &QLineEdit::returnPressed, Button4, &QPushButton::click);
    setTabOrder(Edit2, Button4);
    setTabOrder(Button4, Edit1);
    setTabOrder(Edit1, Button1);
    // F10 opens the menu, as in other desktop programs.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(N1->menuAction()); });

    // Fixed single border at 252, 93; the client area sits below the menu.
    setFixedSize(500, 455 + menuBar()->sizeHint().height());
    move(252, 93);
}

void TForm1::LoadLayoutPictures() {
    N2->setIcon(ScalableIcon(QStringLiteral("notepad")));
    N4->setIcon(ScalableIcon(QStringLiteral("door")));
    N6->setIcon(ScalableIcon(QStringLiteral("table")));
    N8->setIcon(ScalableIcon(QStringLiteral("help")));
    ShowPicture(Image2, TitlePicture);
}

void TForm1::SetChampionsFile(std::function<void()> load, std::function<void()> save,
                              QString path) {
    loadChampions_ = std::move(load);
    saveChampions_ = std::move(save);
    championsPath_ = std::move(path);
}

void TForm1::FormCreate() {
    LastErrorText.Clear();
    if (loadChampions_)
        loadChampions_();
    Timer2->start();
}

void TForm1::FormClose(QCloseEvent* event) {
    // Stays open unless the save completes.
    event->ignore();
    if (saveChampions_)
        saveChampions_();
    event->accept();
    QApplication::quit();
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (RunProtected([this, event] { FormClose(event); }))
        return;
    // The save failed and said why. Only a record of this run that is not
    // in the file is worth staying for; a save that keeps failing must not
    // trap the pupil either.
    if (!RunRecords.AllSaved() && !AskQuitWithoutSaving(championsPath_))
        return;
    ReportUnsavedRecords();
    event->accept();
    QApplication::quit();
}

void TForm1::ReportUnsavedRecords() const {
    for (std::size_t i = RunRecords.Saved; i < RunRecords.Entered.size(); ++i)
        std::fprintf(stderr, "formulon: record not saved in %s: %s %s\n",
                     qUtf8Printable(championsPath_),
                     qUtf8Printable(FromCp1251(RunRecords.Entered[i].Name())),
                     RunRecords.Entered[i].Result().c_str());
}

// Shown means in front and active, where no window manager activates a
// window as it maps it too, with the keyboard in the box typed into next:
// the answer box during a game, the name box otherwise.
void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return; // back from minimised: the focus stays where it was
    (GroupBox1->isVisibleTo(this) ? Edit1 : Edit2)->setFocus();
    raise();
    activateWindow();
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        RunProtected([this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TForm1::ShowTaskCaption() {
    GroupBox1->setTitle(QStringLiteral("Задание № ") + QString::number(session_.TaskNo()));
}

void TForm1::SetTaskPictures(TTaskPictures pictures) {
    pictures_ = std::move(pictures);
    const std::string& title = pictures_.Set().Title();
    const std::string& name = pictures_.Set().Name();
    setWindowTitle(pictures_.Set().IsStandard()
                       ? QStringLiteral("Formulon")
                       : QStringLiteral("Formulon — ") +
                             QString::fromStdString(title.empty() ? name : title));
}

void TForm1::ShowPreparing(bool preparing) {
    preparing_ = preparing;
    Button4->setEnabled(!preparing);
    N2->setEnabled(!preparing);
    Label8->setText(preparing ? QStringLiteral("Готовлю задания…")
                              : QStringLiteral("Введите имя:"));
}

void TForm1::LoadTaskPicture() {
    const int task = session_.TaskNo(), variant = session_.Variant();
    ShowPicture(Image1, [pictures = pictures_, task, variant](qreal ratio) {
        return pictures.Picture(task, variant, ratio);
    });
    Image1->setAccessibleName(
        QStringLiteral("Задание № %1, картинка формулы").arg(session_.TaskNo()));
    // The picture in words. The answer box, where the keys go whenever a
    // task appears, says it too: a reader speaks the focused box's
    // description, and speaks it again when it changes under the focus.
    const QString spoken = pictures_.Spoken(session_.TaskNo(), session_.Variant());
    Image1->setAccessibleDescription(spoken);
    Describe(Edit1, spoken);
}

void TForm1::FormActivate() {
    ShowTaskCaption();
    ShowPracticeOpen();
    if (session_.Activate())
        LoadTaskPicture();
}

void TForm1::ShowPracticeOpen() {
    N11->setEnabled(!session_.TaskInProgress());
}

void TForm1::ShowClock() {
    Label5->setText(QString::number(session_.Seconds()));
    // A running clock goes on running; restarting it would lose part of a second.
    if (!session_.ClockRunning())
        Timer1->stop();
    else if (!Timer1->isActive())
        Timer1->start();
}

void TForm1::Button4Click() {
    if (preparing_)
        return; // the set's pictures are not all there yet
    if (!session_.Start(ToCp1251(Edit2->text()))) {
        ShowWarningBox(QStringLiteral("Введите имя"));
        return;
    }
    ShowClock();
    N10->setEnabled(true); // a game without a check yet says so
    ShowTaskBox(true);
    ShowTaskCaption();
    ShowPracticeOpen();
    LoadTaskPicture();
    Edit1->setFocus(); // the pupil types the answer next
}

void TForm1::N2Click() {
    Button4Click();
}

void TForm1::Button1Click() {
    // A check that raises has still got as far as it got.
    const auto showValues = qScopeGuard([this] { ShowCheckValues(); });
    // Told as the handler ends, whether the check gave a verdict or raised.
    const bool checks = session_.TaskInProgress();
    const auto told = qScopeGuard([this, checks, clock = session_.Seconds()] {
        if (checks)
            emit checkMade(clock);
    });
    if (const std::optional<TCheckOutcome> outcome = session_.Check(AnswerText(Edit1)))
        ShowOutcome(*outcome);
}

void TForm1::ShowCheckValues() {
    const TCheckRecord* check = session_.LastCheck();
    if (!check)
        return;
    N10->setEnabled(true);
    if (check->ReferenceDone)
        Label1->setText(FromCp1251(check->ReferenceValue));
    if (check->AnswerDone)
        Label7->setText(FromCp1251(check->AnswerValue));
}

void TForm1::ShowOutcome(const TCheckOutcome& outcome) {
    if (outcome.Record) {
        ShowClock();
        // The record is in the table even when its sort fails below.
        emit recordEntered();
    }
    // Won, with or without a record: no task is left to show or check.
    if (outcome.Verdict == TVerdict::Win)
        ShowTaskBox(false);
    ShowPracticeOpen();
    if (outcome.SortFault)
        std::rethrow_exception(outcome.SortFault);
    emit verdictGiven();
    hide();
    if (outcome.Verdict != TVerdict::Wrong)
        ShowBestTime();
}

void TForm1::ShowDecidedRecord(const TCheckOutcome& outcome) {
    if (!outcome.Record)
        return;
    ShowClock();
    emit recordEntered();
    if (outcome.SortFault)
        std::rethrow_exception(outcome.SortFault);
    ShowBestTime();
}

void TForm1::ShowBestTime() {
    Label4->setText(FromCp1251(TGameSession::BestTime()));
    // Empty, it would be read as its box's title, "Время".
    Label4->setAccessibleName(
        Label4->text().isEmpty() ? QStringLiteral("Лучшее время: рекордов нет") : QString());
}

// The task box covers the title picture wholly: hidden under it, the
// picture looks the same and is no longer read during a game.
void TForm1::ShowTaskBox(bool shown) {
    GroupBox1->setVisible(shown);
    Image2->setVisible(!shown);
}

void TForm1::ClearAnswer() {
    Edit1->clear();
}

void TForm1::Timer1Timer() {
    session_.Tick();
    ShowClock();
}

void TForm1::Button5Click() {
    // The hidden selector ignores anything but a task of the catalogue.
    if (session_.SelectTask(ToCp1251(Edit3->text()), ToCp1251(Edit4->text())))
        LoadTaskPicture();
    ShowPracticeOpen();
}

void TForm1::N8Click() {
    emit aboutRequested();
}

void TForm1::N10Click() {
    emit explainRequested();
}

void TForm1::N11Click() {
    if (!session_.TaskInProgress())
        emit practiceRequested();
}

void TForm1::N12Click() {
    const TLook look = N12->isChecked() ? TLook::LargeContrast : TLook::Layout;
    SetLook(look);
    StoreLook(look);
}

void TForm1::N4Click() {
    close();
}

void TForm1::N6Click() {
    emit championsRequested();
    hide();
}

void TForm1::Timer2Timer() {
    emit championsLoaded();
    ShowBestTime();
    Timer2->stop();
}
