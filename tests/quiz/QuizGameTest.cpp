// The quiz played through the main window's controls, headless.
#include "app/FTAbout/FTAbout.h"
#include "champions/ChampionsFile.h"
#include "champions/Form3.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/NumberText.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"
#include "ui/TextCodec.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace formulon::engine;

namespace {

// Right by value, written differently from the reference, per (task, variant)
// of the standard table.
const char* const kRightAnswers[10][3] = {
    {"-sin(z-y)", "cos(y*3-5)", "tan(3+z^2)"},
    {"log(4+z^2)+y^2", "exp(5+y)+z*3", "sin(y)+atn(z^2-3*y)*3"},
    {"abs(3*exp(y-2)-sin(y^2-4*z))", "tan((y^3-5)^0.5+log(25-2*z))", "(exp(y)+sin(y-3*z)^2-3)^0.5"},
    {"tan(3*z-5*y)-atn(20-y)*cos(10-2*y)*3", "5*exp(z-y)+sin(5*y-4)*log(z^2-10)",
     "(y+3*z^4)^0.5*cos(10-3*y^2)+abs(z^2-13*y)"},
    {"log(cos(z^3-3*y)^2)+exp(sin(y^2-10))", "-atn((z^2+y^3)^(1/2))+abs(tan(3*y^5+5))",
     "exp(tan(8*z^2-y^5+10))+(y^(sin(10-3*y^2)))^(1/2)"},
    {"sin(y^(tan(z^2-5*y)))/log(z^(exp(1/y)))", "exp(z*y)*(atn(log(y^4-3*z))+5.1)",
     "1.5*tan(y^(z-6.2)+z^2)/exp(log(z^5-5))"},
    {"50.05+sin(cos(exp(y))^3+5*z^((y)^(1/2)))^2", "abs(tan(3.03*y-sin(exp(z))^3+(z^6-2^y)^0.5))",
     "atn(z*0.13-tan(z^exp(1))^2+sin(z^2-y)^cos(y))^4"},
    {"-(y*z)^z+atn(log(3^exp(1))*(sin(3*z^2+y-10))/(cos(3*y-z)^2))",
     "4.36*log(z^(y+4)+abs(sin(z^2-y)*cos(8.3*y-5)^2))*tan(z^2-1.05^y)",
     "5*z+exp(sin(y^2-3*z)*cos(10-8.3*z)^2+3*tan(10.1+y^3))"},
    {"exp(abs(tan(z*5+cos(sin(z+5)+3*atn(z^2))^2)))",
     "sin(8.3*y+z^2)^cos(5*z^3-tan(10-abs(z-y^4)))",
     "(4.5*tan(z^2-y*3-10)^exp(y-z))/(sin(abs(z-y^10+5))^cos(3*z^2-y^5))"},
    {"-5.63+(abs(tan(3*sin(3*y-z)^2+exp(z^(-2)))^exp((y^0.5-3)^2)))^(1/2)/"
     "(7.03*sin((y-z)^3-(y+z)^2))",
     "log((5*sin(cos(y^2-z^3)^2)+4.34*y)^4)/(8.004*atn(5*sin(y^3-z^3+4^y)))",
     "(5*sin(cos(tan(log(z^4+y^2+10))^4)^3)^2)/"
     "abs(tan(sin(y^2+cos(z+4^(exp(-y+4)))))^2)"},
};

// A variant added to the table since is answered with its own formula.
QString RightAnswer(int task, int variant) {
    if (task <= 10 && variant <= 3)
        return QString::fromLatin1(kRightAnswers[task - 1][variant - 1]);
    return QString::fromStdString(ReferenceFormula(task, variant));
}

const QString kWrongVerdict = QStringLiteral("Ответ не верный. Стоит подумать");

class QuizGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        Form2->hide();
        Form3->hide();
        ChampionTable.Reset();
        RunRecords.Reset();
        QFile::remove(ChampionsFilePath());
        Form1->Session() = TGameSession();
        LastErrorText.Clear();
        Form1->Timer1->stop();
        // The clock runs, but only the test's own ticks count: a slow run
        // must not see a real second pass.
        Form1->Timer1->setInterval(std::chrono::hours(1));
        Form1->Label5->setText(QStringLiteral("0"));
        Form1->Edit1->clear();
        Form1->Edit2->setText(QStringLiteral("Ученик"));
        Form1->GroupBox1->hide();
        ShowMain();
    }
    void TearDown() override {
        Form2->hide();
        Form1->Timer1->stop();
        Form1->Timer1->setInterval(1000);
        Form1->Session().SetVariantSource({});
    }

    static void ShowMain() {
        Form1->show();
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
    }

    // Types into the answer box the way a pupil does; Latin text only.
    static void TypeAnswer(const QString& answer) {
        Form1->Edit1->clear();
        QTest::keyClicks(Form1->Edit1, answer);
    }

    static void Check() {
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    static void PressNext() {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form2));
        const QPoint centre = Form2->BitBtn1->geometry().center();
        QTest::mouseClick(Form2->windowHandle(), Qt::LeftButton, {}, centre);
        ASSERT_TRUE(WaitFor([] { return Form1->isActiveWindow(); }));
    }

    static void SelectTask(int task, int variant) {
        Form1->Edit3->setText(QString::number(task));
        Form1->Edit4->setText(QString::number(variant));
        Form1->Button5->click();
    }

    static QString Caption() { return Form1->GroupBox1->title(); }
};

