// The main window's frame: layout, menu, input boxes, close and exit.
#include "champions/ChampionsFile.h"
#include "champions/Form3.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Errors.h"
#include "quiz/Form1.h"
#include "quiz/core/AnswerBox.h"
#include "tests/support/TestSupport.h"
#include "ui/TextCodec.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace formulon::engine;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    }
    void TearDown() override { Form3->hide(); }
};

// Types text the way a keyboard does, Cyrillic included.
void Type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

TEST_F(MainWindowTest, LayoutOfTheFrame) {
    EXPECT_EQ(Form1->windowTitle(), "Formulon");
    EXPECT_EQ(Form1->ClientArea->size(), QSize(500, 455));
    EXPECT_EQ(Form1->ClientArea->geometry().top(), Form1->menuBar()->geometry().bottom() + 1);
    EXPECT_EQ(Form1->minimumSize(), Form1->maximumSize());
    EXPECT_EQ(Form1->pos(), QPoint(252, 93));
    EXPECT_EQ(Form1->ClientArea->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(Form1->font().pixelSize(), 13);
    EXPECT_EQ(Form1->GroupBox3->geometry(), QRect(24, 16, 185, 105));
    EXPECT_EQ(Form1->GroupBox2->geometry(), QRect(224, 16, 249, 105));
    EXPECT_EQ(Form1->GroupBox1->geometry(), QRect(24, 144, 449, 289));
    EXPECT_FALSE(Form1->GroupBox1->isVisible());
    EXPECT_EQ(Form1->Edit2->text(), "Ученик");
    EXPECT_EQ(Form1->Label4->pos(), QPoint(136, 24));
    EXPECT_EQ(Form1->Label5->text(), "0");
    EXPECT_EQ(Form1->Label2->text(), "Лучшие время:");
    EXPECT_EQ(Form1->Image2->geometry(), QRect(56, 152, 393, 273));
    ASSERT_FALSE(Form1->Image2->pixmap().isNull());
    EXPECT_EQ(Form1->Image2->pixmap().height(), 273);
    EXPECT_EQ(Form1->Edit1->size(), QSize(409, 28));
    EXPECT_EQ(Form1->Button1->size(), QSize(147, 49));
    for (QWidget* hidden :
         {static_cast<QWidget*>(Form1->Label1), static_cast<QWidget*>(Form1->Label7),
          static_cast<QWidget*>(Form1->Edit3), static_cast<QWidget*>(Form1->Edit4),
          static_cast<QWidget*>(Form1->Button5)})
        EXPECT_TRUE(hidden->isHidden());
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_EQ(Form1->Timer1->interval(), 1000);
}

// The value labels hold a check's values for no one: a screen reader asking
// them (or told of a change) gets no name and no text.
TEST_F(MainWindowTest, TheValueLabelsTellAssistiveTechnologyNothing) {
    for (QLabel* label : {Form1->Label1, Form1->Label7}) {
        label->setText(QStringLiteral("-0,0697564737441253"));
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(label);
        ASSERT_NE(node, nullptr);
        for (const QAccessible::Text kind :
             {QAccessible::Name, QAccessible::Description, QAccessible::Value})
            EXPECT_EQ(node->text(kind), QString());
        EXPECT_EQ(node->textInterface(), nullptr);
        label->clear();
    }
}

// Hidden until a game starts, the answer box has its own font by the time it
// shows (it is given then, so start-up need not load it).
TEST_F(MainWindowTest, AnswerBoxHasItsFontOnceAGameStarts) {
    Form1->Button4->click();
    ASSERT_TRUE(Form1->Edit1->isVisible());
    const QFont font = Form1->Edit1->font();
    EXPECT_EQ(font.family(), "MS Sans Serif");
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_TRUE(font.bold());
    Form1->N2->trigger(); // a new game keeps it
    EXPECT_EQ(Form1->Edit1->font(), font);
}

TEST_F(MainWindowTest, MenuItemsInOrderWithIcons) {
    const QList<QAction*> top = Form1->menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text(), "&Файл");
    EXPECT_EQ(top[1]->text(), "&Вид");
    EXPECT_EQ(top[2]->text(), "&Справка");
    const QList<QAction*> file = Form1->N1->actions();
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[0]->text(), "&Новая игра");
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_EQ(file[2]->text(), "В&ыход");
    EXPECT_EQ(Form1->N6->text(), "&Чемпионы");
    EXPECT_EQ(Form1->N8->text(), "&О программе");
    for (QAction* item : {Form1->N2, Form1->N4, Form1->N6, Form1->N8})
        EXPECT_FALSE(item->icon().isNull()) << item->text().toStdString();
}

