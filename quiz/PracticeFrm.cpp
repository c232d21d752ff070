#include "quiz/PracticeFrm.h"

#include "engine/Errors.h"
#include "quiz/AnswerEdit.h"
#include "quiz/ExplanationView.h"
#include "quiz/PracticeChoice.h"
#include "quiz/PracticePreview.h"
#include "quiz/TutorWindow.h"
#include "quiz/core/SpokenFormula.h"
#include "quiz/core/TaskCatalogue.h"
#include "quiz/core/TexFormula.h"
#include "typeset/FormulaView.h"
#include "typeset/TypesetService.h"
#include "ui/AccessibleTree.h"
#include "ui/AtSpiSignals.h"
#include "ui/Handler.h"
#include "ui/Look.h"
#include "ui/MessageBoxes.h"
#include "ui/Pictures.h"
#include "ui/TextCodec.h"
#include "ui/WidgetStyle.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <iterator>

using namespace formulon::engine;

TPracticeFrm* PracticeFrm = nullptr;

namespace {

// One em of a typeset formula, as in the task pictures.
constexpr qreal kPixelsPerEm = 18;

// The page holds everything but the strip with "Закрыть" below it.
constexpr QSize kPageSize(880, 640);
constexpr int kStrip = 44;

QLabel* MakeLabel(QWidget* parent, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* MakeCaption(QWidget* parent, const QString& text) {
    QLabel* label = MakeLabel(parent, text);
    SetTextColour(label, clBlue);
    return label;
}

// A button that Enter presses only while it has the keys: Enter in the
// answer box checks, and nothing else. Disabled, its text turns grey (the
// window's navy would stay).
QPushButton* MakeButton(QWidget* parent, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(true);
    SetLayoutColour(button, QPalette::Disabled, {QPalette::ButtonText}, clGray);
    return button;
}

// A formula in words, from its TeX as FormulaToTex makes it.
QString Spoken(const std::string& tex) {
    return tex.empty() ? QString() : FromCp1251(SpokenTex(tex));
}

// A part of the window that shows one thing or another: a reader meets only
// what it shows, and no frame.
QWidget* Part(QWidget* part) {
    ShowOnlyWhatShows(part, QAccessible::Client);
    return part;
}

TFormulaView* MakeFormula(QWidget* parent, const QString& name) {
    auto* formula = new TFormulaView(parent);
    formula->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackground(formula->viewport(), clWhite);
    SetBackground(formula->Picture(), clWhite);
    for (QWidget* widget :
         {static_cast<QWidget*>(formula), static_cast<QWidget*>(formula->Picture())})
        widget->setAccessibleName(name);
    return formula;
}

} // namespace

TPracticeFrm::TPracticeFrm(TPracticeSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    DressTutorWindow(this, QStringLiteral("Тренировка"));
    ShowOnlyWhatShows(this, QAccessible::Dialog);
    CreateControls();
    CreatePages();
    Layout();
    ConnectHandlers();
    ListBox1->LoadPictures();
}

void TPracticeFrm::CreateControls() {
    // Everything but the strip at the bottom lies on a page that scrolls
    // when the screen is too small for the whole window.
    Page = Part(new QWidget);
    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setFrameShape(QFrame::NoFrame);
    // Tab goes from control to control, and the page scrolls to each.
    ScrollBox2->setFocusPolicy(Qt::NoFocus);
    ScrollBox2->setWidget(Page);
    ScrollBox2->setAccessibleName(QStringLiteral("Тренировка"));

    Label1 = MakeCaption(Page, QStringLiteral("Задания:"));
    ListBox1 = new TPracticeChoice(Page);
    ComboBox1 = new QComboBox(Page);
    ComboBox1->setAccessibleName(QStringLiteral("Набор заданий"));
    ComboBox1->hide();
    Label2 = MakeCaption(Page, {});
    Panel1 = new QFrame(Page);
    Part(Panel1);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackground(Panel1, clWhite);
    Image1 = new QLabel(Panel1);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3 = MakeCaption(Page, QStringLiteral("Ваш ответ:"));
    Edit1 = new QLineEdit(Page);
    MakeAnswerBox(Edit1);
    Edit1->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 16, kBold));
    Edit1->setAccessibleName(QStringLiteral("Ваш ответ"));
    SetLayoutColour(Edit1, {QPalette::Base}, clCream);
    SetLayoutColour(Edit1, {QPalette::Text}, clBlue);
    Button1 = MakeButton(Page, QStringLiteral("Проверить"));
    Button2 = MakeButton(Page, QStringLiteral("Показать образец"));

    Label9 = MakeLabel(this);
    Label9->setWordWrap(true);
    SetTextColour(Label9, clRed);
    Button4 = MakeButton(this, QStringLiteral("Закрыть"));
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(PreviewPauseMs);
    // MathJax loads with the first formula, on the typesetter's thread:
    // asked for as the window opens, it is ready by the first preview.
    warmUp_ = new TTypesetClient(this);
}

