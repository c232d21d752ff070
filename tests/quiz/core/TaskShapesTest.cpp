// The table decides the quiz's shape: the standard table's ten tasks of
// three variants, and a table of four variants of one task and two of
// another through the catalogue, the draw, a game and practice.
#include "tests/engine/EngineTestSupport.h"

#include "quiz/core/GameSession.h"
#include "quiz/core/Practice.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/quiz/core/FreshQuiz.h"
#include "tests/quiz/core/ShapesTable.h"

#include <set>
#include <tuple>

namespace {

constexpr TTaskTable kShapes{kShapesTasks};

// Entries of the shapes table, -1 for none; the standard table's are in
// TaskCatalogueTest.
TEST(TaskShapes, TheTableGivesTheCountsAndTheEntries) {
    EXPECT_EQ(ReferenceFormulas.TaskCount(), 10);
    for (int task = 1; task <= 10; ++task)
        EXPECT_EQ(ReferenceFormulas.VariantCount(task), 3) << task;
    EXPECT_EQ(kShapes.TaskCount(), 2);
    EXPECT_EQ(kShapes.VariantCount(1), 4);
    EXPECT_EQ(kShapes.VariantCount(2), 2);
    for (const auto& [task, variant, entry] :
         {std::tuple{1, 4, 3}, {2, 1, 4}, {2, 2, 5}, {1, 5, -1}, {2, 3, -1}, {3, 1, -1}})
        EXPECT_EQ(kShapes.Entry(task, variant).value_or(-1), entry) << task << '.' << variant;
    EXPECT_EQ(kShapes.PictureName(3), "p14");
    EXPECT_EQ(kShapes.ReferenceFormula(1, 4), "y*z");
}

TEST(TaskShapes, TheDrawReachesEveryVariantOfTheTaskItIsToldAndNoOther) {
    TVariantDraw draw(kShapes);
    draw.Seed();
    std::set<int> seen[3];
    for (int i = 0; i < 400; ++i)
        for (const int task : {1, 2})
            seen[task].insert(draw.Draw(task));
    EXPECT_EQ(seen[1], (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(seen[2], (std::set<int>{1, 2}));
}

// Won after the table's last task, each variant drawn for its own task.
TEST(TaskShapes, AGameEndsAfterTheLastTaskOfItsTable) {
    StartFreshQuiz();
    TGameSession game(kShapes);
    std::string told;
    game.SetVariantSource([&told](int task) {
        told += std::to_string(task);
        return task == 1 ? 4 : 2;
    });
    EXPECT_FALSE(game.SelectTask("3", "1"));
    ASSERT_TRUE(game.Start("pupil"));
    EXPECT_EQ(game.Variant(), 4);
    EXPECT_EQ(game.Check("z*y")->Verdict, TVerdict::Right);
    EXPECT_TRUE(game.Activate());
    EXPECT_EQ(game.Check("y/z")->Verdict, TVerdict::Win);
    EXPECT_EQ(told, "12");
    EXPECT_FALSE(game.TaskInProgress());
}

TEST(TaskShapes, PracticeOffersEveryVariantAndKeepsItByName) {
    StartFreshQuiz();
    const TGameSession quiz;
    TPracticeSession practice(quiz, kShapes);
    EXPECT_FALSE(practice.Choose(6));
    ASSERT_TRUE(practice.Choose(3));
    EXPECT_TRUE(practice.Check("z*y")->Right);
    EXPECT_TRUE(practice.Progress().Mark("p14").Solved);
    EXPECT_EQ(practice.NextUnsolved(), 4);
    ASSERT_TRUE(practice.Choose(5));
    EXPECT_FALSE(practice.Check("y*z")->Right);
    EXPECT_EQ(practice.NextUnsolved(), 0) << "round past the last";
    const std::string lines = "Formulon practice 2\np11 0 0\np12 0 0\np13 0 0\np14 1 0\np21 0 0\n"
                              "p22 0 1 "; // and the try's fingerprint
    EXPECT_EQ(EncodePracticeProgress(practice.Progress(), kShapes).substr(0, lines.size()), lines);
}

} // namespace
