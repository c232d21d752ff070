// "Крупно и контрастно": every text of every window against its ground in
// both looks, and the layout's look back exactly as it was.
#include "ui/Look.h"
#include "app/FTAbout/FTAbout.h"
#include "champions/Form3.h"
#include "quiz/ExplainFrm.h"
#include "quiz/Form1.h"
#include "quiz/Form2.h"
#include "quiz/PracticeChoice.h"
#include "quiz/PracticeFrm.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

// What a text is drawn in and over: a label over the nearest filled ground
// behind it, a box or a list over its base, a button over its face.
struct TPair {
    QColor Text, Ground;
};

TPair PairOf(const QWidget* widget) {
    const QPalette::ColorGroup group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& palette = widget->palette();
    if (qobject_cast<const QAbstractButton*>(widget))
        return {palette.color(group, QPalette::ButtonText), palette.color(group, QPalette::Button)};
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractScrollArea*>(widget))
        return {palette.color(group, QPalette::Text), palette.color(group, QPalette::Base)};
    const QWidget* ground = widget;
    while (!ground->autoFillBackground() && !ground->isWindow())
        ground = ground->parentWidget();
    return {palette.color(group, QPalette::WindowText), ground->palette().color(QPalette::Window)};
}

bool ShowsText(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty() && label->pixmap().isNull();
    if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        return !box->title().isEmpty();
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget);
}

using TSnapshot = std::tuple<QPalette, QFont, QRect>;

class LookTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateWindowsOnce();
        Form1->show();
        QTest::mouseClick(Form1->Button4, Qt::LeftButton); // the task box shows
        Form1->Edit1->setText(QStringLiteral("y"));
        Form1->Button1->click(); // a wrong verdict, its link shown
        Form3->show();
        AboutFrm->show();
        ExplainFrm->FormShow();
        ExplainFrm->show();
        practice->show();
        practice->Edit1->setText(QStringLiteral("sin y")); // a hint, the answer typeset
        practice->Timer1Timer();
        windows = {Form1, Form2, Form3, AboutFrm, ExplainFrm, practice};
    }
    void TearDown() override {
        SetLook(TLook::Layout);
        for (QWidget* window : windows)
            window->hide();
        delete practice;
    }

    std::vector<TSnapshot> Snapshot() const {
        std::vector<TSnapshot> all;
        for (QWidget* window : windows)
            for (const QWidget* w : window->findChildren<QWidget*>())
                all.emplace_back(w->palette(), w->font(), w->geometry());
        return all;
    }

    TGameSession quiz;
    TPracticeSession session{quiz};
    TPracticeFrm* practice = new TPracticeFrm(session);
    std::vector<QWidget*> windows;
};

// Named for the figures: what the layout's colours give, and at
// least what the contrast look must give.
struct TContrastRow {
    const char* what;
    QWidget* (*widget)();
    double layout, least;
};

} // namespace

TEST_F(LookTest, EveryTextIsFarFromItsGroundInTheContrastLook) {
    SetLook(TLook::LargeContrast);
    for (QWidget* window : windows)
        for (const QWidget* widget : window->findChildren<QWidget*>())
            if (widget->isVisible() && ShowsText(widget)) {
                const TPair pair = PairOf(widget);
                EXPECT_GE(ContrastRatio(pair.Text, pair.Ground), 4.5)
                    << widget->metaObject()->className() << " in "
                    << window->windowTitle().toStdString();
            }
    // clang-format off
    const TContrastRow rows[] = {
        {"verdict", [] () -> QWidget* { return Form2->Label1; }, 2.2, 7},
        {"answer box", [] () -> QWidget* { return Form1->Edit1; }, 8.4, 7},
        {"\"Проверить\"", [] () -> QWidget* { return Form1->Button1; }, 7.5, 7},
        {"\"Лучшие время:\"", [] () -> QWidget* { return Form1->Label2; }, 3.7, 4.5},
        {"\"Введите имя:\"", [] () -> QWidget* { return Form1->Label8; }, 2.1, 4.5},
        {"\"Список лучших результатов:\"", [] () -> QWidget* { return Form3->Label1; }, 3.7, 4.5},
        {"\"Программа:\"", [] () -> QWidget* { return AboutFrm->Label4; }, 1.25, 4.5},
        {"\"О программе\"", [] () -> QWidget* { return AboutFrm->Label1; }, 8.0, 4.5},
    };
    // clang-format on
    for (const TContrastRow& row : rows) {
        SetLook(TLook::Layout);
        const TPair layout = PairOf(row.widget());
        SetLook(TLook::LargeContrast);
        const TPair contrast = PairOf(row.widget());
        EXPECT_NEAR(ContrastRatio(layout.Text, layout.Ground), row.layout, 0.1) << row.what;
        EXPECT_GE(ContrastRatio(contrast.Text, contrast.Ground), row.least) << row.what;
    }
}

// Back in the layout's look every widget has the palette, font and place it
// had before the contrast look ever came; the choice is remembered.
TEST_F(LookTest, TheLayoutsLookComesBackExactly) {
    const std::vector<TSnapshot> before = Snapshot();
    Form1->N12->trigger();
    EXPECT_EQ(StoredLook(), TLook::LargeContrast);
    EXPECT_GT(Form1->Button1->font().pixelSize(), 13) << "a text with room grows";
    Form1->N12->trigger();
    EXPECT_EQ(StoredLook(), TLook::Layout);
    const std::vector<TSnapshot> after = Snapshot();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(after[i] == before[i]) << "widget " << i;
}
