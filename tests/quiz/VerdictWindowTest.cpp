// The verdict window driven as the main window's check leaves it.
#include "app/BitmapResources.h"
#include "app/TextCodec.h"
#include "champions/ChampionTable.h"
#include "engine/NumberText.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

const QString kNoMessage = QStringLiteral("Где-то есть ошибка");
const QString kPraise = QStringLiteral("Превосходно!");
const QString kZeroDivide = QStringLiteral("Нельзя делить на ноль");

class VerdictWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        // Every check starts from the active main window.
        Form2->hide();
        Form1->show();
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
        LastErrorText.Clear();
        ChampionTable.Reset();
        Form1->Edit1->setText(QStringLiteral("y+z"));
        Form2->Label2->setText(QStringLiteral("from the last check"));
    }
    void TearDown() override {
        Form2->hide();
        Form1->hide();
        LastErrorText.Clear();
        ChampionTable.Reset();
    }

    // What the main window's check does: verdict, comment after a wrong
    // answer, then the verdict window replaces the main window.
    static void ShowVerdict(const QString& verdict) {
        Form2->Label1->setText(verdict);
        if (verdict == kVerdictWrong)
            Form2->Label2->setText(FromCp1251(LastErrorText.Read()));
        Form1->hide();
        Form2->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form2));
    }

    static void ClickInForm2(QPoint point) {
        QTest::mouseClick(Form2->windowHandle(), Qt::LeftButton, {}, point);
        QCoreApplication::processEvents();
    }
};

// The picture shown equals the named resource with its white ground made
// see-through.
void ExpectPicture(const QString& name) {
    const QImage expected = LoadBitmapResource(name).convertToFormat(QImage::Format_ARGB32);
    const QImage shown = Form2->Image1->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), expected.size()) << name.toStdString();
    EXPECT_EQ(Form2->Image1->size(), expected.size());
    int mismatches = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            const QRgb got = shown.pixel(x, y);
            const bool white = (want & 0xFFFFFF) == 0xFFFFFF;
            if (white ? qAlpha(got) != 0 : got != want)
                ++mismatches;
        }
    EXPECT_EQ(mismatches, 0) << name.toStdString();
}

struct TVerdictCase {
    const char* verdict;
    const char* engineMessage; // in LastErrorText when the window opens
    const char* comment;
    const char* picture;
    bool answerEmptied;
};

TEST_F(VerdictWindowTest, CommentPictureAndAnswerBoxFollowTheVerdict) {
    const TVerdictCase cases[] = {
        {"Ответ правильный.", "", "Превосходно!", "inf", true},
        {"Ответ правильный.", "Ошибка в тангенсах", "Превосходно!", "inf", true},
        {"Превосходно!!! Вы победили", "", "Превосходно!", "win", true},
        {"Превосходно!!! Вы победили", "Нельзя делить на ноль", "Превосходно!", "win", true},
        {"Ответ не верный. Стоит подумать", "", "Где-то есть ошибка", "dum", false},
        {"Ответ не верный. Стоит подумать", "Ошибка в тангенсах", "Ошибка в тангенсах", "dum",
         false},
    };
    for (const TVerdictCase& c : cases) {
        SCOPED_TRACE(std::string(c.verdict) + " / " + c.engineMessage);
        SetUp();
        LastErrorText.Set(ToCp1251(QString::fromUtf8(c.engineMessage)));
        ShowVerdict(QString::fromUtf8(c.verdict));
        EXPECT_EQ(Form2->Label2->text(), QString::fromUtf8(c.comment));
        EXPECT_LE(Form2->Label1->fontMetrics().horizontalAdvance(Form2->Label1->text()),
                  Form2->Label1->width());
        ExpectPicture(QString::fromUtf8(c.picture));
        EXPECT_EQ(Form1->Edit1->text(), c.answerEmptied ? QString() : QStringLiteral("y+z"));
        // Activation never touches the register; only "Далее" empties it.
        EXPECT_EQ(FromCp1251(LastErrorText.Read()), QString::fromUtf8(c.engineMessage));
        TearDown();
    }
}