TEST_F(QuizGameTest, AWholeGameFromStartToTheRecord) {
    TBoxRecorder boxes;
    QFile::remove(ChampionsFilePath());
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    ASSERT_TRUE(Form1->GroupBox1->isVisible());
    EXPECT_TRUE(Form1->Timer1->isActive());
    const int tasks = ReferenceFormulas.TaskCount();
    for (int task = 1; task <= tasks; ++task) {
        ASSERT_EQ(Form1->Session().TaskNo(), task);
        EXPECT_EQ(Caption(), QStringLiteral("Задание № %1").arg(task));
        const int variant = Form1->Session().Variant();
        ASSERT_TRUE(IsValidTask(task, variant));
        Form1->Timer1Timer(); // one second per task
        TypeAnswer(RightAnswer(task, variant));
        QTest::keyClick(Form1->Edit1, Qt::Key_Return);
        ASSERT_TRUE(Form2->isVisible()) << task;
        EXPECT_FALSE(Form1->isVisible());
        // The clock counts through the verdict window; only a record stops it.
        EXPECT_EQ(Form1->Timer1->isActive(), task < tasks);
        const QString verdict = task < tasks ? kVerdictRight : kVerdictWin;
        EXPECT_EQ(Form2->Label1->text(), verdict) << task << "." << variant;
        PressNext();
        EXPECT_TRUE(Form1->Edit1->text().isEmpty());
    }
    EXPECT_TRUE(boxes.Errors.isEmpty());
    EXPECT_EQ(Form1->Session().TaskNo(), 0);
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_FALSE(Form1->GroupBox1->isVisible());
    EXPECT_EQ(Form1->Label5->text(), QStringLiteral("0"));
    EXPECT_EQ(FromCp1251(ChampionTable[1].Name()), QStringLiteral("Ученик"));
    EXPECT_EQ(ChampionTable[1].Result(), "10");
    EXPECT_EQ(Form1->Label4->text(), QStringLiteral("10"));

    Form1->N6->trigger();
    ASSERT_TRUE(WaitFor([] { return Form3->isActiveWindow(); }));
    EXPECT_EQ(Form3->StringGrid1->item(1, 1)->text(), QStringLiteral("Ученик"));
    EXPECT_EQ(Form3->StringGrid1->item(1, 2)->text(), QStringLiteral("10"));
    Form3->hide();

    // The record reached the file when it was entered, before any close.
    {
        QFile saved(ChampionsFilePath());
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), ChampionsFileBytes());
    }
    QFile::remove(ChampionsFilePath());
    Form1->N4->trigger();
    EXPECT_FALSE(Form1->isVisible());
    QFile file(ChampionsFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 8704);
    EXPECT_EQ(bytes.mid(256, 3), QByteArray("\x02"
                                            "10",
                                            3));
}

