// The verdict window, reached through the main window's own check.
#include "champions/core/ChampionTable.h"
#include "engine/NumberText.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"
#include "ui/BitmapResources.h"
#include "ui/LinkLabel.h"
#include "ui/TextCodec.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace formulon::engine;

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
        Form1->Label5->setText(QStringLiteral("0"));
        Form2->Label2->setText(QStringLiteral("from the last check"));
        // Each reading of the clock is a pause later: Enter is never too soon.
        Form2->SetClock([] {
            static std::int64_t now = 0;
            return now += TForm2::EnterPauseMs;
        });
    }
    void TearDown() override {
        Form2->hide();
        Form1->hide();
        Form1->Timer1->stop();
        LastErrorText.Clear();
        ChampionTable.Reset();
        Form1->Session() = TGameSession();
    }

    // The main window's own check of an answer to (task, variant); the
    // verdict window replaces the main window.
    static void CheckAnswer(int task, int variant, const QString& answer) {
        Form1->Edit3->setText(QString::number(task));
        Form1->Edit4->setText(QString::number(variant));
        Form1->Button5->click();
        Form1->Edit1->setText(answer);
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
        ASSERT_TRUE(Form2->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form2));
    }
    static QString Reference(int task, int variant) {
        return QString::fromLatin1(ReferenceFormula(task, variant).c_str());
    }
    // A wrong answer whose comment is "Нельзя делить на ноль".
    static void CheckDivisionByZero() { CheckAnswer(1, 1, QStringLiteral("3/0+z")); }
    // A right answer that leaves "Ошибка в тангенсах" in the register.
    static void CheckRightWithAMessage() { CheckAnswer(9, 3, Reference(9, 3)); }

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
    int task, variant;
    const char* answer; // nullptr: the reference formula
    const char* verdict;
    const char* engineMessage; // in LastErrorText when the window opens
    const char* comment;
    const char* picture;
};

class VerdictCaseTest : public VerdictWindowTest,
                        public ::testing::WithParamInterface<TVerdictCase> {};

TEST_P(VerdictCaseTest, CommentPictureAndAnswerBoxFollowTheVerdict) {
    const TVerdictCase& c = GetParam();
    const QString answer = c.answer ? QString::fromLatin1(c.answer) : Reference(c.task, c.variant);
    CheckAnswer(c.task, c.variant, answer);
    EXPECT_EQ(Form2->Label1->text(), QString::fromUtf8(c.verdict));
    EXPECT_EQ(Form2->Label2->text(), QString::fromUtf8(c.comment));
    EXPECT_LE(Form2->Label1->fontMetrics().horizontalAdvance(Form2->Label1->text()),
              Form2->Label1->width());
    ExpectPicture(QString::fromUtf8(c.picture));
    const bool right = Form2->Label1->text() != kVerdictWrong;
    EXPECT_EQ(Form1->Edit1->text(), right ? QString() : answer);
    EXPECT_EQ(Form2->Label4->isVisible(), !right) << "the link to \"Разбор ответа\"";
    // Activation never touches the register; only "Далее" empties it.
    EXPECT_EQ(FromCp1251(LastErrorText.Read()), QString::fromUtf8(c.engineMessage));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VerdictCaseTest,
    ::testing::Values(
        TVerdictCase{1, 1, "sin(y-z)", "Ответ правильный.", "", "Превосходно!", "inf"},
        TVerdictCase{9, 3, nullptr, "Ответ правильный.", "Ошибка в тангенсах", "Превосходно!",
                     "inf"},
        TVerdictCase{10, 1, nullptr, "Превосходно!!! Вы победили", "", "Превосходно!", "win"},
        TVerdictCase{1, 1, "1", "Ответ не верный. Стоит подумать", "", "Где-то есть ошибка", "dum"},
        TVerdictCase{1, 1, "3/0+z", "Ответ не верный. Стоит подумать", "Нельзя делить на ноль",
                     "Нельзя делить на ноль", "dum"},
        TVerdictCase{9, 3, "1", "Ответ не верный. Стоит подумать", "Ошибка в тангенсах",
                     "Ошибка в тангенсах", "dum"}));

