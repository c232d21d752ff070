// The keyboard in every window: Tab follows the reading order, and Enter
// on a focused button presses it as Space does. One row per window.
#include "champions/Form3.h"
#include "quiz/ExplainFrm.h"
#include "quiz/ExplanationView.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/PracticeChoice.h"
#include "quiz/PracticeFrm.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"
#include "typeset/FormulaView.h"
#include "ui/LinkLabel.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using TWidgets = std::vector<QWidget*>;

TGameSession quiz;
TPracticeSession practice{quiz};
TPracticeFrm* Practice() {
    static TPracticeFrm* window = new TPracticeFrm(practice);
    return window;
}

// Shows the window active with the keys on 'first'; returns 'first'.
template <class T> T* Keys(QWidget* window, T* first) {
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    first->setFocus();
    return first;
}

void StartGame() {
    Keys(Form1, Form1->Edit2);
    Form1->Button4->click();
}

// A wrong check leaves the verdict window up, its link shown. Each reading
// of its clock is a pause later: Enter is never too soon.
void WrongVerdict() {
    StartGame();
    Form2->SetClock([] {
        static std::int64_t now = 0;
        return now += TForm2::EnterPauseMs;
    });
    Form1->Edit1->setText(QStringLiteral("y"));
    Form1->Button1->click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form2));
}

QPushButton* Explained() {
    WrongVerdict();
    ExplainFrm->FormShow(); // its controls come with it
    Keys(ExplainFrm, ExplainFrm->ScrollBox2);
    return ExplainFrm->Button1;
}

// Each opens its window with the keys on the first control of its order.
TWidgets MainOrder() {
    StartGame();
    Form1->Edit2->setFocus();
    return {Form1->Edit2, Form1->Button4, Form1->Edit1, Form1->Button1};
}
TWidgets VerdictOrder() {
    WrongVerdict();
    return {Form2->BitBtn1, Form2->Label4};
}
TWidgets ChampionsOrder() {
    return {Keys(Form3, Form3->StringGrid1), Form3->BitBtn1};
}
TWidgets PreviewOrder() {
    TPracticeFrm* w = Practice();
    Keys(w, w->Edit1)->setText(QStringLiteral("sin y")); // a hint, the answer typeset
    w->Timer1Timer();
    w->ListBox1->setFocus();
    return {w->ListBox1, w->Edit1, w->Button1, w->Formula1, w->ListBox2, w->Button4};
}
TWidgets ExplainOrder() {
    Explained();
    TExplanationView* v = ExplainFrm->View1;
    return {ExplainFrm->ScrollBox2, v->Memo1, v->Formula1, v->ListBox1, ExplainFrm->Button1};
}

QPushButton* Checking() {
    StartGame();
    Form1->Edit1->setText(QStringLiteral("y"));
    return Form1->Button1;
}
QPushButton* PracticeChecking() {
    Keys(Practice(), Practice()->Edit1)->setText(QStringLiteral("y"));
    return Practice()->Button1;
}

struct TTabRow {
    const char* window;
    TWidgets (*order)(); // opens it; the controls Tab reaches, round to the first
};

struct TEnterRow {
    const char* button;
    QPushButton* (*open)();
    bool (*pressed)();
};

void PrintTo(const TTabRow& row, std::ostream* out) {
    *out << row.window;
}
void PrintTo(const TEnterRow& row, std::ostream* out) {
    *out << row.button;
}

template <class TRow> class TWindowsTest : public ::testing::TestWithParam<TRow> {
protected:
    void SetUp() override { CreateWindowsOnce(); }
};
using TabOrderTest = TWindowsTest<TTabRow>;
using EnterTest = TWindowsTest<TEnterRow>;

} // namespace

TEST_P(TabOrderTest, FollowsTheReadingOrder) {
    const TWidgets order = GetParam().order();
    for (std::size_t i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* expected = order[i % order.size()];
        EXPECT_EQ(QApplication::focusWidget(), expected)
            << i << ": " << expected->accessibleName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, TabOrderTest,
                         ::testing::Values(TTabRow{"main", MainOrder},
                                           TTabRow{"verdict", VerdictOrder},
                                           TTabRow{"champions", ChampionsOrder},
                                           TTabRow{"practice_preview", PreviewOrder},
                                           TTabRow{"explanation", ExplainOrder}));

TEST_P(EnterTest, PressesTheFocusedButton) {
    QPushButton* button = GetParam().open();
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_TRUE(GetParam().pressed()) << GetParam().button;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Buttons, EnterTest, ::testing::Values(
    TEnterRow{"main_start", [] { return Keys(Form1, Form1->Button4); }, [] { return Form1->GroupBox1->isVisible(); }},
    TEnterRow{"main_check", Checking, [] { return Form2->isVisible(); }},
    TEnterRow{"verdict_next", [] { WrongVerdict(); return Form2->BitBtn1; }, [] { return !Form2->isVisible(); }},
    TEnterRow{"champions_close", [] { return Keys(Form3, Form3->BitBtn1); }, [] { return !Form3->isVisible(); }},
    TEnterRow{"practice_check", PracticeChecking, [] { return practice.ChosenMark().WrongChecks == 1; }},
    TEnterRow{"practice_close", [] { return Keys(Practice(), Practice()->Button4); }, [] { return !Practice()->isVisible(); }},
    TEnterRow{"explanation_close", Explained, [] { return !ExplainFrm->isVisible(); }}));
// clang-format on