TEST_F(QuizGameTest, AWrongAnswerKeepsTaskPictureAndTextAndShowsTheMessage) {
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    SelectTask(2, 2);
    const QImage picture = Form1->Image1->pixmap().toImage();
    struct Row {
        const char* answer;
        QString comment;
    } rows[] = {{"3*z+exp(y+4)", QStringLiteral("Где-то есть ошибка")},
                {"3/0+z", QStringLiteral("Нельзя делить на ноль")},
                {"3,5*z", QStringLiteral("Неизвестный знак \",\"")},
                {"log(0)", QStringLiteral("Ошибка в логарифмах")}};
    for (const Row& row : rows) {
        TypeAnswer(QString::fromLatin1(row.answer));
        Check();
        ASSERT_TRUE(Form2->isVisible()) << row.answer;
        EXPECT_EQ(Form2->Label1->text(), kWrongVerdict);
        EXPECT_EQ(Form2->Label2->text(), row.comment) << row.answer;
        PressNext();
        EXPECT_EQ(Form1->Session().TaskNo(), 2);
        EXPECT_EQ(Form1->Session().Variant(), 2);
        EXPECT_EQ(Form1->Session().LastVerdict(), TLastVerdict::Wrong);
        EXPECT_EQ(Form1->Edit1->text(), QString::fromLatin1(row.answer));
        EXPECT_EQ(Form1->Image1->pixmap().toImage(), picture);
        EXPECT_TRUE(LastErrorText.Empty());
    }
}

TEST_F(QuizGameTest, ARaisedErrorShowsTheErrorBoxAndChangesNothing) {
    TBoxRecorder boxes;
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    SelectTask(1, 1);
    Form1->Timer1Timer();
    struct Row {
        const char* answer;
        QString error;
    } rows[] = {{"2*x", QStringLiteral("'x' is not a valid floating point value.")},
                {"2/0.0", QStringLiteral("Floating point division by zero.")},
                {"10^200*10^200", QStringLiteral("Floating point overflow.")}};
    for (const Row& row : rows) {
        boxes.Errors.clear();
        TypeAnswer(QString::fromLatin1(row.answer));
        Check();
        ASSERT_EQ(boxes.Errors, QStringList{row.error});
        EXPECT_EQ(boxes.ErrorCaptions.last(), QStringLiteral("Formulon"));
        EXPECT_FALSE(Form2->isVisible());
        EXPECT_TRUE(Form1->isVisible());
        EXPECT_EQ(Form1->Session().TaskNo(), 1);
        EXPECT_EQ(Form1->Session().Variant(), 1);
        EXPECT_EQ(Form1->Label5->text(), QStringLiteral("1"));
        EXPECT_TRUE(Form1->Timer1->isActive());
        EXPECT_EQ(Form1->Edit1->text(), QString::fromLatin1(row.answer));
        EXPECT_EQ(Form1->Label1->text(), QStringLiteral("-0,0697564737441253"));
    }
}

TEST_F(QuizGameTest, TaskNineVariantThreeIsRightOnlyForAFailingAnswer) {
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    SelectTask(9, 3);
    TypeAnswer(QStringLiteral("1"));
    Check();
    EXPECT_EQ(Form2->Label1->text(), kWrongVerdict);
    EXPECT_EQ(Form2->Label2->text(), QStringLiteral("Ошибка в тангенсах"));
    PressNext();

    TypeAnswer(
        QStringLiteral("(4.5*TAN(Z^2-3*Y-10)^EXP(Y-Z))/(SIN(ABS(Z-Y^10+5))^COS(3*Z^2-Y^5))"));
    EXPECT_EQ(Form1->Edit1->text(), QString::fromLatin1(ReferenceFormula(9, 3).c_str()))
        << "the answer box holds its text in lower case";
    Check();
    EXPECT_EQ(Form2->Label1->text(), kVerdictRight);
    EXPECT_EQ(Form1->Session().TaskNo(), 10);
    PressNext();
}

