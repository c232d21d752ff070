// "Тренировка" driven through its keys: where it opens, the answer read
// while it is typed, Enter's checks, the sample after three wrong ones, its
// progress read and saved, and the menu item that opens it only while no
// quiz task is shown.
#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "quiz/ExplanationView.h"
#include "quiz/Form1.h"
#include "quiz/PracticeChoice.h"
#include "quiz/PracticeFrm.h"
#include "quiz/PracticePreview.h"
#include "quiz/core/AnswerBox.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"
#include "typeset/FormulaView.h"
#include "ui/BitmapResources.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace formulon::engine;

namespace {

// Loading MathJax takes seconds under the sanitizers.
constexpr int kPatience = 30000;

// 'open' opens the modal window; 'during' runs while it is up, then Escape
// closes it.
void While(TPracticeFrm*& window, const std::function<void()>& open,
           const std::function<void()>& during) {
    bool shown = false;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(window && QTest::qWaitForWindowExposed(window));
        shown = true;
        EXPECT_EQ(QApplication::activeModalWidget(), window);
        during();
        QTest::keyClick(window, Qt::Key_Escape);
    });
    open();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(window && window->isVisible());
}

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int row = 0; row < list->count(); ++row)
        rows << list->item(row)->text();
    return rows;
}

class PracticeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        LastErrorText.Set(Utf8ToCp1251("сообщение викторины"));
        window->SetProgressFile([this] { return load; },
                                [this](const TPracticeProgress& progress) {
                                    if (failSave)
                                        throw EInOutError("Disk full", 101);
                                    saved.push_back(progress);
                                    return progress;
                                });
    }
    void TearDown() override {
        EXPECT_EQ(Cp1251ToUtf8(LastErrorText.Read()), "сообщение викторины");
        delete window;
    }
    void Open(const std::function<void()>& during) {
        While(
            window, [this] { window->ShowPractice(nullptr); }, during);
    }
    // Types into the answer box and waits for the preview after the pause.
    void Type(const QString& keys) {
        QTest::keyClicks(window->Edit1, keys);
        EXPECT_TRUE(window->Timer1->isActive()) << "nothing is read before the pause";
        ASSERT_TRUE(WaitFor(
            [this] {
                return !window->Timer1->isActive() &&
                       window->Formula1->State() != TFormulaView::TState::Typesetting;
            },
            kPatience));
    }
    void Enter(const char* answer) {
        window->Edit1->clear();
        QTest::keyClicks(window->Edit1, QString::fromLatin1(answer));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
    }

    TGameSession quiz;
    TPracticeSession practice{quiz};
    TPracticeFrm* window = new TPracticeFrm(practice);
    TPracticeLoad load;
    std::vector<TPracticeProgress> saved;
    bool failSave = false;
};

// Names for a screen reader are checked over AT-SPI (tests/smoke/windows.py).
TEST_F(PracticeWindowTest, OpensOnTheFirstUnsolvedAndARightAnswerOffersTheNext) {
    load.State = TPracticeLoad::TState::Loaded;
    load.Progress.Mark("p11").Solved = load.Progress.Mark("p13").Solved = true;
    Open([this] {
        EXPECT_EQ(QApplication::focusWidget(), window->Edit1);
        EXPECT_EQ(window->Edit1->maxLength(), kAnswerBoxMaxLength);
        EXPECT_EQ(window->Label2->text(), QStringLiteral("Задание № 1, вариант 2: не решено"));
        Enter("cos(y*3-5)");
        EXPECT_EQ(window->Label7->text(), QStringLiteral("Верно! Задание решено."));
        EXPECT_TRUE(window->ListBox1->ShownSolved(1));
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_TRUE(saved[0].Mark("p12").Solved);
        EXPECT_EQ(QApplication::focusWidget(), window->Button3);
        QTest::keyClick(window->Button3, Qt::Key_Return);
        EXPECT_EQ(window->ListBox1->currentRow(), 3) << "1.3 was solved before";
        EXPECT_EQ(QApplication::focusWidget(), window->Edit1);
        EXPECT_TRUE(window->Edit1->text().isEmpty());
        QTest::keyClick(window->ListBox1, Qt::Key_Down);
        EXPECT_EQ(window->Label2->text(), QStringLiteral("Задание № 2, вариант 2: не решено"));
        EXPECT_FALSE(window->Image1->pixmap().isNull());
        QTest::keyClicks(window->Edit1, QStringLiteral("y"));
        window->ListBox1->setFocus();
        QTest::keyClick(window->ListBox1, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), window->Edit1) << "Enter on a task goes on";
        EXPECT_EQ(practice.ChosenMark().WrongChecks, 0) << "and checks nothing";
    });
}

