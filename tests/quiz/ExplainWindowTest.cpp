// "Разбор ответа" opened the ways a pupil opens it, after a right answer,
// a wrong one, an answer that cannot be read and a raised error.
#include "engine/NumberText.h"
#include "quiz/ExplainFrm.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace formulon::engine;

namespace {

class ExplainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        Form2->hide();
        Form1->Session() = TGameSession();
        LastErrorText.Clear();
        Form1->show();
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
        Form1->Edit3->setText(QStringLiteral("1"));
        Form1->Edit4->setText(QStringLiteral("1")); // sin(y-z)
        Form1->Button5->click();
    }
    void TearDown() override { Form1->Timer1->stop(); }

    static void Check(const char* answer) {
        Form1->Edit1->setText(QString::fromLatin1(answer));
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
    }

    // 'open' opens the window, which is modal: 'during' runs while it is
    // up, then Escape closes it. A showing that does not end is reported.
    static void ExplainWhile(const std::function<void()>& open,
                             const std::function<void()>& during) {
        bool shown = false;
        QTimer::singleShot(0, ExplainFrm, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(ExplainFrm));
            shown = true;
            EXPECT_EQ(QApplication::activeModalWidget(), ExplainFrm);
            during();
            QTest::keyClick(ExplainFrm, Qt::Key_Escape);
        });
        QTimer::singleShot(10000, ExplainFrm, [] { ExplainFrm->reject(); });
        open();
        EXPECT_TRUE(shown);
        EXPECT_FALSE(ExplainFrm->isVisible());
    }

    static QString PlainText(const QLabel* label) {
        return QTextDocumentFragment::fromHtml(label->text()).toPlainText().trimmed();
    }

    static QStringList Steps() {
        QStringList steps;
        for (int row = 0; row < ExplainFrm->ListBox1->count(); ++row)
            steps << ExplainFrm->ListBox1->item(row)->text();
        return steps;
    }
};

TEST_F(ExplainWindowTest, TheMenuItemWaitsForTheFirstCheck) {
    TGameSession session;
    TForm1 fresh(session);
    EXPECT_FALSE(fresh.N10->isEnabled());
    EXPECT_EQ(fresh.N10->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(fresh.N10->text(), QStringLiteral("&Разбор ответа"));
    EXPECT_TRUE(fresh.N9->actions().contains(fresh.N10));
}

TEST_F(ExplainWindowTest, F1InTheVerdictWindowExplainsARightAnswer) {
    Check("-sin(z-y)");
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form2->windowHandle()));
    ExplainWhile(
        [] { QTest::keyClick(Form2, Qt::Key_F1); },
        [] {
            EXPECT_EQ(ExplainFrm->windowTitle(), QStringLiteral("Разбор ответа"));
            EXPECT_EQ(ExplainFrm->windowHandle()->transientParent(), Form2->windowHandle());
            EXPECT_EQ(ExplainFrm->Label1->text(), QStringLiteral("Задание № 1, вариант 1"));
            EXPECT_FALSE(ExplainFrm->Image1->pixmap().isNull());
            EXPECT_FALSE(ExplainFrm->Image2->pixmap().isNull()) << "typeset";
            EXPECT_EQ(ExplainFrm->Image2->pixmap().devicePixelRatio(),
                      ExplainFrm->devicePixelRatioF())
                << "drawn for the screen's density";
            EXPECT_TRUE(ExplainFrm->Label4->text().isEmpty());
            const QStringList steps = Steps();
            ASSERT_FALSE(steps.isEmpty());
            EXPECT_EQ(steps.first(), QStringLiteral("1. Подставили y = 7, z = 11: -sin((11)-(7))"));
            EXPECT_TRUE(ExplainFrm->Label7->text().contains("-0,0697564737441253"));
            EXPECT_TRUE(ExplainFrm->Label9->text().contains("-0,0697564737441253"));
            EXPECT_EQ(ExplainFrm->Label10->text(), QStringLiteral("совпадают"));
            EXPECT_TRUE(ExplainFrm->Label11->text().isEmpty());
        });
    EXPECT_TRUE(Form2->isVisible()) << "the verdict window stays";
}

TEST_F(ExplainWindowTest, AWrongAnswerShowsTheDifferenceAndTheMessage) {
    struct Row {
        const char* answer;
        QString difference;
        QString message;
        QString note; // under the answer's place: why it is not typeset, or a warning
    } rows[] = {
        {"3/0+z",
         QStringLiteral("различаются со знака 1"),
         QStringLiteral("Сообщение: Нельзя делить на ноль"),
         {}},
        {"sin(y-z)+1", QStringLiteral("различаются со знака 1"), {}, {}},
        {"2y", QStringLiteral("различаются со знака 1"), {}, QStringLiteral("Знак 2")},
        {"y-z^2", QStringLiteral("различаются со знака 1"), {}, QStringLiteral("Знак 2: минус")},
    };
    for (const Row& row : rows) {
        Check(row.answer);
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form2->windowHandle()));
        Form2->BitBtn1->click();
        ASSERT_TRUE(WaitFor([] { return Form1->isActiveWindow(); }));
        ExplainWhile([] { Form1->N10->trigger(); },
                     [&] {
                         EXPECT_EQ(ExplainFrm->Label10->text(), row.difference) << row.answer;
                         EXPECT_EQ(ExplainFrm->Label11->text(), row.message) << row.answer;
                         EXPECT_EQ(PlainText(ExplainFrm->Label3), QString::fromLatin1(row.answer));
                         EXPECT_EQ(ExplainFrm->Image2->pixmap().isNull(), row.note == "Знак 2");
                         EXPECT_EQ(ExplainFrm->Label4->text().left(row.note.size()), row.note)
                             << ExplainFrm->Label4->text().toStdString();
                         EXPECT_TRUE(!row.note.isEmpty() || ExplainFrm->Label4->text().isEmpty());
                     });
    }
}

TEST_F(ExplainWindowTest, F1InTheMainWindowExplainsARaisedError) {
    TBoxRecorder boxes;
    Check("2*x");
    ASSERT_EQ(boxes.Errors.size(), 1);
    ASSERT_TRUE(Form1->N10->isEnabled());
    ExplainWhile(
        [] { QTest::keyClick(Form1, Qt::Key_F1); },
        [] {
            EXPECT_EQ(ExplainFrm->windowHandle()->transientParent(), Form1->windowHandle());
            const QString error = QStringLiteral("'x' is not a valid floating point value.");
            EXPECT_EQ(Steps().mid(2),
                      QStringList({QStringLiteral("3. Вычисление прервано: ") + error.chopped(1),
                                   QStringLiteral("    «x» — не число: программа знает только "
                                                  "числа, переменные y и z и функции со "
                                                  "скобками")}));
            EXPECT_EQ(ExplainFrm->Label7->text(), QStringLiteral("не вычислено"));
            EXPECT_TRUE(ExplainFrm->Label10->text().isEmpty());
            EXPECT_EQ(ExplainFrm->Label11->text(), QStringLiteral("Ошибка: ") + error);
        });
    EXPECT_EQ(boxes.Errors.size(), 1) << "nothing is evaluated again";
}

} // namespace
