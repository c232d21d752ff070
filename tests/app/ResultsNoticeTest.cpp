// A results log that takes no line: the game goes on, and the failure is
// told once, and only when the pupil is back in the main window.
#include "app/ResultsLogging.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void CheckAWrongAnswerAndGoBack(const QStringList& notices) {
    Form1->Edit1->setText(QStringLiteral("2"));
    QTest::mouseClick(Form1->Button1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form2));
    ASSERT_TRUE(!notices.isEmpty() || WaitFor([] { return ResultsFailureWaiting(); }));
    EXPECT_TRUE(Form2->isVisible() && !Form1->isVisible()) << "the verdict is still shown";
    const int toldBefore = notices.size();
    QCoreApplication::processEvents();
    EXPECT_EQ(notices.size(), toldBefore) << "nothing is told over the verdict";
    QTest::mouseClick(Form2->windowHandle(), Qt::LeftButton, {},
                      Form2->BitBtn1->geometry().center());
    ASSERT_TRUE(WaitFor([] { return Form1->isActiveWindow(); }));
}

TEST(ResultsNoticeTest, ToldOnceBackInTheMainWindowAndTheGameGoesOn) {
    TBoxRecorder boxes;
    CreateWindowsOnce();
    QTemporaryDir folder;
    const QString log = folder.filePath("results.log");
    QFile pupilsOwn(log); // a file the pupil owns could be read: refused
    ASSERT_TRUE(pupilsOwn.open(QIODevice::WriteOnly));
    pupilsOwn.close();
    QStringList notices;
    SetResultsNoticePresenter([&](const QString&, const QString& text) { notices << text; });
    StartResultsLog(QFile::encodeName(log), Form1->Session(), Form1);
    Form1->show();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    CheckAWrongAnswerAndGoBack(notices);
    ASSERT_TRUE(WaitFor([&] { return !notices.isEmpty(); }));
    EXPECT_TRUE(notices[0].startsWith(QStringLiteral("Результаты не записаны в журнал")))
        << notices[0].toStdString();
    CheckAWrongAnswerAndGoBack(notices);
    QCoreApplication::processEvents();
    EXPECT_EQ(notices.size(), 1);
    EXPECT_EQ(Form1->Session().TaskNo(), 1);
    EXPECT_TRUE(Form1->Session().TaskInProgress());
    EXPECT_EQ(QFile(log).size(), 0);
    EXPECT_TRUE(FinishResultsLog());
}

} // namespace