void TPracticeFrm::CreatePages() {
    // While the pupil types: the answer as the program reads it.
    Panel2 = Part(new QWidget(Page));
    Label4 = MakeCaption(Panel2, QStringLiteral("Так программа читает ответ:"));
    Formula1 = MakeFormula(Panel2, QStringLiteral("Ваш ответ в школьной записи"));
    Label5 = new QLabel(Panel2);
    Label5->setTextFormat(Qt::RichText);
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label6 = MakeCaption(Panel2, {});
    ListBox2 = MakeHintList(Panel2);

    // After a check, in the same place until the pupil types again.
    Panel3 = Part(new QWidget(Page));
    Label7 = MakeLabel(Panel3);
    Label7->setFont(PixelFont(QStringLiteral("Lucida Console"), 15, kBold));
    Button3 = MakeButton(Panel3, QStringLiteral("Следующее нерешённое"));
    ScrollBox1 = new QScrollArea(Panel3);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    View1 = new TExplanationView;
    Part(View1);
    ScrollBox1->setWidget(View1);
    ScrollBox1->setAccessibleName(QStringLiteral("Разбор ответа"));
    Panel3->hide();

    // The sample, after three wrong checks and only when asked for.
    Panel4 = Part(new QWidget(Page));
    Label8 = MakeLabel(Panel4);
    // The keys come to the sample as it shows: a reader says it, and the
    // arrows read it sign by sign.
    Label8->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Formula2 = MakeFormula(Panel4, QStringLiteral("Образец в школьной записи"));
    Panel4->hide();
}

// Positions are left, top in the page or in the panel named; sizes width
// x height.
void TPracticeFrm::Layout() {
    Page->setFixedSize(kPageSize);
    Label1->setGeometry(16, 8, 272, 18);
    // The choice of sets, when there is one, above the tasks.
    const int sets = ComboBox1->isVisibleTo(Page) ? 32 : 0;
    ComboBox1->setGeometry(16, 28, 272, 26);
    ListBox1->setGeometry(16, 28 + sets, 272, 604 - sets);
    Label2->setGeometry(304, 8, 560, 18);
    Panel1->setGeometry(304, 28, 560, 115);
    Image1->setGeometry(8, 5, 393, 105);
    Label3->setGeometry(304, 152, 560, 18);
    Edit1->setGeometry(304, 170, 560, 28);
    Button1->setGeometry(304, 206, 120, 28);
    Button2->setGeometry(432, 206, 170, 28);
    // Panel2, the preview, and Panel3, the outcome, in one place, down to
    // Panel4, the sample, while it is shown.
    const int pages = Panel4->isVisibleTo(Page) ? 318 : 390;
    Panel2->setGeometry(304, 242, 560, pages);
    Label4->setGeometry(0, 0, 560, 18);
    Formula1->setGeometry(0, 20, 560, 100);
    Label5->setGeometry(0, 124, 560, 40);
    Label6->setGeometry(0, 168, 560, 18);
    ListBox2->setGeometry(0, 188, 560, pages - 188);
    Panel3->setGeometry(304, 242, 560, pages);
    Label7->setGeometry(0, 0, 560, 20);
    Button3->setGeometry(0, 26, 230, 28);
    ScrollBox1->setGeometry(0, 24, 560, pages - 24);
    Panel4->setGeometry(304, 564, 560, 70);
    Label8->setGeometry(0, 0, 560, 18);
    Formula2->setGeometry(0, 20, 560, 50);
}

// The whole window when the screen holds it, else the page scrolls; the
// strip below the page holds a failed save's words and "Закрыть".
void TPracticeFrm::Fit(QWidget* opener) {
    const TFittedPlace place = FitOverOpener(this, kPageSize + QSize(0, kStrip),
                                             opener && opener->isVisible() ? opener : nullptr);
    setFixedSize(place.Size);
    const int strip = place.Size.height() - kStrip;
    ScrollBox2->setGeometry(0, 0, place.Size.width(), strip);
    Label9->setGeometry(16, strip + 2, place.Size.width() - 144, kStrip - 4);
    Button4->setGeometry(place.Size.width() - 112, strip + 8, 96, 28);
    move(place.FramePosition);
}