TEST_F(VerdictWindowTest, ActivatingAgainGivesTheSameResult) {
    LastErrorText.Set(ToCp1251(kZeroDivide));
    ShowVerdict(kVerdictWrong);
    ExpectPicture(QStringLiteral("dum"));

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Form2->Image1->clear();
    Form2->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form2));

    EXPECT_EQ(Form2->Label2->text(), kZeroDivide);
    ExpectPicture(QStringLiteral("dum"));
    EXPECT_EQ(Form1->Edit1->text(), QStringLiteral("y+z"));
}

TEST_F(VerdictWindowTest, NextReturnsToTheMainWindow) {
    const char* bestTimes[] = {"37", ""};
    for (const char* best : bestTimes) {
        SCOPED_TRACE(best);
        SetUp();
        ChampionTable[1].SetName("Petya");
        ChampionTable[1].SetResult(best);
        Form1->Label4->setText(QStringLiteral("999"));
        LastErrorText.Set(ToCp1251(kZeroDivide));
        ShowVerdict(kVerdictWrong);

        const QRect button = Form2->BitBtn1->geometry();
        ClickInForm2(button.center());

        EXPECT_EQ(Form1->Label4->text(), QString::fromLatin1(best));
        EXPECT_FALSE(Form2->isVisible());
        EXPECT_TRUE(Form1->isVisible());
        EXPECT_TRUE(LastErrorText.Empty());
        // A wrong answer is still there to be corrected.
        EXPECT_EQ(Form1->Edit1->text(), QStringLiteral("y+z"));
        TearDown();
    }
}

// The button is an oval: its corners neither paint nor take clicks.
TEST_F(VerdictWindowTest, OnlyTheOvalOfNextTakesClicks) {
    LastErrorText.Set(ToCp1251(kZeroDivide));
    ShowVerdict(kVerdictWrong);
    const QPoint origin = Form2->BitBtn1->pos();

    const QImage window = Form2->grab().toImage();
    for (const QPoint corner : {QPoint(2, 2), QPoint(198, 2), QPoint(2, 70), QPoint(198, 70)})
        EXPECT_EQ(window.pixelColor(origin + corner), QColor(192, 192, 192))
            << corner.x() << "," << corner.y();

    struct {
        QPoint inButton;
        bool returns;
    } const clicks[] = {
        {{3, 3}, false},                       // outside the bounding box of the oval
        {{15, 15}, false},                     // inside that box, outside the oval
        {{185, 55}, false}, {{100, 12}, true}, // just inside the top of the oval
        {{100, 35}, true},                     // centre
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(testing::Message() << click.inButton.x() << "," << click.inButton.y());
        LastErrorText.Set(ToCp1251(kZeroDivide));
        ShowVerdict(kVerdictWrong);
        ClickInForm2(origin + click.inButton);
        EXPECT_EQ(Form2->isVisible(), !click.returns);
        EXPECT_EQ(Form1->isVisible(), click.returns);
        EXPECT_EQ(LastErrorText.Empty(), click.returns);
    }
}

// Without a close box, Enter and closing the window both mean "Далее":
// the program must never be left without a visible window.
TEST_F(VerdictWindowTest, EnterAndClosingGoBackLikeNext) {
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "Enter" : "close");
        SetUp();
        ChampionTable[1].SetResult("12");
        LastErrorText.Set(ToCp1251(kZeroDivide));
        ShowVerdict(kVerdictRight);
        if (way == 0)
            QTest::keyClick(Form2->BitBtn1, Qt::Key_Return);
        else
            Form2->close();
        EXPECT_FALSE(Form2->isVisible());
        EXPECT_TRUE(Form1->isVisible());
        EXPECT_TRUE(LastErrorText.Empty());
        EXPECT_EQ(Form1->Label4->text(), QStringLiteral("12"));
        TearDown();
    }
}

// The longest engine message fits the comment box.
TEST_F(VerdictWindowTest, LongestMessageFitsTheCommentBox) {
    const QString longest = QStringLiteral("Невозможно возведение в степень ");
    Form2->Label2->setText(longest);
    const QRect box = Form2->Bevel2->geometry();
    EXPECT_TRUE(box.contains(Form2->Label2->geometry()));
    EXPECT_LE(Form2->Label2->heightForWidth(Form2->Label2->width()), Form2->Label2->height());
}

} // namespace
