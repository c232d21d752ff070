// Start-up with a champions file whose checksum record is empty: the
// conversion error appears in the error box during the main window's
// creation, and start-up goes on with the other windows. The program's own
// start: the other windows once the main window's first frame is out, or
// at its first request before that.
#include "app/Startup.h"
#include "app/FTAbout/FTAbout.h"
#include "champions/ChampionsFile.h"
#include "champions/Form3.h"
#include "champions/core/ChampionTable.h"
#include "quiz/ExplainFrm.h"
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

#include <ostream>
#include <string>

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

namespace {

bool OtherWindowsExist() {
    return Form2 && Form3 && AboutFrm && ExplainFrm;
}

QWidgetList Shown() {
    QWidgetList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown << w;
    return shown;
}

} // namespace

// The program's own start: the main window alone before its first frame,
// then the others, created as start-up creates them; Timer2 fills the
// champions grid about a second after start.
TEST(Startup, OtherWindowsFollowTheMainWindowsFirstFrame) {
    ASSERT_EQ(Form1, nullptr);
    TBoxRecorder boxes;
    CreateMainWindow();
    CreateOtherWindowsAfterFirstFrame();
    EXPECT_FALSE(Form2 || Form3 || AboutFrm || ExplainFrm);
    Form1->show();
    ASSERT_TRUE(WaitFor(OtherWindowsExist));
    EXPECT_EQ(Form3->StringGrid1->item(0, 1)->text(), "Имя"); // Form3's creation ran
    EXPECT_EQ(Shown(), QWidgetList{Form1});
    EXPECT_TRUE(WaitFor([] { return Form3->StringGrid1->item(1, 0)->text() == "1"; }));
    EXPECT_TRUE(boxes.Errors.isEmpty());
    // Nothing of the typesetter is loaded until a formula is typeset.
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_FALSE(mapped.contains("libformulon_mathjax"));
    EXPECT_FALSE(mapped.contains("libQt6Qml"));
}

// A request of the main window that comes before its first frame finds the
// other windows all the same.
struct TEarlyRequest {
    const char* name;
    void (*ask)();
    bool (*answered)();
};

void PrintTo(const TEarlyRequest& row, std::ostream* out) {
    *out << row.name;
}

class EarlyRequestTest : public ::testing::TestWithParam<TEarlyRequest> {};

TEST_P(EarlyRequestTest, CreatesTheOtherWindowsFirst) {
    ASSERT_EQ(Form1, nullptr);
    CreateMainWindow();
    CreateOtherWindowsAfterFirstFrame();
    ASSERT_FALSE(OtherWindowsExist());
    GetParam().ask();
    EXPECT_TRUE(OtherWindowsExist());
    EXPECT_TRUE(GetParam().answered());
    Form3->hide();
}

INSTANTIATE_TEST_SUITE_P(
    Requests, EarlyRequestTest,
    ::testing::Values(TEarlyRequest{"Champions", [] { emit Form1->championsRequested(); },
                                    [] { return Form3->isVisible(); }},
                      TEarlyRequest{"Timer2", [] { emit Form1->championsLoaded(); },
                                    [] { return Form3->StringGrid1->item(1, 0)->text() == "1"; }}),
    [](const auto& info) { return std::string(info.param.name); });
