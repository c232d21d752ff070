// The reference formulas as the engine sees them.
#include "tests/engine/EngineTestSupport.h"

#include "engine/Errors.h"
#include "engine/Formula.h"
#include "engine/IntegerText.h"
#include "engine/X87Functions.h"
#include "quiz/core/GameState.h"
#include "quiz/core/TaskCatalogue.h"

#include <algorithm>

using namespace formulon::engine;

namespace {

class TaskCatalogueTest : public testing::Test {};

TEST_F(TaskCatalogueTest, EntriesAreTaskMajor) {
    EXPECT_EQ(ReferenceFormulas.Row(0).Formula, "sin(y-z)");
    EXPECT_EQ(ReferenceFormula(1, 1), "sin(y-z)");
    EXPECT_EQ(ReferenceFormula(2, 2), ReferenceFormulas.Row(4).Formula);
    EXPECT_EQ(ReferenceFormula(2, 2), "3*z+exp(y+5)");
    EXPECT_EQ(ReferenceFormula(10, 3), ReferenceFormulas.Row(29).Formula);
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

// The names come from the task table: a row out of order or misnamed shows
// another task's picture.
TEST_F(TaskCatalogueTest, EveryPictureIsNamedAfterItsTaskAndVariant) {
    for (int task = 1; task <= 10; ++task)
        for (int variant = 1; variant <= 3; ++variant)
            EXPECT_EQ(PictureName(task, variant),
                      "p" + std::to_string(task) + std::to_string(variant));
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
    for (const TTaskRow& row : ReferenceFormulas.Rows()) {
        if (row.Task == 9 && row.Variant == 3)
            continue;
        LastErrorText.Clear();
        const std::string value = FormulaValue(std::string(row.Formula));
        EXPECT_NO_THROW(ParseNumber(value)) << row.Picture << " gives " << value;
        EXPECT_TRUE(LastErrorText.Empty()) << row.Picture;
    }
}

struct GoldenRow {
    int task, variant;
    const char* value;   // UTF-8
    const char* message; // LastErrorText afterwards, UTF-8
};

// Every reference formula's exact value text and message. The digits come
// from the x87 instructions, so the number rows skip on other processors.
class ReferenceGoldenTest : public testing::TestWithParam<GoldenRow> {
protected:
    void SetUp() override {
        if (*GetParam().message == '\0' && !UsesX87Instructions())
            GTEST_SKIP() << "these digits come from the x87 instructions";
    }
};

TEST_P(ReferenceGoldenTest, GivesThePinnedValueAndMessage) {
    const GoldenRow& row = GetParam();
    PrimeRegister();
    EXPECT_EQ(Cp1251ToUtf8(FormulaValue(ReferenceFormula(row.task, row.variant))), row.value);
    EXPECT_EQ(RegisterUtf8(), *row.message ? row.message : kUnchanged);
}

// A row for every variant of the table (EveryVariantHasAPinnedValue).
const GoldenRow kGoldenRows[] = {
    GoldenRow{1, 1, "-0,0697564737441253", ""},      GoldenRow{1, 2, "0,961261695938319", ""},
    GoldenRow{1, 3, "-1,48256096851274", ""},        GoldenRow{2, 1, "53,8283137373023", ""},
    GoldenRow{2, 2, "162787,791419004", ""},         GoldenRow{2, 3, "268,403053250354", ""},
    GoldenRow{3, 1, "445,152321564983", ""},         GoldenRow{3, 2, "0,353792325971835", ""},
    GoldenRow{3, 3, "33,0730302163379", ""},         GoldenRow{4, 1, "-256,213243350158", ""},
    GoldenRow{4, 2, "275,416337534336", ""},         GoldenRow{4, 3, "-123,287967387495", ""},
    GoldenRow{5, 1, "0,992453130138219", ""},        GoldenRow{5, 2, "-86,8542859964824", ""},
    GoldenRow{5, 3, "1,72957592872094", ""},         GoldenRow{6, 1, "-0,181849841445603", ""},
    GoldenRow{6, 2, "2,42104115583142E35", ""},      GoldenRow{6, 3, "-1,70834625099798E-6", ""},
    GoldenRow{7, 1, "50,3484298254361", ""},         GoldenRow{7, 2, "40,8583005341051", ""},
    GoldenRow{7, 3, "9982246,6596473", ""},          GoldenRow{8, 1, "-5,64154396389137E20", ""},
    GoldenRow{8, 2, "-202,500418618323", ""},        GoldenRow{8, 3, "55,6999591149422", ""},
    GoldenRow{9, 1, "4,17105577203181", ""},         GoldenRow{9, 2, "63,4879533212604", ""},
    GoldenRow{9, 3, "Ошибка", "Ошибка в тангенсах"}, GoldenRow{10, 1, "-5,61317313490486", ""},
    GoldenRow{10, 2, "-0,0217128962898415", ""},     GoldenRow{10, 3, "8,52408243490287", ""}};

INSTANTIATE_TEST_SUITE_P(AllTasks, ReferenceGoldenTest, testing::ValuesIn(kGoldenRows));

// A variant added to the table comes with its value pinned here.
TEST(ReferenceGolden, EveryVariantHasAPinnedValue) {
    for (const TTaskRow& task : ReferenceFormulas.Rows())
        EXPECT_TRUE(std::any_of(std::begin(kGoldenRows), std::end(kGoldenRows),
                                [&task](const GoldenRow& row) {
                                    return row.task == task.Task && row.variant == task.Variant;
                                }))
            << task.Picture << " has no row in kGoldenRows";
}

} // namespace

namespace {

struct RecordRow {
    int time;
    const char* slot15;
    bool record;
};

class RecordDecisionTest : public testing::TestWithParam<RecordRow> {};

TEST_P(RecordDecisionTest, OnlyAStrictlyBetterTimeOrAFreePlaceEnters) {
    EXPECT_EQ(IsRecordTime(GetParam().time, GetParam().slot15), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(Rows, RecordDecisionTest,
                         testing::Values(RecordRow{100, "", true}, RecordRow{100, "100", false},
                                         RecordRow{99, "100", true}, RecordRow{101, "100", false},
                                         RecordRow{9, "10", true}, RecordRow{0, "$10", true}));

TEST(RecordDecision, AHandMadeSlotTimeRaisesTheConversionError) {
    EXPECT_THROW(IsRecordTime(5, "abc"), EConvertError);
}

struct SelectRow {
    const char* task;
    const char* variant;
    bool taken;
};

class SelectTaskTest : public testing::TestWithParam<SelectRow> {};

TEST_P(SelectTaskTest, TakesOnlyTasksOfTheCatalogue) {
    TGameState state{4, 2, TLastVerdict::Right};
    EXPECT_EQ(SelectTask(GetParam().task, GetParam().variant, state), GetParam().taken);
    if (GetParam().taken) {
        EXPECT_EQ(state.TaskNo, StrToInt(GetParam().task));
        EXPECT_EQ(state.Variant, StrToInt(GetParam().variant));
    } else {
        EXPECT_EQ(state.TaskNo, 4);
        EXPECT_EQ(state.Variant, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SelectTaskTest,
                         testing::Values(SelectRow{"1", "1", true}, SelectRow{"10", "3", true},
                                         SelectRow{"0", "1", false}, SelectRow{"11", "1", false},
                                         SelectRow{"5", "0", false}, SelectRow{"5", "4", false},
                                         SelectRow{"", "1", false}, SelectRow{"x", "1", false},
                                         SelectRow{"267", "1", false},
                                         SelectRow{"-1", "2", false}));

TEST(DrawVariant, StaysWithinOneToThreeReachesEachAndMayRepeat) {
    TVariantDraw draw;
    draw.Seed();
    bool seen[4] = {};
    int repeats = 0, last = 0;
    for (int i = 0; i < 300; ++i) {
        const int v = draw.Draw(i % 10 + 1);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 3);
        seen[v] = true;
        repeats += v == last;
        last = v;
    }
    EXPECT_TRUE(seen[1] && seen[2] && seen[3]);
    EXPECT_GT(repeats, 0) << "each draw is independent of the one before";
}

} // namespace
