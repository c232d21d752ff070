// The game's progression without windows: right, wrong, the win and the
// record decision.
#include "quiz/core/GameProgress.h"
#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Errors.h"
#include "engine/NumberText.h"
#include "quiz/core/GameState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace formulon::engine;

namespace {

class GameProgressTest : public testing::Test {
protected:
    void SetUp() override {
        ChampionTable.Reset();
        RunRecords.Reset();
        ResetGameState();
        LastErrorText.Clear();
        PlayerName = "pupil";
    }
    // Slots 1..15 hold the times 1..14 and then slot15.
    static void FillRanking(const std::string& slot15) {
        for (int slot = 1; slot <= kRankingSlots; ++slot) {
            ChampionTable[slot].SetName("p" + std::to_string(slot));
            ChampionTable[slot].SetResult(slot == kRankingSlots ? slot15 : std::to_string(slot));
        }
    }
};

TEST_F(GameProgressTest, AWholeGameRunsThroughTenTasksToTheWin) {
    GameState.TaskNo = 1;
    for (int task = 1; task <= 9; ++task) {
        EXPECT_EQ(WrongAnswer().Verdict, TVerdict::Wrong);
        EXPECT_EQ(GameState.TaskNo, task) << "a wrong answer keeps the task";
        const TCheckOutcome right = RightAnswer("5");
        EXPECT_EQ(right.Verdict, TVerdict::Right);
        EXPECT_FALSE(right.Comment);
        EXPECT_FALSE(right.Record);
        EXPECT_EQ(GameState.TaskNo, task + 1);
        EXPECT_EQ(GameState.LastVerdict, TLastVerdict::Right);
    }
    const TCheckOutcome win = RightAnswer("42");
    EXPECT_EQ(win.Verdict, TVerdict::Win);
    EXPECT_TRUE(win.Record) << "an empty slot 15 takes any time";
    EXPECT_EQ(GameState.TaskNo, 0);
    EXPECT_EQ(ChampionTable[1].Name(), "pupil");
    EXPECT_EQ(BestTime(), "42");
}

struct WinRow {
    const char* time;
    const char* slot15;
    bool record;
    int placeOfTheTime; // where the finishing time ends up; 0: not entered
};

class WinTest : public GameProgressTest, public testing::WithParamInterface<WinRow> {};

TEST_P(WinTest, EntersOnlyAStrictlyBetterTimeAndSorts) {
    FillRanking(GetParam().slot15);
    GameState.TaskNo = 10;
    const TCheckOutcome win = RightAnswer(GetParam().time);
    EXPECT_EQ(win.Verdict, TVerdict::Win);
    EXPECT_EQ(win.Record, GetParam().record);
    EXPECT_EQ(GameState.TaskNo, 0);
    EXPECT_EQ(GameState.LastVerdict, TLastVerdict::Right);
    // Only a record is noted for the saves, cut to a short text as entered.
    ASSERT_EQ(RunRecords.Entered.size(), GetParam().record ? 1u : 0u);
    if (GetParam().record) {
        EXPECT_EQ(RunRecords.Entered[0].Name(), "pupil");
        EXPECT_EQ(RunRecords.Entered[0].Result(), GetParam().time);
        EXPECT_FALSE(RunRecords.AllSaved());
    }
    const int place = GetParam().placeOfTheTime;
    if (place == 0) {
        EXPECT_EQ(ChampionTable[kRankingSlots].Name(), "p15");
        EXPECT_EQ(ChampionTable[kRankingSlots].Result(), GetParam().slot15);
    } else {
        EXPECT_EQ(ChampionTable[place].Name(), "pupil");
        EXPECT_EQ(ChampionTable[place].Result(), GetParam().time);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, WinTest,
                         testing::Values(WinRow{"100", "100", false, 0},
                                         WinRow{"99", "100", true, 15},
                                         WinRow{"3", "100", true, 4}, // after the earlier 3
                                         WinRow{"0", "100", true, 1}));

TEST_F(GameProgressTest, ANonIntegerSlot15TimeRaisesWithTheGameOver) {
    FillRanking("abc");
    GameState.TaskNo = 10;
    GameState.LastVerdict = TLastVerdict::Wrong;
    EXPECT_THROW(RightAnswer("50"), EConvertError);
    EXPECT_EQ(GameState.TaskNo, 0);
    EXPECT_EQ(GameState.LastVerdict, TLastVerdict::Wrong);
    EXPECT_EQ(ChampionTable[kRankingSlots].Result(), "abc");
}

TEST_F(GameProgressTest, ASortFaultAfterTheEntryIsHandedBackWithTheRecord) {
    FillRanking("");
    ChampionTable[3].SetResult("x");
    GameState.TaskNo = 10;
    const TCheckOutcome win = RightAnswer("7");
    EXPECT_TRUE(win.Record);
    ASSERT_TRUE(win.SortFault);
    EXPECT_THROW(std::rethrow_exception(win.SortFault), EConvertError);
    EXPECT_EQ(GameState.LastVerdict, TLastVerdict::None);
}

TEST_F(GameProgressTest, AWrongAnswerCommentsWithTheErrorText) {
    LastErrorText.Set("Error in tangents");
    GameState.TaskNo = 9;
    const TCheckOutcome wrong = WrongAnswer();
    ASSERT_TRUE(wrong.Comment);
    EXPECT_EQ(*wrong.Comment, "Error in tangents");
    EXPECT_FALSE(wrong.Record);
    EXPECT_EQ(GameState.LastVerdict, TLastVerdict::Wrong);
}

// Events, one letter each: S "Начать", R a right answer, W a wrong one, T the
// hidden selector, A an activation of the main window. 'drawn' has one digit
// per activation: 1 when it drew a new variant.
struct ActivationRow {
    const char* events;
    const char* drawn;
};

class ActivationTest : public GameProgressTest, public testing::WithParamInterface<ActivationRow> {
protected:
    void TearDown() override { SetVariantSource({}); }
};

TEST_P(ActivationTest, DrawsOnlyOnTheFirstActivationAfterARightAnswer) {
    int draws = 0;
    SetVariantSource([&draws] { return ++draws % 3 + 1; });
    std::string drawn;
    int starts = 0;
    for (const char* event = GetParam().events; *event; ++event) {
        switch (*event) {
        case 'S':
            StartGame("pupil");
            ++starts;
            break;
        case 'R':
            RightAnswer("5");
            break;
        case 'W':
            WrongAnswer();
            break;
        case 'T':
            ASSERT_TRUE(SelectTask("3", "1", GameState));
            break;
        case 'A':
            drawn += DrawDueVariant() ? '1' : '0';
            break;
        }
    }
    EXPECT_EQ(drawn, GetParam().drawn);
    const auto activationDraws = std::count(drawn.begin(), drawn.end(), '1');
    EXPECT_EQ(draws, starts + activationDraws) << "every draw is a start's or an activation's";
}

INSTANTIATE_TEST_SUITE_P(Rows, ActivationTest,
                         testing::Values(ActivationRow{"A", "0"}, ActivationRow{"SA", "0"},
                                         ActivationRow{"SRA", "1"}, ActivationRow{"SRAAAA", "1000"},
                                         ActivationRow{"SRARAA", "110"},
                                         ActivationRow{"SWAA", "00"}, ActivationRow{"SRAWA", "10"},
                                         ActivationRow{"SRWA", "0"}, // wrong before coming back
                                         ActivationRow{"SRSA", "0"}, // "Начать" draws itself
                                         ActivationRow{"SRTA", "0"}, // so does the selector
                                         ActivationRow{"SRARARARARARARARARARA", "1111111110"}));

} // namespace