TEST_F(QuizGameTest, AnEmptyNameIsRefusedAndANameOfBlanksAccepted) {
    TBoxRecorder boxes;
    Form1->Edit2->clear();
    QTest::keyClick(Form1->Edit2, Qt::Key_Return);
    EXPECT_EQ(boxes.Warnings, QStringList{QStringLiteral("Введите имя")});
    EXPECT_EQ(boxes.WarningCaptions, QStringList{QStringLiteral("Warning")});
    EXPECT_FALSE(Form1->GroupBox1->isVisible());
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_EQ(Form1->Session().TaskNo(), 0);

    QTest::keyClicks(Form1->Edit2, QStringLiteral("   "));
    Form1->N2->trigger();
    EXPECT_EQ(boxes.Warnings.size(), 1);
    EXPECT_EQ(Form1->Session().TaskNo(), 1);
    EXPECT_EQ(Form1->Session().PlayerName(), "   ");
}

TEST_F(QuizGameTest, StartingAgainDuringAGameRestartsAtTaskOneWithTheClockRunning) {
    Form1->Session().SetVariantSource([](int) { return 1; });
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    TypeAnswer(QStringLiteral("sin(y-z)"));
    Check();
    PressNext();
    ASSERT_EQ(Form1->Session().TaskNo(), 2);
    Form1->Timer1Timer();
    Form1->Timer1Timer();
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    EXPECT_EQ(Form1->Session().TaskNo(), 1);
    EXPECT_EQ(Caption(), QStringLiteral("Задание № 1"));
    EXPECT_EQ(Form1->Label5->text(), QStringLiteral("0"));
    EXPECT_TRUE(Form1->Timer1->isActive());
}

// Plays task 10 with the clock at 'time' and slot 15 at 'slot15'.
void WinAt(int time, const char* slot15) {
    for (int slot = 1; slot <= kRankingSlots; ++slot) {
        ChampionTable[slot].SetName("p" + std::to_string(slot));
        ChampionTable[slot].SetResult(slot == kRankingSlots ? slot15 : std::to_string(slot));
    }
    // As loaded: the record's save merges with the same table on disk.
    DataFolder();
    QFile file(ChampionsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ChampionsFileBytes());
    file.close();
    Form1->Session().SetVariantSource([](int) { return 1; });
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    Form1->Edit3->setText(QStringLiteral("10"));
    Form1->Edit4->setText(QStringLiteral("1"));
    Form1->Button5->click();
    for (int second = 0; second < time; ++second)
        Form1->Timer1Timer();
    QTest::keyClicks(Form1->Edit1, RightAnswer(10, 1));
    QTest::mouseClick(Form1->Button1, Qt::LeftButton);
}

TEST_F(QuizGameTest, AFinishingTimeEqualToTheLastPlaceIsNoRecord) {
    WinAt(100, "100");
    EXPECT_EQ(Form2->Label1->text(), kVerdictWin);
    EXPECT_EQ(ChampionTable[kRankingSlots].Result(), "100");
    EXPECT_EQ(ChampionTable[kRankingSlots].Name(), "p15");
    EXPECT_EQ(Form1->Session().TaskNo(), 0);
    EXPECT_TRUE(Form1->Timer1->isActive()) << "the clock runs on after a win without a record";
    PressNext();
    // No task is left: the title picture shows, the clock runs on.
    EXPECT_FALSE(Form1->GroupBox1->isVisible());
    EXPECT_TRUE(Form1->Image2->isVisible());
    EXPECT_TRUE(Form1->Timer1->isActive());
    EXPECT_EQ(Form1->Session().TaskNo(), 0);
}

