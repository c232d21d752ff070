// "Разбор ответа" opened the ways a pupil opens it, after a right answer,
// a wrong one, an answer that cannot be read and a raised error; over the
// whole catalogue, nothing in it gives the task's value away.
#include "engine/NumberText.h"
#include "quiz/ExplainFrm.h"
#include "quiz/ExplanationView.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/core/CheckRecord.h"
#include "quiz/core/GameState.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"
#include "typeset/FormulaView.h"
#include "ui/LinkLabel.h"
#include "ui/TextCodec.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace formulon::engine;

namespace {

// Loading MathJax takes seconds under the sanitizers.
constexpr int kPatience = 30000;

class ExplainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        Form2->hide();
        Form1->Session() = TGameSession();
        LastErrorText.Clear();
        Form1->show();
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
        QTest::mouseClick(Form1->Button4, Qt::LeftButton);
        Pick(1, 1); // sin(y-z)
    }
    void TearDown() override { Form1->Timer1->stop(); }

    static void Pick(int task, int variant) {
        Form1->Edit3->setText(QString::number(task));
        Form1->Edit4->setText(QString::number(variant));
        Form1->Button5->click();
    }

    static void Check(const QString& answer) {
        Form1->Edit1->setText(answer);
        QTest::mouseClick(Form1->Button1, Qt::LeftButton);
    }

    // Checks the answer and leaves the verdict window for the main window.
    static void CheckAndGoBack(const QString& answer) {
        Check(answer);
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form2->windowHandle()));
        Form2->BitBtn1->click();
        ASSERT_TRUE(WaitFor([] { return Form1->isActiveWindow(); }));
    }

    // 'open' opens the window, which is modal: 'during' runs while it is
    // up, then Escape closes it. A showing that does not end is reported.
    static void ExplainWhile(const std::function<void()>& open,
                             const std::function<void()>& during) {
        bool shown = false;
        QTimer::singleShot(0, ExplainFrm, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(ExplainFrm));
            shown = true;
            EXPECT_EQ(QApplication::activeModalWidget(), ExplainFrm);
            during();
            QTest::keyClick(ExplainFrm, Qt::Key_Escape);
        });
        QTimer::singleShot(4 * kPatience, ExplainFrm, [] { ExplainFrm->reject(); });
        open();
        EXPECT_TRUE(shown);
        EXPECT_FALSE(ExplainFrm->isVisible());
    }

    static TExplanationView* View() { return ExplainFrm->View1; }

    static bool WaitForTheFormula() {
        return WaitFor(
            [] { return View()->Formula1->State() != TFormulaView::TState::Typesetting; },
            kPatience);
    }

    static QStringList Rows(const QListWidget* list) {
        QStringList rows;
        for (int row = 0; row < list->count(); ++row)
            rows << list->item(row)->text();
        return rows;
    }
    static QStringList Steps() { return Rows(View()->ListBox1); }
    static QStringList Hints() { return Rows(View()->ListBox2); }
};

// Every text a pupil or a screen reader can meet in the window: what the
// controls tell a screen reader (a label's text, an edit box's value), their
// tooltips, and each line of the lists, shown or scrolled away.
void CollectTexts(QAccessibleInterface* node, QStringList& texts, int depth = 0) {
    if (node == nullptr || depth > 12)
        return;
    for (const QAccessible::Text kind :
         {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help})
        texts << node->text(kind);
    if (auto* widget = qobject_cast<QWidget*>(node->object()))
        texts << widget->toolTip();
    if (auto* list = qobject_cast<QListWidget*>(node->object()))
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text() << list->item(row)->toolTip();
    for (int i = 0; i < node->childCount(); ++i)
        CollectTexts(node->child(i), texts, depth + 1);
}

QStringList TextsOnScreen() {
    QStringList texts;
    CollectTexts(QAccessible::queryAccessibleInterface(ExplainFrm), texts);
    return texts;
}