TEST_F(MainWindowTest, AnswerBoxHoldsLowerCase) {
    Form1->GroupBox1->show();
    Form1->Edit1->clear();
    Type(Form1->Edit1, QStringLiteral("SIN(Y)+Ж"));
    EXPECT_EQ(Form1->Edit1->text(), QStringLiteral("sin(y)+ж"));
    // Pasted text too, with the cursor kept where it was.
    Form1->Edit1->setCursorPosition(3);
    Form1->Edit1->insert(QStringLiteral("ABS"));
    EXPECT_EQ(Form1->Edit1->text(), QStringLiteral("sinabs(y)+ж"));
    EXPECT_EQ(Form1->Edit1->cursorPosition(), 6);
    Form1->GroupBox1->hide();
}

// The console checker reads answers through AnswerBoxText: whatever is
// pasted, the box must hold what it reads, every code point and the limit.
TEST_F(MainWindowTest, AnswerBoxHoldsWhatTheCheckerReads) {
    const auto expectSame = [](const std::u32string& pasted) {
        Form1->Edit1->clear();
        Form1->Edit1->insert(
            QString::fromUcs4(pasted.data(), static_cast<qsizetype>(pasted.size())));
        return ToCp1251(Form1->Edit1->text()) == AnswerBoxText(pasted);
    };
    std::u32string chunk;
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint < 0xD800 || codePoint > 0xDFFF)
            chunk += codePoint;
        if (chunk.size() == 4096 || codePoint == 0x10FFFF) {
            ASSERT_TRUE(expectSame(chunk))
                << "code points up to U+" << std::hex << static_cast<unsigned>(codePoint);
            chunk.clear();
        }
    }
    const std::u32string full(kAnswerBoxMaxLength - 1, U'A');
    for (const std::u32string& pasted :
         {full + U"BC", full + U"\U0001D400", full + U"\u0130", std::u32string(40000, U'\u0130'),
          std::u32string(kAnswerBoxMaxLength / 2, U'\U0001D400') + U"yz"})
        EXPECT_TRUE(expectSame(pasted)) << pasted.size();
    Form1->Edit1->clear();
}

TEST_F(MainWindowTest, NameBoxTakesOnlyCodePage1251Characters) {
    Form1->Edit2->clear();
    Type(Form1->Edit2, QStringLiteral("Иван€"));
    Type(Form1->Edit2, QStringLiteral("日ā"));
    EXPECT_EQ(Form1->Edit2->text(), QStringLiteral("Иван€"));
    Form1->Edit2->setText(QStringLiteral("Ученик"));
}

// Typing a name replaces "Ученик", but a pupil who typed in the box and
// comes back to the window finds it as he left it.
TEST_F(MainWindowTest, NameBoxSelectsItsTextAsItGetsTheKeys) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    const struct {
        Qt::FocusReason reason;
        bool typedIn, selected;
    } rows[] = {
        {Qt::TabFocusReason, true, true},           {Qt::MouseFocusReason, true, true},
        {Qt::OtherFocusReason, false, true},        {Qt::ActiveWindowFocusReason, false, true},
        {Qt::ActiveWindowFocusReason, true, false}, {Qt::PopupFocusReason, true, false}};
    for (const auto& [reason, typedIn, selected] : rows) {
        Form1->Button4->setFocus();
        Form1->Edit2->deselect();
        Form1->Edit2->setModified(typedIn);
        Form1->Edit2->setFocus(reason);
        QCoreApplication::processEvents();
        EXPECT_EQ(Form1->Edit2->selectedText(), selected ? QStringLiteral("Ученик") : QString())
            << reason;
    }
}