TEST_F(QuizGameTest, OneSecondLessThanTheLastPlaceIsARecord) {
    WinAt(99, "100");
    EXPECT_EQ(ChampionTable[kRankingSlots].Result(), "99");
    EXPECT_EQ(ChampionTable[kRankingSlots].Name(), Form1->Session().PlayerName());
    EXPECT_FALSE(Form1->Timer1->isActive());
    EXPECT_EQ(Form1->Label4->text(), QStringLiteral("1"));
    PressNext();
    EXPECT_FALSE(Form1->GroupBox1->isVisible());
}

TEST_F(QuizGameTest, AHandMadeLastPlaceTimeEndsTheGameWithTheErrorBox) {
    TBoxRecorder boxes;
    WinAt(50, "abc");
    EXPECT_EQ(boxes.Errors, QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(Form1->Session().TaskNo(), 0);
    Check();
    EXPECT_EQ(boxes.Errors.size(), 1) << "no task is left to check";
}

TEST_F(QuizGameTest, TheHiddenSelectorIgnoresWhatIsNotATask) {
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    SelectTask(4, 2);
    for (auto [task, variant] : {std::pair{"0", "1"}, {"11", "1"}, {"4", "4"}, {"x", "2"}}) {
        Form1->Edit3->setText(QString::fromLatin1(task));
        Form1->Edit4->setText(QString::fromLatin1(variant));
        Form1->Button5->click();
        EXPECT_EQ(Form1->Session().TaskNo(), 4);
        EXPECT_EQ(Form1->Session().Variant(), 2);
    }
}

TEST_F(QuizGameTest, TheAboutWindowOpensOnTheProgramPageEveryTime) {
    // First visit: leave on the feedback page.
    QTimer::singleShot(0, [] {
        QTest::mouseClick(AboutFrm->Label2, Qt::LeftButton);
        QTest::mouseClick(AboutFrm->Label3, Qt::LeftButton);
    });
    Form1->N8->trigger();
    ASSERT_TRUE(AboutFrm->Panel2->isVisibleTo(AboutFrm));
    bool programPage = false;
    QTimer::singleShot(0, [&programPage] {
        programPage = AboutFrm->Panel1->isVisible() && !AboutFrm->Panel2->isVisible();
        QTest::mouseClick(AboutFrm->Label3, Qt::LeftButton);
    });
    Form1->N8->trigger();
    EXPECT_TRUE(programPage);
}

} // namespace

TEST_F(QuizGameTest, TheAnswerBoxTakesTheFocusAtEachStartAndAfterEachVerdict) {
    Form1->Session().SetVariantSource([](int) { return 1; });
    const std::function<void()> steps[] = {
        [] { QTest::mouseClick(Form1->Button4, Qt::LeftButton); },
        [] { QTest::keyClick(Form1->Edit2, Qt::Key_Return); },
        [] { Form1->N2->trigger(); },
        [] { // wrong, checked with the button, which takes the focus
            TypeAnswer(QStringLiteral("y"));
            Form1->Button1->setFocus();
            Check();
            PressNext();
        },
        [] { // right, checked with Enter
            TypeAnswer(QStringLiteral("sin(y-z)"));
            QTest::keyClick(Form1->Edit1, Qt::Key_Return);
            PressNext();
        },
    };
    for (const auto& step : steps) {
        Form1->Edit2->setFocus();
        step();
        EXPECT_EQ(Form1->focusWidget(), Form1->Edit1);
    }
}

TEST_F(QuizGameTest, F10OpensTheMenu) {
    QTest::keyClick(Form1->Edit2, Qt::Key_F10);
    EXPECT_TRUE(WaitFor([] { return Form1->N1->isVisible(); }));
    QTest::keyClick(Form1->N1, Qt::Key_Escape);
    Form1->N1->hide();
}