TEST_F(ExplainWindowTest, TheMenuItemWaitsForTheFirstGame) {
    TGameSession session;
    TForm1 fresh(session);
    EXPECT_FALSE(fresh.N10->isEnabled());
    EXPECT_EQ(fresh.N10->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(fresh.N10->text(), QStringLiteral("&Разбор ответа"));
    EXPECT_TRUE(fresh.N9->actions().contains(fresh.N10));
}

// Never the check of the game before.
TEST_F(ExplainWindowTest, ANewGameHasNoCheckToExplainYet) {
    CheckAndGoBack(QStringLiteral("y"));
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    ExplainWhile([] { QTest::keyClick(Form1, Qt::Key_F1); },
                 [] {
                     EXPECT_EQ(ExplainFrm->Label1->text(),
                               QStringLiteral("В этой игре проверок ещё не было"));
                     EXPECT_FALSE(ExplainFrm->View1->isVisible());
                     EXPECT_FALSE(ExplainFrm->Image1->isVisible());
                 });
}

TEST_F(ExplainWindowTest, F1InTheVerdictWindowExplainsARightAnswer) {
    Check(QStringLiteral("-sin(z-y)"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form2->windowHandle()));
    ExplainWhile(
        [] { QTest::keyClick(Form2, Qt::Key_F1); },
        [] {
            EXPECT_EQ(ExplainFrm->windowTitle(), QStringLiteral("Разбор ответа"));
            EXPECT_EQ(ExplainFrm->windowHandle()->transientParent(), Form2->windowHandle());
            EXPECT_EQ(ExplainFrm->Label1->text(), QStringLiteral("Задание № 1, вариант 1"));
            EXPECT_FALSE(ExplainFrm->Image1->pixmap().isNull());
            const QStringList steps = Steps();
            ASSERT_GE(steps.size(), 2);
            EXPECT_EQ(steps.first(), QStringLiteral("Углы программа берёт в градусах: sin(30) — "
                                                    "это синус 30°, а не 30 радиан"));
            EXPECT_EQ(steps[1], QStringLiteral("1. Подставили y = 7, z = 11: -sin((11)-(7))"));
            EXPECT_EQ(View()->Label5->text(), QStringLiteral("-0,0697564737441253"));
            EXPECT_EQ(View()->Label3->text(), QStringLiteral("Подсказок нет"));
            ASSERT_TRUE(WaitForTheFormula());
            const QPixmap typeset = View()->Formula1->Picture()->pixmap();
            EXPECT_FALSE(typeset.isNull());
            EXPECT_EQ(typeset.devicePixelRatio(), ExplainFrm->devicePixelRatioF())
                << "drawn for the screen's density";
            EXPECT_EQ(View()->Formula1->Scale(), 1) << "a short answer at its own size";
        });
    EXPECT_TRUE(Form2->isVisible()) << "the verdict window stays";
}

// After a wrong answer the verdict window links to it from the strip below
// its button, over nothing else; Tab and Enter reach the link.
TEST_F(ExplainWindowTest, TheVerdictWindowLinksAWrongAnswerToIt) {
    Check(QStringLiteral("y"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form2->windowHandle()));
    const QRect link = Form2->Label4->geometry();
    ASSERT_TRUE(Form2->Label4->isVisible());
    EXPECT_TRUE(Form2->rect().contains(link));
    EXPECT_GT(link.top(), Form2->BitBtn1->geometry().bottom());
    for (QWidget* other : Form2->findChildren<QWidget*>())
        EXPECT_TRUE(other == Form2->Label4 || !other->geometry().intersects(link));
    ExplainWhile(
        [] {
            QTest::keyClick(Form2->BitBtn1, Qt::Key_Tab);
            ASSERT_TRUE(Form2->Label4->hasFocus());
            QTest::keyClick(Form2->Label4, Qt::Key_Return);
        },
        [] { EXPECT_EQ(ExplainFrm->windowHandle()->transientParent(), Form2->windowHandle()); });
}

TEST_F(ExplainWindowTest, AWrongAnswerShowsTheComparisonHintsAndTheMessage) {
    struct Row {
        QString answer;
        QStringList hints; // the hints and the note, in order
        std::vector<int> marks;
        QString unreadable; // in place of the typeset answer
        QString message;
    } rows[] = {
        // Why the answer cannot be read is said once, in place of its picture.
        {QStringLiteral("2y"),
         {},
         {2},
         QStringLiteral("Символ 2: пропущен знак умножения: 2*y"),
         {}},
        {QStringLiteral("y-z^2"),
         {QStringLiteral("Символ 2: программа прочла y-z^2 не как вычитание: минус перед степенью "
                         "она отнесла к основанию и возвела в степень -z")},
         {2},
         {},
         {}},
        {QStringLiteral("sin(y-z"),
         {},
         {4},
         QStringLiteral("Символ 4: скобка «(» не закрыта: допишите «)»"),
         QStringLiteral("Сообщение: Не хватает скобки \")\"")},
        {QString(), {}, {1}, QStringLiteral("Ответ пуст"), {}},
        {QStringLiteral("sin"),
         {},
         {4},
         QStringLiteral("В конце ответа: аргумент функции пишут в скобках: sin(x)"),
         {}},
    };
    for (const Row& row : rows) {
        CheckAndGoBack(row.answer);
        ExplainWhile([] { Form1->N10->trigger(); },
                     [&] {
                         SCOPED_TRACE(row.answer.toStdString());
                         EXPECT_TRUE(
                             View()->Label7->text().startsWith(QStringLiteral("не совпадает")));
                         EXPECT_EQ(Hints(), row.hints);
                         EXPECT_EQ(View()->MarkedPlaces(), row.marks);
                         EXPECT_EQ(View()->Memo1->extraSelections().size(), row.marks.size());
                         EXPECT_EQ(View()->Memo1->toPlainText().trimmed(), row.answer);
                         EXPECT_EQ(View()->Label2->isVisible(), !row.unreadable.isEmpty());
                         EXPECT_EQ(View()->Formula1->isVisible(), row.unreadable.isEmpty());
                         EXPECT_EQ(View()->Label2->text(), row.unreadable);
                         EXPECT_EQ(View()->Label8->text(), row.message);
                     });
    }
}

// A long answer: the window is filled without waiting for the typesetter
// (its answer can only arrive through the event loop); the typed answer is
// scrolled to its earliest marked place, and to a hint's place when the hint
// is chosen; the steps wrap; the typeset answer is drawn smaller to fit;
// each opening starts at the top.
TEST_F(ExplainWindowTest, ALongAnswerScrollsToItsPlacesWrapsAndFits) {
    const QString answer =
        QStringLiteral("z^-2+") + QStringLiteral("(y+z)/2+").repeated(12) + QStringLiteral("y^-2");
    CheckAndGoBack(answer);
    ExplainFrm->FormShow();
    EXPECT_EQ(View()->Formula1->Picture()->text(), QStringLiteral("Формула набирается…"));
    for (int opening = 0; opening < 2; ++opening) {
        ExplainWhile(
            [] { Form1->N10->trigger(); },
            [&] {
                QScrollBar* sideways = View()->Memo1->horizontalScrollBar();
                EXPECT_EQ(View()->MarkedPlaces(), std::vector<int>({3, int(answer.size()) - 1}));
                EXPECT_EQ(View()->Memo1->textCursor().position(), 2);
                EXPECT_EQ(sideways->value(), 0);
                View()->ListBox2->setCurrentRow(1);
                EXPECT_EQ(View()->Memo1->textCursor().position(), answer.size() - 2);
                EXPECT_GT(sideways->value(), 0) << "scrolled to the hint's place";
                EXPECT_EQ(View()->ListBox1->verticalScrollBar()->value(), 0);
                EXPECT_EQ(View()->ListBox1->horizontalScrollBar()->maximum(), 0);
                const QListWidget* steps = View()->ListBox1;
                EXPECT_GT(steps->visualItemRect(steps->item(0)).height(),
                          2 * steps->fontMetrics().height())
                    << "the first step wraps";
                ASSERT_TRUE(WaitForTheFormula());
                EXPECT_LT(View()->Formula1->Scale(), 1);
                EXPECT_LE(View()->Formula1->Picture()->pixmap().deviceIndependentSize().width(),
                          View()->Formula1->viewport()->width());
                View()->ListBox1->verticalScrollBar()->setValue(
                    View()->ListBox1->verticalScrollBar()->maximum());
            });
    }
}

TEST_F(ExplainWindowTest, F1InTheMainWindowExplainsARaisedError) {
    TBoxRecorder boxes;
    Check(QStringLiteral("2*x"));
    ASSERT_EQ(boxes.Errors.size(), 1);
    ASSERT_TRUE(Form1->N10->isEnabled());
    ExplainWhile(
        [] { QTest::keyClick(Form1, Qt::Key_F1); },
        [] {
            EXPECT_EQ(ExplainFrm->windowHandle()->transientParent(), Form1->windowHandle());
            const QString error = QStringLiteral("'x' is not a valid floating point value.");
            const QString meaning = QStringLiteral(
                "«x» — не число: программа знает только числа, переменные y и z и функции со "
                "скобками");
            EXPECT_EQ(Steps().mid(2),
                      QStringList({QStringLiteral("3. Здесь вычисление прервано ошибкой")}));
            EXPECT_EQ(View()->Label5->text(), QStringLiteral("не вычислено"));
            EXPECT_EQ(View()->Label7->text(),
                      QStringLiteral("значение ответа не вычислено: вычисление прервано"));
            EXPECT_EQ(View()->Label8->text(), QStringLiteral("Ошибка: ") + error + "\n" + meaning);
        });
    EXPECT_EQ(boxes.Errors.size(), 1) << "nothing is evaluated again";
}

// Each variant checked with a wrong answer (y and z swapped) and with its
// own formula: after the wrong one nothing a pupil or a screen reader meets
// holds the task's value text or formula; the right one "совпадает", with
// no hint and no note.
class ExplainCatalogueTest : public ExplainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(ExplainCatalogueTest, NeverGivesTheTaskAway) {
    const int task = GetParam();
    for (int variant = 1; variant <= 3; ++variant) {
        const QString formula = QString::fromStdString(ReferenceFormula(task, variant));
        QString swapped = formula;
        for (QChar& c : swapped)
            c = c == 'y' ? QChar('z') : c == 'z' ? QChar('y') : c;
        for (const QString& answer : {swapped, formula}) {
            QTest::mouseClick(Form1->Button4, Qt::LeftButton); // a win would end the game
            Pick(task, variant);
            CheckAndGoBack(answer);
            ExplainWhile(
                [] { Form1->N10->trigger(); },
                [&] {
                    SCOPED_TRACE(answer.toStdString());
                    ASSERT_TRUE(WaitForTheFormula());
                    if (answer == formula) {
                        EXPECT_EQ(View()->Label7->text(), QStringLiteral("совпадает"));
                        EXPECT_TRUE(Hints().isEmpty());
                        EXPECT_TRUE(View()->MarkedPlaces().empty());
                        return;
                    }
                    const QString value = FromCp1251(Form1->Session().LastCheck()->ReferenceValue);
                    EXPECT_TRUE(View()->Label7->text().startsWith(QStringLiteral("не совпадает")));
                    for (const QString& text : TextsOnScreen()) {
                        EXPECT_FALSE(text.contains(value)) << text.toStdString();
                        EXPECT_FALSE(text.contains(formula)) << text.toStdString();
                    }
                });
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tasks, ExplainCatalogueTest, ::testing::Range(1, 11));

} // namespace
