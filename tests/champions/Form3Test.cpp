// The champions window: layout, activation, the oval button.
#include "champions/Form3.h"
#include "champions/core/ChampionTable.h"
#include "quiz/Form1.h"
#include "tests/support/TestSupport.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class Form3Test : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        ChampionTable.Reset();
        Form1->Timer2->stop();
    }
    void TearDown() override {
        Form3->hide();
        Form1->hide();
    }
    static void ShowForm3() {
        Form1->N6Click();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form3));
        QTest::qWait(50);
    }
};

} // namespace

TEST_F(Form3Test, Layout) {
    EXPECT_EQ(Form3->windowTitle(), "Рекорды");
    EXPECT_EQ(Form3->size(), QSize(404, 536));
    EXPECT_EQ(Form3->minimumSize(), Form3->maximumSize());
    EXPECT_EQ(Form3->pos(), QPoint(172, 90));
    EXPECT_EQ(Form3->font().pixelSize(), 15);
    EXPECT_EQ(Form3->Label1->text(), "Список лучших результатов:");
    EXPECT_EQ(Form3->Label1->pos(), QPoint(24, 18));
    QTableWidget* grid = Form3->StringGrid1;
    EXPECT_EQ(grid->geometry(), QRect(24, 51, 354, 361));
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->rowCount(), 16);
    EXPECT_EQ(grid->columnWidth(0), 33);
    EXPECT_EQ(grid->columnWidth(1), 166);
    EXPECT_EQ(grid->columnWidth(2), 74);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->item(0, 0)->text(), "№");
    EXPECT_EQ(grid->item(0, 1)->text(), "Имя");
    EXPECT_EQ(grid->item(0, 2)->text(), "Результат");
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(grid->item(0, c)->background().color(), QColor(0, 255, 0));
        EXPECT_FALSE(grid->item(0, c)->flags() & Qt::ItemIsEditable);
        EXPECT_FALSE(grid->item(5, c)->flags() & Qt::ItemIsEditable);
    }
    EXPECT_TRUE(grid->font().italic());
    EXPECT_EQ(grid->font().pixelSize(), 15);
    EXPECT_EQ(Form3->BitBtn1->text(), "Закрыть");
    EXPECT_EQ(Form3->BitBtn1->geometry(), QRect(92, 442, 229, 77));
    EXPECT_FALSE(Form3->BitBtn1->icon().isNull());
    EXPECT_EQ(Form3->BitBtn1->mask(), QRegion(10, 10, 180, 50, QRegion::Ellipse));
}

TEST_F(Form3Test, ActivationSortsAndFills) {
    ChampionTable[1].SetName("slow");
    ChampionTable[1].SetResult("10");
    ChampionTable[3].SetName("fast");
    ChampionTable[3].SetResult("9");
    ChampionTable[16].SetName("spare");
    ChampionTable[16].SetResult("1");
    ShowForm3();
    EXPECT_TRUE(WaitFor([] { return Form3->StringGrid1->item(1, 1)->text() == "fast"; }));
    EXPECT_EQ(Form3->StringGrid1->item(2, 1)->text(), "slow");
    EXPECT_EQ(Form3->StringGrid1->item(3, 1)->text(), "");
    EXPECT_EQ(Form3->StringGrid1->item(15, 0)->text(), "15");
    EXPECT_TRUE(Form3->isVisible());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(Form3Test, ClickOnTheButtonsCornerDoesNothing) {
    ShowForm3();
    QWindow* window = Form3->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint corner = Form3->BitBtn1->mapTo(Form3, QPoint(4, 4));
    QTest::mouseClick(window, Qt::LeftButton, {}, corner);
    QTest::qWait(50);
    EXPECT_TRUE(Form3->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    // Just outside the ellipse, inside the rectangle.
    const QPoint edge = Form3->BitBtn1->mapTo(Form3, QPoint(12, 14));
    QTest::mouseClick(window, Qt::LeftButton, {}, edge);
    QTest::qWait(50);
    EXPECT_TRUE(Form3->isVisible());
}

TEST_F(Form3Test, ClickInTheMiddleHidesItAndShowsTheMainWindow) {
    ShowForm3();
    const QPoint middle = Form3->BitBtn1->mapTo(Form3, QPoint(100, 35));
    QTest::mouseClick(Form3->windowHandle(), Qt::LeftButton, {}, middle);
    EXPECT_TRUE(WaitFor([] { return !Form3->isVisible(); }));
    EXPECT_TRUE(Form1->isVisible());
}

TEST_F(Form3Test, CloseButtonOnlyHides) {
    ShowForm3();
    const QPointer<TForm3> window = Form3;
    EXPECT_TRUE(Form3->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_FALSE(window.isNull()) << "closing never destroys the window";
    EXPECT_TRUE(Form1->isVisible());
    // Shown again: still the same window, still working.
    ShowForm3();
    EXPECT_TRUE(Form3->isVisible());
}

TEST_F(Form3Test, AFailedSortShowsItsErrorOncePerShowing) {
    TBoxRecorder boxes;
    ChampionTable[1].SetName("hand");
    ChampionTable[1].SetResult("abc");
    ChampionTable[2].SetName("made");
    ChampionTable[2].SetResult("5");
    ShowForm3();
    ASSERT_TRUE(WaitFor([&] { return !boxes.Errors.isEmpty(); }));
    QTest::qWait(50);
    ASSERT_EQ(boxes.Errors.size(), 1) << boxes.Errors.join("|").toStdString();
    // Closing the error box under a window manager activates the window again.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Form3->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form3));
    QTest::qWait(50);
    EXPECT_EQ(boxes.Errors.size(), 1);
    // The next opening sorts afresh.
    Form3->BitBtn1Click();
    ShowForm3();
    EXPECT_TRUE(WaitFor([&] { return boxes.Errors.size() == 2; }));
}

struct TPlaceCase {
    const char* name;
    const char* result;
    const char* nameCell;
    const char* resultCell;
};

class Form3PlaceTest : public Form3Test, public ::testing::WithParamInterface<TPlaceCase> {};

// A place with a name and no time shows its name: the fill writes every
// slot's name.
TEST_P(Form3PlaceTest, EachCellShowsItsSlotsField) {
    const TPlaceCase& c = GetParam();
    ChampionTable[1].SetName(c.name);
    ChampionTable[1].SetResult(c.result);
    Form3->FillChampionsGrid();
    EXPECT_EQ(Form3->StringGrid1->item(1, 0)->text(), "1");
    EXPECT_EQ(Form3->StringGrid1->item(1, 1)->text(), c.nameCell);
    EXPECT_EQ(Form3->StringGrid1->item(1, 2)->text(), c.resultCell);
}

INSTANTIATE_TEST_SUITE_P(Places, Form3PlaceTest,
                         ::testing::Values(TPlaceCase{"name", "", "name", ""},
                                           TPlaceCase{"", "", "", ""}, TPlaceCase{"", "7", "", "7"},
                                           TPlaceCase{"name", "12", "name", "12"}));
