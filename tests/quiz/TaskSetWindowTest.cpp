// A teacher's set in the windows: the main window names it, waits with
// "Готовлю задания…" until its pictures are made, then plays its tasks with
// its pictures; "Тренировка" offers it beside the standard set and, when a
// TeX does not typeset, says which line and goes back to the standard set.
#include "quiz/Form1.h"
#include "quiz/PracticeChoice.h"
#include "quiz/PracticeFrm.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/support/TestSupport.h"
#include "typeset/TaskPictureSet.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kPatience = 30000; // loading MathJax takes seconds under the sanitizers

std::shared_ptr<const TTaskSet> Set(const char* lines) {
    return std::get<std::shared_ptr<const TTaskSet>>(ReadTaskSet(lines, "two.tasks"));
}

QStringList Texs(const TTaskSet& set) {
    QStringList texs;
    for (const TTaskRow& row : set.Table().Rows())
        texs << QString::fromUtf8(row.Tex.data(), static_cast<qsizetype>(row.Tex.size()));
    return texs;
}

TEST(TaskSetWindow, TheMainWindowWaitsForTheSetsPicturesThenPlaysIt) {
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    const auto set = Set("% Набор: Две задачи\nP11  2*y+z  2y+z\nP21  sin(y)  \\sin y\n");
    TGameSession session;
    TForm1 window(session);
    TTaskPictureSet pictures(Texs(*set), window.devicePixelRatioF());
    session.PlayTasks(set->Table());
    window.SetTaskPictures(TTaskPictures(set, &pictures));
    window.ShowPreparing(true);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Formulon — Две задачи"));
    EXPECT_EQ(window.Label8->text(), QStringLiteral("Готовлю задания…"));
    window.Button4->click();
    EXPECT_EQ(session.TaskNo(), 0) << "no game before the pictures are made";
    pictures.Load();
    ASSERT_TRUE(WaitFor([&] { return pictures.Complete(); }, kPatience));
    window.ShowPreparing(false);
    window.Button4->click();
    ASSERT_EQ(session.TaskNo(), 1);
    EXPECT_EQ(window.Image1->pixmap().deviceIndependentSize(), pictures.Size(0));
    EXPECT_FALSE(window.Image1->accessibleDescription().isEmpty());
    window.Edit1->setText(QStringLiteral("z+2*y"));
    window.Button1->click();
    EXPECT_EQ(session.LastOutcome()->Verdict, TVerdict::Right);
}

struct TPracticeRow {
    const char* Name;
    const char* Lines;
    QStringList Rows;    // the list once the set is chosen; none: the standard set's
    const char* Refusal; // what the box says of a set refused
};

class PracticeSetTest : public testing::TestWithParam<TPracticeRow> {};

TEST_P(PracticeSetTest, ChoosesTheSetOrSaysWhyNot) {
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    TBoxRecorder boxes;
    TGameSession quiz;
    TPracticeSession practice(quiz);
    TPracticeFrm window(practice);
    window.SetTaskSets({StandardTaskSet(), Set(GetParam().Lines)});
    EXPECT_TRUE(window.ComboBox1->isVisibleTo(&window));
    window.ChooseSet(1);
    const auto rows = [&window] {
        QStringList rows;
        for (int row = 0; row < window.ListBox1->count(); ++row)
            rows << window.ListBox1->item(row)->text();
        return rows;
    };
    const bool refused = GetParam().Refusal != nullptr;
    const QStringList expected = refused ? rows() : GetParam().Rows; // the standard set's
    ASSERT_TRUE(WaitFor(
        [&] { return rows() == expected && boxes.Informations.isEmpty() != refused; }, kPatience))
        << rows().join(' ').toStdString();
    if (GetParam().Refusal) {
        ASSERT_EQ(boxes.Informations.size(), 1);
        EXPECT_TRUE(boxes.Informations[0].contains(QString::fromUtf8(GetParam().Refusal)))
            << boxes.Informations[0].toStdString();
        EXPECT_EQ(window.ComboBox1->count(), 1);
    } else {
        EXPECT_EQ(practice.SetName(), "two");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PracticeSetTest,
    testing::Values(TPracticeRow{"Typeset",
                                 "P11  y+z  y+z\nP12  y-z  y-z\nP21  y*z  yz\n",
                                 {"1.1", "1.2", "2.1"},
                                 nullptr},
                    TPracticeRow{"Refused",
                                 "P11  y+z  y+z\n% a comment\nP21  y*z  \\frac{y\n",
                                 {},
                                 "строка 3: TeX картинки не набирается"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
