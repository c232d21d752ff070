// The game session without windows: sequences of the pupil's actions and
// what they lead to, the record decision, the variant policy, and a check
// apart from the quiz that leaves it as it was.
#include "quiz/core/GameSession.h"
#include "tests/engine/EngineTestSupport.h"

#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsMerge.h"
#include "engine/Errors.h"
#include "quiz/core/TaskCatalogue.h"
#include "tests/quiz/core/FreshQuiz.h"

#include <algorithm>
#include <string>

namespace {

class GameSessionTest : public testing::Test {
protected:
    void SetUp() override { StartFreshQuiz(); }
    // Slots 1..15 hold the times 1..14 and then slot15.
    static void FillRanking(const std::string& slot15) {
        for (int slot = 1; slot <= kRankingSlots; ++slot) {
            ChampionTable[slot].SetName("p" + std::to_string(slot));
            ChampionTable[slot].SetResult(slot == kRankingSlots ? slot15 : std::to_string(slot));
        }
    }
    // Plays task 10 to the win after 'seconds' on the clock.
    static TCheckOutcome WinAfter(TGameSession& session, int seconds) {
        session.Start("pupil");
        session.SelectTask("10", "1");
        for (int second = 0; second < seconds; ++second)
            session.Tick();
        return *session.Check(ReferenceFormula(10, 1));
    }