TEST_F(MainWindowTest, ChampionsMenuItemSwapsTheWindows) {
    Form1->N6->trigger();
    EXPECT_TRUE(Form3->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    // Hiding the main window behind the champions window does not quit.
    QTest::qWait(50);
    EXPECT_TRUE(Form3->isVisible());
    Form3->close();
    EXPECT_TRUE(Form1->isVisible());
}

// After the failed save's error, the program asks whether to quit without
// saving only when a record of this run is not in the file: "Нет" keeps the
// window open, "Да" closes it, the path's contents left as they were.
// Without such a record the error box is all, and the program ends.
struct TFailingSave {
    const char* title;
    bool recordEntered;
    bool recordSaved;
    bool answer; // "Да"
    bool asked;
};

void PrintTo(const TFailingSave& row, std::ostream* out) {
    *out << row.title;
}

class FailingSaveTest : public MainWindowTest,
                        public ::testing::WithParamInterface<TFailingSave> {};

TEST_P(FailingSaveTest, AsksOnlyForARecordNotInTheFile) {
    const TFailingSave& row = GetParam();
    TBoxRecorder boxes;
    boxes.QuestionAnswer = row.answer;
    RunRecords.Reset();
    if (row.recordEntered)
        RunRecords.Enter("pupil", "42");
    if (row.recordSaved)
        RunRecords.Saved = 1;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder + "/.camp.cam"); // the file name is a directory
    {
        QFile inside(folder + "/.camp.cam/kept");
        ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
        inside.write("kept");
    }
    Form1->N4->trigger();
    const bool stays = row.asked && !row.answer;
    EXPECT_EQ(Form1->isVisible(), stays);
    ASSERT_EQ(boxes.Errors.size(), 1);
    EXPECT_TRUE(boxes.Errors[0].startsWith("Файл рекордов " + ChampionsFilePath() + " — не файл"))
        << boxes.Errors[0].toStdString();
    ASSERT_EQ(boxes.Questions.size(), row.asked ? 1 : 0);
    if (row.asked) {
        EXPECT_EQ(boxes.QuestionCaptions[0], "Formulon");
        EXPECT_EQ(boxes.Questions[0], "Рекорды не сохранены в файл\n" + ChampionsFilePath() +
                                          "\nВыйти без сохранения?");
    }
    if (stays) {
        EXPECT_FALSE(Form1->close()); // every close asks again
        EXPECT_EQ(boxes.Questions.size(), 2);
        EXPECT_TRUE(Form1->isVisible());
    }
    EXPECT_EQ(QDir(folder + "/.camp.cam").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"kept"});
    EXPECT_TRUE(QDir(folder).entryList({".camp.cam.*"}, QDir::Hidden | QDir::Files).isEmpty());
    QDir(folder).removeRecursively();
    RunRecords.Reset();
    Form1->show();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FailingSaveTest,
    ::testing::Values(TFailingSave{"NoRecordThisRun", false, false, false, false},
                      TFailingSave{"RecordSavedAtTheWin", true, true, false, false},
                      TFailingSave{"RecordNotSavedStay", true, false, false, true},
                      TFailingSave{"RecordNotSavedQuit", true, false, true, true}),
    [](const auto& info) { return std::string(info.param.title); });

// Last in its process: a successful close ends the program.
TEST_F(MainWindowTest, ExitSavesTheChampionsFileAndQuits) {
    TBoxRecorder boxes;
    ChampionTable.Reset();
    RunRecords.Reset();
    RunRecords.Enter("abc", "12");
    int code = -1;
    QTimer::singleShot(0, [] { Form1->N4->trigger(); });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(7); }); // guard
    code = QCoreApplication::exec();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(boxes.Errors.isEmpty());
    EXPECT_FALSE(Form1->isVisible());
    QFile file(ChampionsFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ChampionsFileBytes());
    EXPECT_EQ(ChampionTable[1].Name(), "abc");
}

TEST_F(MainWindowTest, TheTaskBoxIsPureWhiteAroundAndUnderEachPicture) {
    Form1->Button4Click();
    for (const auto& [task, variant] : {std::pair{1, 1}, {5, 2}, {10, 3}}) {
        SCOPED_TRACE(testing::Message() << "task " << task << ", variant " << variant);
        Form1->Edit3->setText(QString::number(task));
        Form1->Edit4->setText(QString::number(variant));
        Form1->Button5Click();
        const QImage box = Form1->GroupBox1->grab().toImage();
        const QImage picture = Form1->Image1->pixmap().toImage();
        const QRect area = Form1->Image1->geometry();
        int stained = 0;
        for (int y = area.top() - 4; y <= area.bottom() + 8; ++y)
            for (int x = area.left() - 8; x <= area.right() + 8; ++x) {
                const QPoint inPicture = QPoint(x, y) - area.topLeft();
                if (picture.rect().contains(inPicture)) {
                    const QColor ink = picture.pixelColor(inPicture);
                    if (ink.alpha() != 0 && ink.rgb() != qRgb(255, 255, 255))
                        continue; // the formula itself
                }
                if (box.pixelColor(x * box.width() / Form1->GroupBox1->width(),
                                   y * box.height() / Form1->GroupBox1->height())
                        .rgb() != qRgb(255, 255, 255))
                    ++stained;
            }
        EXPECT_EQ(stained, 0);
    }
    Form1->GroupBox1->hide();
    Form1->Timer1->stop();
}
