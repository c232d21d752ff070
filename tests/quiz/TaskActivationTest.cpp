// Every way back to the main window during a game: a right answer's return
// draws the next task's variant once; every other way keeps the picture the
// pupil is solving and gives the answer box the keyboard again.
#include "champions/Form3.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

// Counts activations, so that a way back that never activated the main
// window cannot pass unseen.
struct TActivationCounter : QObject {
    int Count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        Count += event->type() == QEvent::WindowActivate;
        return false;
    }
};

// 'open' opens a modal window, closed with Escape once it is up.
void WhileModal(const std::function<void()>& open) {
    QTimer::singleShot(0, [] {
        if (WaitFor([] { return QApplication::activeModalWidget() != nullptr; }))
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    open();
}

void Enter(QLineEdit* box, const QString& text) {
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

const std::pair<const char*, std::function<void()>> kWaysBack[] = {
    {"error box",
     [] {
         TRealBoxes real;
         WhileModal([] { Enter(Form1->Edit1, QStringLiteral("1..5*2")); });
     }},
    {"warning box",
     [] {
         TRealBoxes real;
         WhileModal([] { Enter(Form1->Edit2, {}); });
         Form1->Edit2->setText(QStringLiteral("Ученик"));
     }},
    {"about window", [] { WhileModal([] { Form1->N8->trigger(); }); }},
    {"explanation", [] { WhileModal([] { Form1->N10->trigger(); }); }},
    {"champions window",
     [] {
         Form1->N6->trigger();
         ASSERT_TRUE(QTest::qWaitForWindowActive(Form3->windowHandle()));
         QTest::keyClick(Form3, Qt::Key_Return);
     }},
    {"another program's window",
     [] {
         QWidget other;
         other.show();
         other.activateWindow();
         ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
         Form1->activateWindow();
     }},
};

TEST(TaskActivation, ARightAnswerDrawsOnceAndEveryOtherWayBackKeepsThePicture) {
    CreateWindowsOnce();
    // Each reading of the clock is a pause later: Enter is never too soon.
    Form2->SetClock([] {
        static std::int64_t now = 0;
        return now += TForm2::EnterPauseMs;
    });
    Form1->Session() = TGameSession();
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
    int draws = 0, next = 1;
    Form1->Session().SetVariantSource([&](int) { return ++draws, next; });
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    EXPECT_EQ(Form1->Image1->accessibleDescription(), QStringLiteral("синус от (игрек минус зет)"));
    next = 3;
    Enter(Form1->Edit1, QStringLiteral("sin(y-z)")); // task 1, variant 1: right
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form2->windowHandle()));
    QTest::keyClick(Form2->BitBtn1, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([] { return Form1->isActiveWindow(); }));
    EXPECT_EQ(draws, 2) << "one for the start, one for the next task";
    const QImage picture = Form1->Image1->pixmap().toImage();
    EXPECT_EQ(picture, QPixmap(QStringLiteral(":/bitmaps/P23.png")).toImage());
    // The new task in words, for the picture and for the box the keys are in.
    const QString spoken =
        QStringLiteral("три арктангенс от (зет в квадрате минус три игрек) плюс синус игрек");
    EXPECT_EQ(Form1->Image1->accessibleDescription(), spoken);
    EXPECT_EQ(Form1->Edit1->accessibleDescription(), spoken);

    TActivationCounter activations;
    Form1->installEventFilter(&activations);
    next = 1; // what a new draw would give
    for (const auto& [name, wayBack] : kWaysBack) {
        SCOPED_TRACE(name);
        const int before = activations.Count;
        wayBack();
        EXPECT_TRUE(WaitFor([&] { return activations.Count > before && Form1->isActiveWindow(); }))
            << "the main window was not activated again";
        EXPECT_EQ(QApplication::focusWidget(), Form1->Edit1);
        EXPECT_EQ(draws, 2);
        EXPECT_EQ(Form1->Session().Variant(), 3);
        EXPECT_EQ(Form1->Image1->pixmap().toImage(), picture);
        EXPECT_EQ(Form1->GroupBox1->title(), QStringLiteral("Задание № 2"));
    }
    Form1->removeEventFilter(&activations);
    Form1->Session().SetVariantSource({});
    Form1->Timer1->stop();
}

} // namespace