void TPracticeFrm::ConnectHandlers() {
    connect(ComboBox1, &QComboBox::activated, this,
            [this](int index) { RunProtected([this, index] { ChooseSet(index); }); });
    connect(ListBox1, &QListWidget::currentRowChanged, this,
            Handler([this] { ListBox1Change(ListBox1->currentRow()); }));
    // Enter on a task goes on to its answer.
    connect(ListBox1, &QListWidget::itemActivated, Edit1, [this] { Edit1->setFocus(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Timer1, &QTimer::timeout, this, Handler([this] { Timer1Timer(); }));
    connect(Button1, &QPushButton::clicked, this, Handler([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Handler([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, Handler([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, &QDialog::accept);
    Edit1->installEventFilter(this);
    // Tab follows the reading order: the choice, the answer and its buttons,
    // the preview or the check's outcome, the sample, "Закрыть".
    setTabOrder(ComboBox1, ListBox1);
    QWidget* const order[] = {ListBox1,     Edit1,           Button1,         Button2,
                              Formula1,     ListBox2,        Button3,         ScrollBox1,
                              View1->Memo1, View1->Formula1, View1->ListBox2, View1->ListBox1,
                              Label8,       Formula2,        Button4};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QListWidget* list : {ListBox2, View1->ListBox2, View1->ListBox1})
        ReadLinesByArrows(list);
}

void TPracticeFrm::SetProgressFile(TLoad load, TSave save) {
    load_ = std::move(load);
    save_ = std::move(save);
}

void TPracticeFrm::ShowPractice(QWidget* opener) {
    if (!session_.Available())
        return;
    if (!windowHandle())
        winId();
    if (opener && opener->windowHandle())
        windowHandle()->setTransientParent(opener->windowHandle());
    RunProtected([this] { LoadProgress(); });
    ListBox1->ShowMarks(session_.Progress());
    ListBox1->setCurrentRow(session_.FirstUnsolved());
    ListBox1Change(session_.FirstUnsolved());
    TTypesetRequest warmUp;
    warmUp.Tex = QStringLiteral("y");
    warmUp_->Request(warmUp);
    Fit(opener);
    ScrollBox2->verticalScrollBar()->setValue(0);
    Edit1->setFocus(); // the pupil can type at once
    exec();
    Timer1->stop();
}

// What another copy saved since is kept with what this one has. A damaged
// file was kept as a backup: said once, before the window shows.
void TPracticeFrm::LoadProgress() {
    if (!load_)
        return;
    const TPracticeLoad load = load_();
    session_.SetProgress(MergePracticeProgress(load.Progress, session_.Progress()));
    if (load.State == TPracticeLoad::TState::Damaged)
        ShowInformationBox(
            QStringLiteral("Файл тренировки повреждён, он сохранён как\r%1.\rТренировка "
                           "начинается заново.")
                .arg(load.Backup));
}

// A failed save says so in the window and is tried again with the next
// check; the quiz never hears of it.
void TPracticeFrm::SaveProgress() {
    if (!save_)
        return;
    try {
        session_.SetProgress(save_(session_.Progress()));
        Label9->clear();
    } catch (const Exception& error) {
        Label9->setText(QStringLiteral("Успехи не сохранены: ") + ErrorBoxText(error.Message()));
    }
}

void TPracticeFrm::ListBox1Change(int row) {
    if (!session_.Choose(row))
        return;
    ShowChosen();
    // The task in words, said as the keys come to the answer box.
    Describe(Edit1, Image1->accessibleDescription());
    Edit1->clear();
    Panel3->hide();
    Panel2->show();
    Panel4->hide();
    Layout();
    Timer1->stop();
    ShowPreview({});
}

// The chosen task's caption, picture and sample button.
void TPracticeFrm::ShowChosen() {
    const int task = session_.ChosenRow().Task;
    const int variant = session_.ChosenRow().Variant;
    const TPracticeMark& mark = session_.ChosenMark();
    QString state = mark.Solved ? QStringLiteral("решено") : QStringLiteral("не решено");
    if (mark.WrongChecks > 0)
        state += QStringLiteral(", неверных проверок: %1").arg(mark.WrongChecks);
    Label2->setText(
        QStringLiteral("Задание № %1, вариант %2: %3").arg(task).arg(variant).arg(state));
    ShowPicture(Image1, [pictures = pictures_, task, variant](qreal ratio) {
        return pictures.Picture(task, variant, ratio);
    });
    Image1->setAccessibleName(
        QStringLiteral("Задание № %1, вариант %2, картинка формулы").arg(task).arg(variant));
    Image1->setAccessibleDescription(pictures_.Spoken(task, variant));
    // Disabled, the button says why, to the eye and to a screen reader.
    const bool sample = session_.SampleAvailable();
    Button2->setEnabled(sample);
    const QString why = QStringLiteral("Образец — после трёх разных неверных ответов с y или z "
                                       "(засчитано: %1)")
                            .arg(mark.CountedTries.size());
    Button2->setToolTip(sample ? QString() : why);
    Button2->setAccessibleDescription(sample ? QString() : why);
}

// Each key restarts the pause; the outcome of a check gives way to the
// preview as soon as the pupil types again.
void TPracticeFrm::Edit1Change() {
    Panel3->hide();
    Panel2->show();
    Timer1->start();
}

void TPracticeFrm::Timer1Timer() {
    ShowPreview(AnswerText(Edit1));
}

void TPracticeFrm::ShowPreview(const std::string& answer) {
    const TPreview preview = MakePreview(answer, session_.ChosenRow().Task,
                                         session_.ChosenRow().Variant, session_.Tasks());
    if (preview.Tex.isEmpty())
        Formula1->Clear();
    else
        Formula1->ShowTex(preview.Tex, kPixelsPerEm);
    Formula1->SetSpokenForm(Spoken(preview.Tex.toStdString()));
    Label5->setText(preview.Problem);
    ShowHints(ListBox2, preview);
    Label6->setText(preview.Hints.empty() ? QStringLiteral("Подсказок нет")
                                          : QStringLiteral("Подсказки:"));
}

void TPracticeFrm::Button1Click() {
    const bool sampleBefore = session_.SampleAvailable();
    const std::optional<TPracticeCheck> check = session_.Check(AnswerText(Edit1));
    if (!check)
        return; // a blank answer is no try
    emit checkMade(check->Record);
    Timer1->stop();
    SaveProgress();
    ListBox1->ShowMarks(session_.Progress());
    ShowChosen();
    Panel2->hide();
    Panel3->show();
    if (check->Right)
        ShowRight();
    else
        ShowWrong(check->Record, !sampleBefore && session_.SampleAvailable());
}

void TPracticeFrm::ShowRight() {
    ScrollBox1->hide();
    const bool next = session_.NextUnsolved().has_value();
    Label7->setText(next ? QStringLiteral("Верно! Задание решено.")
                         : QStringLiteral("Верно! Все задания решены."));
    SetTextColour(Label7, clGreen);
    Button3->setVisible(next);
    // Said with the control that has the keys next.
    if (next) {
        Describe(Button3, QStringLiteral("Верно! Задание решено."));
        Button3->setFocus(); // Enter goes on
    } else {
        Describe(Edit1, Label7->text());
    }
}

void TPracticeFrm::ShowWrong(const TCheckRecord& check, bool sampleNow) {
    Label7->setText(QStringLiteral("Неверно. Разбор ответа:"));
    // The keys stay in the answer box, which says how it went.
    QString said =
        QStringLiteral("Неверно. Неверных проверок: %1.").arg(session_.ChosenMark().WrongChecks);
    if (sampleNow)
        said += QStringLiteral(" Можно посмотреть образец: кнопка «Показать образец».");
    Describe(Edit1, said);
    SetTextColour(Label7, clRed);
    Button3->hide();
    View1->ShowCheck(check);
    ScrollBox1->show();
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TPracticeFrm::Button2Click() {
    const std::optional<std::string> sample = session_.Sample();
    if (!sample)
        return;
    Label8->setText(QStringLiteral("Образец: ") + FromCp1251(*sample));
    const std::string tex = FormulaToTex(*sample).Tex;
    Formula2->ShowTex(QString::fromStdString(tex), kPixelsPerEm);
    Formula2->SetSpokenForm(Spoken(tex));
    Label8->setAccessibleDescription(Spoken(tex));
    Panel4->show();
    Layout();
    Label8->setFocus();
}

void TPracticeFrm::Button3Click() {
    if (const std::optional<int> next = session_.NextUnsolved()) {
        ListBox1->setCurrentRow(*next);
        Edit1->setFocus();
    }
}

// Enter in the answer box checks and goes no further: the dialog would
// press the button that has just taken the keys.
bool TPracticeFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            RunProtected([this] { Button1Click(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Enter anywhere else presses nothing: a button with the keys presses
// itself, but the dialog would press the first button, "Проверить", and
// check the answer box when Enter on a task only meant to go on to it.
void TPracticeFrm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
