// A results log that takes no line (the pupil's own file, which the pupil
// could read): the game goes on, and the failure is told once, and only
// when the pupil is back in the main window.
#include "app/ResultsLogging.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>

#include <gtest/gtest.h>

TEST(ResultsNoticeTest, ToldOnceBackInTheMainWindowAndTheGameGoesOn) {
    TBoxRecorder boxes;
    CreateWindowsOnce();
    QTemporaryFile pupilsOwn;
    ASSERT_TRUE(pupilsOwn.open());
    QStringList told;
    SetResultsNoticePresenter([&](const QString&, const QString& text) { told << text; });
    StartResultsLog(QFile::encodeName(pupilsOwn.fileName()), Form1->Session(), Form1);
    Form1->show();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    for (int check = 0; check < 2; ++check) { // a wrong answer, then "Далее"
        Form1->Edit1->setText(QStringLiteral("2"));
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        ASSERT_TRUE(check > 0 || WaitFor([] { return ResultsFailureWaiting(); }));
        EXPECT_TRUE(Form2->isVisible() && told.size() == check) << "nothing over the verdict";
        QTest::mouseClick(Form2->windowHandle(), Qt::LeftButton, {},
                          Form2->BitBtn1->geometry().center());
        ASSERT_TRUE(WaitFor([&] { return Form1->isActiveWindow() && !told.isEmpty(); }));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Результаты не записаны")))
        << told[0].toStdString();
    EXPECT_TRUE(Form1->Session().TaskNo() == 1 && Form1->Session().TaskInProgress());
    EXPECT_EQ(pupilsOwn.size(), 0);
    EXPECT_TRUE(FinishResultsLog());
}