    TGameSession session;
};

// Actions, one letter each: S "Начать" as "pupil", s "Начать" without a
// name, A an activation of the main window, T a second of the clock, N
// "Далее", I, J and K the hidden selector to task 1.1, 9.3 and 10.1, F what
// "Разбор ответа" finds (E a check of this game, N none); checks:
// R a right answer, W a wrong one, M a wrong one the engine comments
// ("Нельзя делить на ноль"), L one whose value differs from task 1.1's in
// the last digit only, E one that raises.
std::string AnswerFor(const TGameSession& session, char action) {
    switch (action) {
    case 'R':
        return session.TaskInProgress() ? ReferenceFormula(session.TaskNo(), session.Variant())
                                        : "sin(y-z)";
    case 'W':
        return "y+z";
    case 'M':
        return "3/0";
    case 'L':
        return "sin(y-z)/3*3";
    }
    return "2*x";
}

// One letter per check: R right, V won, P won with a record, W wrong, X
// raised by an evaluation, C raised by the record decision, - nothing to
// check.
char Check(TGameSession& session, const std::string& answer) {
    try {
        const std::optional<TCheckOutcome> outcome = session.Check(answer);
        if (!outcome)
            return '-';
        if (outcome->Verdict == TVerdict::Win)
            return outcome->Record ? 'P' : 'V';
        return outcome->Verdict == TVerdict::Right ? 'R' : 'W';
    } catch (const EConvertError&) {
        return session.LastCheck()->Raised ? 'X' : 'C';
    }
}

std::string Play(TGameSession& session, const char* actions) {
    std::string checks;
    for (const char* action = actions; *action; ++action) {
        switch (*action) {
        case 'S':
            EXPECT_TRUE(session.Start("pupil"));
            break;
        case 's':
            EXPECT_FALSE(session.Start(""));
            break;
        case 'A':
            session.Activate();
            break;
        case 'T':
            session.Tick();
            break;
        case 'N':
            session.LeaveVerdict();
            break;
        case 'I':
            EXPECT_TRUE(session.SelectTask("1", "1"));
            break;
        case 'J':
            EXPECT_TRUE(session.SelectTask("9", "3"));
            break;
        case 'K':
            EXPECT_TRUE(session.SelectTask("10", "1"));
            break;
        case 'F':
            checks += session.LastCheck() ? 'E' : 'N';
            break;
        default:
            checks += Check(session, AnswerFor(session, *action));
        }
    }
    return checks;
}

struct SessionRow {
    const char* actions;
    const char* slot15; // null: an empty table
    const char* checks;
    int taskNo;
    char lastVerdict; // R, W, or N for none
    int seconds;
    bool clockRunning;
    const char* comment; // UTF-8, what the verdict window says; null: no verdict yet
};

class SessionTableTest : public GameSessionTest, public testing::WithParamInterface<SessionRow> {};

TEST_P(SessionTableTest, PlaysTheRow) {
    const SessionRow& row = GetParam();
    if (row.slot15)
        FillRanking(row.slot15);
    EXPECT_EQ(Play(session, row.actions), row.checks);
    EXPECT_EQ(session.TaskNo(), row.taskNo);
    const char verdicts[] = {'W', 'R', 'N'};
    EXPECT_EQ(verdicts[static_cast<int>(session.LastVerdict())], row.lastVerdict);
    EXPECT_EQ(session.Seconds(), row.seconds);
    EXPECT_EQ(session.ClockRunning(), row.clockRunning);
    EXPECT_EQ(session.LastOutcome() != nullptr, row.comment != nullptr);
    if (row.comment) {
        EXPECT_EQ(Cp1251ToUtf8(session.VerdictComment()), row.comment);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Games, SessionTableTest,
    testing::Values(
        SessionRow{"", nullptr, "", 0, 'N', 0, false, nullptr},
        SessionRow{"sTT", nullptr, "", 0, 'N', 0, false, nullptr}, // no name, no game, no clock
        SessionRow{"STTT", nullptr, "", 1, 'N', 3, true, nullptr},
        SessionRow{"R", nullptr, "-", 0, 'N', 0, false, nullptr}, // no task to check
        SessionRow{"SW", nullptr, "W", 1, 'W', 0, true, "Где-то есть ошибка"},
        SessionRow{"SM", nullptr, "W", 1, 'W', 0, true, "Нельзя делить на ноль"},
        SessionRow{"SMN", nullptr, "W", 1, 'W', 0, true, "Где-то есть ошибка"},
        SessionRow{"SRT", nullptr, "R", 2, 'R', 1, true, "Превосходно!"},
        SessionRow{"SE", nullptr, "X", 1, 'N', 0, true, nullptr}, // raised: nothing changes
        SessionRow{"SRNAWE", nullptr, "RWX", 2, 'W', 0, true, "Где-то есть ошибка"},
        SessionRow{"SRTTS", nullptr, "R", 1, 'R', 0, true, "Превосходно!"}, // a restart
        SessionRow{"SJR", nullptr, "R", 10, 'R', 0, true, "Превосходно!"},  // both "Ошибка"
        SessionRow{"SJW", nullptr, "W", 9, 'W', 0, true, "Ошибка в тангенсах"},
        SessionRow{"SJEKW", nullptr, "XW", 10, 'W', 0, true, "Ошибка в тангенсах"}, // left over
        SessionRow{"SIL", nullptr, "W", 1, 'W', 0, true, "Где-то есть ошибка"},
        SessionRow{"STRARARARARARARARARAR", nullptr, "RRRRRRRRRP", 0, 'R', 0, false,
                   "Превосходно!"},
        SessionRow{"SKTTRR", "2", "V-", 0, 'R', 2, true, "Превосходно!"}, // equal: no record
        SessionRow{"SKTRR", "2", "P-", 0, 'R', 0, false, "Превосходно!"},
        SessionRow{"SKRS", nullptr, "P", 1, 'R', 0, true, "Превосходно!"},
        SessionRow{"FSFWFSFKRF", nullptr, "NNWENPE", 0, 'R', 0, false, "Превосходно!"},
        SessionRow{"SKWRR", "abc", "WC-", 0, 'W', 0, true, "Где-то есть ошибка"}));

struct WinRow {
    int time;
    const char* slot15;
    bool record;
    int placeOfTheTime; // where the finishing time ends up; 0: not entered
};

class WinTest : public GameSessionTest, public testing::WithParamInterface<WinRow> {};

TEST_P(WinTest, EntersOnlyAStrictlyBetterTimeAndSorts) {
    const WinRow& row = GetParam();
    FillRanking(row.slot15);
    EXPECT_EQ(WinAfter(session, row.time).Record, row.record);
    const std::string time = std::to_string(row.time);
    // Only a record is noted for the saves, as entered.
    ASSERT_EQ(RunRecords.Entered.size(), row.record ? 1u : 0u);
    if (row.record) {
        EXPECT_EQ(RunRecords.Entered[0].Name(), "pupil");
        EXPECT_EQ(RunRecords.Entered[0].Result(), time);
        EXPECT_FALSE(RunRecords.AllSaved());
    }
    if (row.placeOfTheTime == 0) {
        EXPECT_EQ(ChampionTable[kRankingSlots].Name(), "p15");
        EXPECT_EQ(ChampionTable[kRankingSlots].Result(), row.slot15);
    } else {
        EXPECT_EQ(ChampionTable[row.placeOfTheTime].Name(), "pupil");
        EXPECT_EQ(ChampionTable[row.placeOfTheTime].Result(), time);
    }
    EXPECT_EQ(TGameSession::BestTime(), ChampionTable[1].Result());
}

INSTANTIATE_TEST_SUITE_P(Rows, WinTest,
                         testing::Values(WinRow{100, "100", false, 0}, WinRow{99, "100", true, 15},
                                         WinRow{3, "100", true, 4}, // after the earlier 3
                                         WinRow{0, "100", true, 1}));

TEST_F(GameSessionTest, ASortFaultAfterTheEntryIsHandedBackWithTheRecordAndNoVerdict) {
    FillRanking("");
    ChampionTable[3].SetResult("x");
    const TCheckOutcome win = WinAfter(session, 7);
    EXPECT_TRUE(win.Record);
    EXPECT_FALSE(session.ClockRunning());
    ASSERT_TRUE(win.SortFault);
    EXPECT_THROW(std::rethrow_exception(win.SortFault), EConvertError);
    EXPECT_EQ(session.LastVerdict(), TLastVerdict::None);
    EXPECT_EQ(session.LastOutcome(), nullptr);
    EXPECT_EQ(session.TaskNo(), 0);
}

// A win while the table is still being read keeps its time; once read, the
// table decides the record as the win would have, and a game started
// meanwhile keeps its own clock.
TEST_F(GameSessionTest, AWinBeforeTheTableIsReadIsDecidedOnceItIs) {
    session.HoldRecordDecisions(true);
    EXPECT_FALSE(WinAfter(session, 50).Record);
    EXPECT_TRUE(RunRecords.Entered.empty());
    FillRanking("100"); // the table, read meanwhile
    session.Start("next");
    session.Tick();
    const std::optional<TCheckOutcome> held = session.DecideHeldRecord();
    ASSERT_TRUE(held);
    EXPECT_TRUE(held->Record);
    EXPECT_EQ(ChampionTable[kRankingSlots].Name(), "pupil");
    EXPECT_EQ(ChampionTable[kRankingSlots].Result(), "50");
    EXPECT_EQ(session.Seconds(), 1) << "the new game's clock";
    EXPECT_FALSE(session.DecideHeldRecord());
}

TEST_F(GameSessionTest, TheNameIsCutToAShortText) {
    session.Start(std::string(300, 'a'));
    EXPECT_EQ(session.PlayerName(), std::string(255, 'a'));
}

// Actions as above, the draws made by each: 'drawn' has one digit per
// activation, 1 when it drew a new variant.
struct ActivationRow {
    const char* actions;
    const char* drawn;
};

class ActivationTest : public GameSessionTest, public testing::WithParamInterface<ActivationRow> {};

TEST_P(ActivationTest, DrawsOnlyOnTheFirstActivationAfterARightAnswer) {
    int draws = 0;
    session.SetVariantSource([&draws](int) { return ++draws % 3 + 1; });
    std::string drawn;
    int starts = 0;
    for (const char* action = GetParam().actions; *action; ++action) {
        if (*action == 'A') {
            const int variant = session.Variant();
            const bool draw = session.Activate();
            drawn += draw ? '1' : '0';
            if (!draw) {
                EXPECT_EQ(session.Variant(), variant);
            }
            continue;
        }
        starts += *action == 'S';
        const char one[] = {*action, 0};
        Play(session, one);
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
                                         ActivationRow{"SRWA", "0"},   // wrong before coming back
                                         ActivationRow{"SRAEA", "10"}, // nor after an error box
                                         ActivationRow{"SRSA", "0"}, // "Начать" draws itself
                                         ActivationRow{"SRKA", "0"}, // so does the selector
                                         ActivationRow{"SRARARARARARARARARARA", "1111111110"}));

// What practice needs: a check of any task into a record of its own, after
// which the quiz's state, its last check and LastErrorText are as before,
// whether the check returned or raised.
TEST_F(GameSessionTest, ACheckApartLeavesTheQuizAsItWas) {
    Play(session, "SRAM");
    const std::string message = LastErrorText.Read();
    ASSERT_EQ(Cp1251ToUtf8(message), "Нельзя делить на ноль");
    const TCheckRecord* quizCheck = session.LastCheck();
    ASSERT_NE(quizCheck, nullptr);
    struct Row {
        int task, variant;
        const char* answer;
        bool right, raised;
    } rows[] = {
        {9, 3, "1", false, false}, {10, 1, "2*x", false, true}, {1, 1, "-sin(z-y)", true, false}};
    for (const Row& row : rows) {
        TCheckRecord own;
        {
            TKeptErrorText kept;
            try {
                EXPECT_EQ(RunCheck(own, row.task, row.variant, row.answer), row.right);
            } catch (const EConvertError&) {
                EXPECT_TRUE(row.raised);
            }
        }
        EXPECT_EQ(own.Raised, row.raised) << row.answer;
        EXPECT_EQ(own.TaskNo * 10 + own.Variant, row.task * 10 + row.variant);
        EXPECT_EQ(LastErrorText.Read(), message) << row.answer;
        EXPECT_EQ(session.LastCheck(), quizCheck);
        EXPECT_EQ(quizCheck->Answer, "3/0");
        EXPECT_EQ(session.TaskNo(), 2);
        EXPECT_EQ(session.LastVerdict(), TLastVerdict::Wrong);
    }
    LastErrorText.Clear();
    {
        TKeptErrorText kept;
        LastErrorText.Set("left by practice");
    }
    EXPECT_TRUE(LastErrorText.Empty());
}

} // namespace