TEST_F(PracticeWindowTest, ReadsTheAnswerAfterAPauseWithItsFirstUnreadablePlaceAndHints) {
    Open([this] {
        Type(QStringLiteral("SIN(Y-Z)"));
        EXPECT_EQ(window->Edit1->text(), QStringLiteral("sin(y-z)"));
        EXPECT_EQ(window->Formula1->State(), TFormulaView::TState::Shown);
        EXPECT_EQ(window->Label5->text() + window->Label6->text(), QStringLiteral("Подсказок нет"));
        window->Edit1->clear();
        Type(QStringLiteral("sin y+2z"));
        EXPECT_EQ(window->Formula1->State(), TFormulaView::TState::Empty);
        EXPECT_TRUE(window->Label5->text().endsWith("<br>Символ 8: пропущен знак умножения: 2*z"));
        EXPECT_EQ(Rows(window->ListBox2),
                  QStringList({QStringLiteral("Символ 5: программа прочла sin(y)+2z; если под "
                                              "синусом y+2z, пишите sin(y+2z)")}));
        // A missing star in each of 70 terms: the first said where the
        // reading stops, 69 hints, fifty shown.
        QString many;
        for (int term = 1; term <= 70; ++term)
            many += QStringLiteral("+%1y").arg(term);
        window->Edit1->setText(many);
        ASSERT_TRUE(WaitFor([this] { return !window->Timer1->isActive(); }, kPatience));
        EXPECT_EQ(Rows(window->ListBox2).mid(49),
                  QStringList({QStringLiteral("Символ 195: пропущен знак умножения: 51*y"),
                               QStringLiteral("… и ещё 19")}));
    });
}

// The trap the preview is for: a minus before a power, kept in school
// notation and boxed there, marked in the answer and told, as after a check.
TEST_F(PracticeWindowTest, MarksTheMinusBeforeAPowerAsThePupilTypes) {
    EXPECT_EQ(MakePreview("10-y^2", 1, 1).Tex, QStringLiteral("10\\boxed{-y^2}"));
    Open([this] {
        Type(QStringLiteral("10-y^2"));
        EXPECT_EQ(window->Formula1->State(), TFormulaView::TState::Shown);
        EXPECT_TRUE(window->Label5->text().contains(QStringLiteral("color:#ff0000\">-</span>")))
            << window->Label5->text().toStdString();
        EXPECT_EQ(Rows(window->ListBox2),
                  QStringList({QStringLiteral("Символ 3: программа прочла 10-y^2 не как "
                                              "вычитание: минус перед степенью она отнесла к "
                                              "основанию и возвела в степень -y")}));
        EXPECT_EQ(window->Label6->text(), QStringLiteral("Подсказки:"));
    });
}

