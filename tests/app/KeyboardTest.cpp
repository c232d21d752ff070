// The keyboard in every window: Tab follows the reading order, and Enter
// on a focused button presses it as Space does. One row per window.
#include "app/shell/FormulaView.h"
#include "app/shell/LinkLabel.h"
#include "champions/Form3.h"
#include "quiz/ExplainFrm.h"
#include "quiz/ExplanationView.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/PracticeChoice.h"
#include "quiz/PracticeFrm.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"

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

#include <functional>
#include <vector>

namespace {

struct TTabRow {
    const char* window;
    std::function<void()> open;                   // shows it, the keys on the first control
    std::function<std::vector<QWidget*>()> order; // the controls Tab reaches, round to the first
};

struct TEnterRow {
    const char* button;
    std::function<QPushButton*()> open; // shows its window, returns the button
    std::function<bool()> pressed;
};

TGameSession quiz;
TPracticeSession practice{quiz};
TPracticeFrm* Practice() {
    static TPracticeFrm* window = new TPracticeFrm(practice);
    return window;
}

void ShowActive(QWidget* window, QWidget* first) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    first->setFocus();
}

void StartGame() {
    CreateWindowsOnce();
    FillReferenceFormulas();
    ShowActive(Form1, Form1->Edit2);
    Form1->Button4->click();
}

// A wrong check leaves the verdict window up, its link shown.
// Each reading of its clock is a pause later: Enter is never too soon.
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

void PracticeChecked() {
    FillReferenceFormulas();
    ShowActive(Practice(), Practice()->ListBox1);
    Practice()->Edit1->setText(QStringLiteral("sin y"));
    Practice()->Button1->click();
}

void PrintTo(const TTabRow& row, std::ostream* out) {
    *out << row.window;
}
void PrintTo(const TEnterRow& row, std::ostream* out) {
    *out << row.button;
}

class TabOrderTest : public ::testing::TestWithParam<TTabRow> {};
class EnterTest : public ::testing::TestWithParam<TEnterRow> {};

} // namespace

TEST_P(TabOrderTest, FollowsTheReadingOrder) {
    GetParam().open();
    const std::vector<QWidget*> order = GetParam().order();
    for (std::size_t i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* expected = order[i % order.size()];
        EXPECT_EQ(QApplication::focusWidget(), expected)
            << i << ": " << expected->accessibleName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TabOrderTest,
    ::testing::Values(TTabRow{"main",
                              [] {
                                  StartGame();
                                  Form1->Edit2->setFocus();
                              },
                              [] {
                                  return std::vector<QWidget*>{Form1->Edit2, Form1->Button4,
                                                               Form1->Edit1, Form1->Button1};
                              }},
                      TTabRow{"verdict", [] { WrongVerdict(); },
                              [] {
                                  return std::vector<QWidget*>{Form2->BitBtn1, Form2->Label4};
                              }},
                      TTabRow{"champions",
                              [] {
                                  CreateWindowsOnce();
                                  ShowActive(Form3, Form3->StringGrid1);
                              },
                              [] {
                                  return std::vector<QWidget*>{Form3->StringGrid1, Form3->BitBtn1};
                              }},
                      TTabRow{"practice_preview",
                              [] {
                                  FillReferenceFormulas();
                                  ShowActive(Practice(), Practice()->ListBox1);
                                  Practice()->Edit1->setText(QStringLiteral("sin y"));
                                  Practice()->Timer1Timer();
                              },
                              [] {
                                  TPracticeFrm* w = Practice();
                                  return std::vector<QWidget*>{w->ListBox1, w->Edit1,
                                                               w->Button1,  w->Formula1,
                                                               w->ListBox2, w->Button4};
                              }},
                      TTabRow{"practice_wrong_check",
                              [] {
                                  PracticeChecked();
                                  Practice()->ListBox1->setFocus();
                              },
                              [] {
                                  TPracticeFrm* w = Practice();
                                  TExplanationView* v = w->View1;
                                  return std::vector<QWidget*>{
                                      w->ListBox1,   w->Edit1,    w->Button1,
                                      w->ScrollBox1, v->Memo1,    v->Formula1,
                                      v->ListBox2,   v->ListBox1, w->Button4};
                              }},
                      TTabRow{"explanation",
                              [] {
                                  WrongVerdict();
                                  ExplainFrm->FormShow();
                                  ShowActive(ExplainFrm, ExplainFrm->ScrollBox2);
                              },
                              [] {
                                  TExplanationView* v = ExplainFrm->View1;
                                  return std::vector<QWidget*>{ExplainFrm->ScrollBox2, v->Memo1,
                                                               v->Formula1, v->ListBox1,
                                                               ExplainFrm->Button1};
                              }}));

TEST_P(EnterTest, PressesTheFocusedButton) {
    QPushButton* button = GetParam().open();
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_TRUE(GetParam().pressed()) << GetParam().button;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, EnterTest,
    ::testing::Values(TEnterRow{"main_start",
                                [] {
                                    CreateWindowsOnce();
                                    ShowActive(Form1, Form1->Button4);
                                    return Form1->Button4;
                                },
                                [] { return Form1->GroupBox1->isVisible(); }},
                      TEnterRow{"main_check",
                                [] {
                                    StartGame();
                                    Form1->Edit1->setText(QStringLiteral("y"));
                                    return Form1->Button1;
                                },
                                [] { return Form2->isVisible(); }},
                      TEnterRow{"verdict_next",
                                [] {
                                    WrongVerdict();
                                    return Form2->BitBtn1;
                                },
                                [] { return !Form2->isVisible() && Form1->isVisible(); }},
                      TEnterRow{"champions_close",
                                [] {
                                    CreateWindowsOnce();
                                    ShowActive(Form3, Form3->BitBtn1);
                                    return Form3->BitBtn1;
                                },
                                [] { return !Form3->isVisible(); }},
                      TEnterRow{"practice_check",
                                [] {
                                    FillReferenceFormulas();
                                    ShowActive(Practice(), Practice()->Edit1);
                                    Practice()->Edit1->setText(QStringLiteral("y"));
                                    return Practice()->Button1;
                                },
                                [] { return practice.ChosenMark().WrongChecks == 1; }},
                      TEnterRow{"practice_close",
                                [] {
                                    ShowActive(Practice(), Practice()->Button4);
                                    return Practice()->Button4;
                                },
                                [] { return !Practice()->isVisible(); }},
                      TEnterRow{"explanation_close",
                                [] {
                                    WrongVerdict();
                                    ExplainFrm->FormShow();
                                    ShowActive(ExplainFrm, ExplainFrm->Button1);
                                    return ExplainFrm->Button1;
                                },
                                [] { return !ExplainFrm->isVisible(); }}));