TEST_F(VerdictWindowTest, ActivatingAgainGivesTheSameResult) {
    CheckDivisionByZero();
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
    EXPECT_EQ(Form1->Edit1->text(), QStringLiteral("3/0+z"));
}

class NextTest : public VerdictWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NextTest, ReturnsToTheMainWindowWithTheBestTime) {
    ChampionTable[1].SetName("Petya");
    ChampionTable[1].SetResult(GetParam());
    Form1->Label4->setText(QStringLiteral("999"));
    CheckDivisionByZero();

    const QRect button = Form2->BitBtn1->geometry();
    ClickInForm2(button.center());

    EXPECT_EQ(Form1->Label4->text(), QString::fromLatin1(GetParam()));
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(LastErrorText.Empty());
    // A wrong answer is still there to be corrected.
    EXPECT_EQ(Form1->Edit1->text(), QStringLiteral("3/0+z"));
}

INSTANTIATE_TEST_SUITE_P(BestTimes, NextTest, ::testing::Values("37", ""));

// The button is an oval: its corners neither paint nor take clicks.
TEST_F(VerdictWindowTest, OnlyTheOvalOfNextTakesClicks) {
    CheckDivisionByZero();
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
        Form2->hide();
        Form1->show();
        CheckDivisionByZero();
        ClickInForm2(origin + click.inButton);
        EXPECT_EQ(Form2->isVisible(), !click.returns);
        EXPECT_EQ(Form1->isVisible(), click.returns);
        EXPECT_EQ(LastErrorText.Empty(), click.returns);
    }
}

// Without a close box, Enter and closing the window both mean "Далее":
// the program must never be left without a visible window.
class WayBackTest : public VerdictWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WayBackTest, EnterAndClosingGoBackLikeNext) {
    const bool enter = GetParam();
    ChampionTable[1].SetResult("12");
    CheckRightWithAMessage();
    ASSERT_FALSE(LastErrorText.Empty());
    if (enter)
        QTest::keyClick(Form2->BitBtn1, Qt::Key_Return);
    else
        Form2->close();
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(LastErrorText.Empty());
    EXPECT_EQ(Form1->Label4->text(), QStringLiteral("12"));
}

INSTANTIATE_TEST_SUITE_P(EnterOrClose, WayBackTest, ::testing::Bool());

// The check's Enter pressed twice, or held down, leaves the verdict shown.
TEST_F(VerdictWindowTest, EnterPressesNextOnlyAfterAPauseAndNeverAsARepeat) {
    const struct {
        std::int64_t after; // milliseconds since the window appeared
        bool repeat;
        bool goesBack;
    } rows[] = {{0, false, false}, {299, false, false}, {300, false, true}, {9000, true, false}};
    for (const auto& row : rows) {
        std::int64_t now = 1000;
        Form2->SetClock([&now] { return now; });
        Form2->hide();
        Form1->show();
        CheckDivisionByZero();
        now += row.after;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                        row.repeat);
        QApplication::sendEvent(Form2->BitBtn1, &enter);
        EXPECT_EQ(Form2->isVisible(), !row.goesBack) << row.after;
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

TEST_F(VerdictWindowTest, NextShowsAFocusMarkInsideItsOval) {
    CheckAnswer(1, 1, QStringLiteral("sin(y-z)"));
    QPushButton* const button = Form2->BitBtn1;
    button->clearFocus();
    const QImage plain = button->grab().toImage();
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const QImage focused = button->grab().toImage();
    const QRegion oval(10, 10, 180, 50, QRegion::Ellipse);
    int marked = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != focused.pixel(x, y)) {
                EXPECT_TRUE(oval.contains(QPoint(x, y))) << x << "," << y;
                ++marked;
            }
    EXPECT_GT(marked, 100) << "a mark runs round the oval";
    Form2->hide();
}