// A damaged file is reported before the window shows; a failed save is
// said in the window, never in a box.
TEST_F(PracticeWindowTest, WrongAnswersAreExplainedInPlaceAndTheSampleComesAfterThreeDifferent) {
    TBoxRecorder boxes;
    load.State = TPracticeLoad::TState::Damaged;
    load.Backup = QStringLiteral("/data/practice.txt.formulon-backup-1");
    failSave = true;
    Open([this] {
        QPushButton* const sample = window->Button2;
        for (const char* answer : {"y+z", "", "y+z", "y*x", "y/0.0"}) {
            EXPECT_FALSE(sample->isEnabled());
            EXPECT_TRUE(sample->toolTip().contains(QStringLiteral("после трёх разных неверных")));
            EXPECT_EQ(sample->accessibleDescription(), sample->toolTip());
            Enter(answer);
        }
        EXPECT_NE(sample->palette().color(QPalette::Disabled, QPalette::ButtonText),
                  sample->palette().color(QPalette::Active, QPalette::ButtonText));
        EXPECT_EQ(practice.ChosenMark().WrongChecks, 4) << "an empty answer is no try";
        EXPECT_EQ(window->Label9->text(), QStringLiteral("Успехи не сохранены: Disk full."));
        EXPECT_EQ(window->Label7->text(), QStringLiteral("Неверно. Разбор ответа:"));
        EXPECT_TRUE(window->View1->Label8->text().startsWith(
            QStringLiteral("Ошибка: Floating point division by zero")));
        ASSERT_TRUE(sample->isEnabled()) << "the same answer twice counts once";
        EXPECT_TRUE(sample->toolTip().isEmpty());
        QTest::mouseClick(sample, Qt::LeftButton);
        EXPECT_EQ(window->Label8->text(), QStringLiteral("Образец: sin(y-z)"));
        EXPECT_TRUE(
            WaitFor([this] { return window->Formula2->State() == TFormulaView::TState::Shown; },
                    kPatience));
        Type(QStringLiteral("y"));
        EXPECT_TRUE(window->Panel2->isVisible()) << "typing again shows the preview";
        EXPECT_FALSE(window->Panel3->isVisible());
    });
    ASSERT_EQ(boxes.Informations.size(), 1);
    EXPECT_TRUE(boxes.Informations[0].contains(load.Backup));
}

// Where an image on white is darker than mid-grey, and how much of it is.
QRect InkBox(const QImage& image, int* inked = nullptr) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                box |= QRect(x, y, 1, 1);
                inked && ++*inked;
            }
    return box;
}

// At each ratio every task's picture is in its room whole (its ink off the
// room's edges), neither black nor lost, and task 4.1 no smaller than 3/5.
TEST(PracticeChoiceTest, ShowsEveryPictureWholeAtEveryRatio) {
    TPracticeChoice list;
    list.LoadPictures();
    const QRect cell = list.visualItemRect(list.item(0));
    EXPECT_GE(cell.width(), TPracticeChoice::ThumbnailSize.width());
    EXPECT_GT(cell.height(), TPracticeChoice::ThumbnailSize.height() + 8) << "and the number";
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0})
        for (int entry = 0; entry < ReferenceFormulas.EntryCount(); ++entry) {
            SCOPED_TRACE(testing::Message() << ratio << " " << entry);
            const QImage image =
                TPracticeChoice::Thumbnail(
                    QString::fromStdString(ReferenceFormulas.PictureName(entry)), ratio)
                    .toImage();
            int inked = 0;
            const QRect ink = InkBox(image, &inked);
            EXPECT_TRUE(image.rect().adjusted(1, 1, -1, -1).contains(ink));
            EXPECT_LT(inked, image.width() * image.height() / 4);
            EXPECT_GT(ink.width(), image.width() / 4);
        }
    const QRect whole = InkBox(LoadBitmapResource(QStringLiteral("p41")));
    EXPECT_GE(InkBox(TPracticeChoice::Thumbnail(QStringLiteral("p41"), 1.0).toImage()).width(),
              whole.width() * 3 / 5);
}

TEST(PracticeMenuTest, OpensOnlyWhileNoQuizTaskIsShown) {
    CreateWindowsOnce();
    EXPECT_EQ(PracticeFrm, nullptr) << "nothing of it is made at start-up";
    EXPECT_EQ(Form1->N11->text(), QStringLiteral("&Тренировка"));
    EXPECT_EQ(Form1->N11->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
    QTest::mouseClick(Form1->Button4, Qt::LeftButton);
    EXPECT_FALSE(Form1->N11->isEnabled());
    QTest::keyClick(Form1, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(PracticeFrm, nullptr) << "never while a game runs";
    Form1->Edit3->setText(QStringLiteral("10"));
    Form1->Edit4->setText(QStringLiteral("1"));
    Form1->Button5->click();
    Form1->Edit1->setText(QString::fromStdString(ReferenceFormula(10, 1)));
    QTest::mouseClick(Form1->Button1, Qt::LeftButton); // won
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1->windowHandle()));
    EXPECT_TRUE(Form1->N11->isEnabled());
    While(
        PracticeFrm, [] { QTest::keyClick(Form1, Qt::Key_T, Qt::ControlModifier); },
        [] { EXPECT_EQ(PracticeFrm->windowHandle()->transientParent(), Form1->windowHandle()); });
    Form1->Timer1->stop();
}

} // namespace
