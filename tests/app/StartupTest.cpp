// Start-up with a champions file whose checksum record is empty: the
// conversion error appears in the error box during the main window's
// creation, and start-up goes on with the other windows.
#include "app/FTAbout/FTAbout.h"
#include "champions/ChampionsFile.h"
#include "champions/Form3.h"
#include "champions/core/ChampionTable.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(Startup, DamagedFileReportsAndStartupGoesOn) {
    ASSERT_EQ(Form1, nullptr);
    {
        DataFolder();
        QFile file(ChampionsFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8704, '\0'));
    }
    TBoxRecorder boxes;
    QStringList visibleWhenReported;
    CreateWindowsOnce();
    ASSERT_EQ(boxes.Errors.size(), 1);
    EXPECT_EQ(boxes.Errors[0], "'' is not a valid integer value.");
    // All four windows exist, in order, none visible yet.
    ASSERT_NE(Form1, nullptr);
    ASSERT_NE(Form2, nullptr);
    ASSERT_NE(Form3, nullptr);
    ASSERT_NE(AboutFrm, nullptr);
    EXPECT_EQ(Form3->StringGrid1->item(0, 1)->text(), "Имя"); // Form3's creation ran
    EXPECT_FALSE(Form1->Timer2->isActive());
    EXPECT_EQ(Form1->Label4->text(), "0");

    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    QTest::qWait(1300); // past Timer2's second: it never runs
    EXPECT_EQ(Form1->Label4->text(), "0");
    QWidgetList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown << w;
    EXPECT_EQ(shown, QWidgetList{Form1});
}
