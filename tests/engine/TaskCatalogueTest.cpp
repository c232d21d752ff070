// The reference formulas as the engine sees them.
#include "EngineTestSupport.h"

#include "engine/Formula.h"
#include "quiz/core/TaskCatalogue.h"

namespace {

class TaskCatalogueTest : public testing::Test {
protected:
    void SetUp() override { FillReferenceFormulas(); }
};

TEST_F(TaskCatalogueTest, EntriesAreTaskMajor) {
    EXPECT_EQ(ReferenceFormulas[0], "sin(y-z)");
    EXPECT_EQ(ReferenceFormula(1, 1), "sin(y-z)");
    EXPECT_EQ(ReferenceFormula(2, 2), ReferenceFormulas[4]);
    EXPECT_EQ(ReferenceFormula(2, 2), "3*z+exp(y+5)");
    EXPECT_EQ(ReferenceFormula(10, 3), ReferenceFormulas[29]);
}

TEST_F(TaskCatalogueTest, OnlyTasksOneToTenAndVariantsOneToThreeExist) {
    for (auto [task, variant] : {std::pair{0, 1}, {11, 1}, {1, 0}, {1, 4}, {-1, 2}})
        EXPECT_THROW(ReferenceFormula(task, variant), std::out_of_range) << task << variant;
}

TEST_F(TaskCatalogueTest, PictureNames) {
    EXPECT_EQ(PictureName(1, 1), "p11");
    EXPECT_EQ(PictureName(2, 3), "p23");
    EXPECT_EQ(PictureName(10, 1), "p101");
    EXPECT_EQ(PictureName(10, 3), "p103");
}

TEST_F(TaskCatalogueTest, TaskOneVariantOneIsTheSineOfMinusFourDegrees) {
    EXPECT_EQ(FormulaValue(ReferenceFormula(1, 1)), "-0,0697564737441253");
}

TEST_F(TaskCatalogueTest, TaskNineVariantThreeFailsOnTheTangentOfNinety) {
    LastErrorText.Clear();
    EXPECT_EQ(Cp1251ToUtf8(FormulaValue(ReferenceFormula(9, 3))), "Ошибка");
    EXPECT_EQ(RegisterUtf8(), "Ошибка в тангенсах");
}

TEST_F(TaskCatalogueTest, EveryOtherReferenceEvaluatesToANumberWithoutAMessage) {
    for (int task = 1; task <= kTaskCount; ++task) {
        for (int variant = 1; variant <= kVariantCount; ++variant) {
            if (task == 9 && variant == 3)
                continue;
            LastErrorText.Clear();
            const std::string value = FormulaValue(ReferenceFormula(task, variant));
            EXPECT_NO_THROW(ParseNumber(value)) << task << "." << variant << " gives " << value;
            EXPECT_TRUE(LastErrorText.Empty()) << task << "." << variant;
        }
    }
}

} // namespace
