// Practice without windows: the choice of a task, checks and what they
// mark, the sample after three wrong checks, the progress file's bytes, and
// a quiz that practice leaves exactly as it was.
#include "quiz/core/Practice.h"
#include "tests/engine/EngineTestSupport.h"

#include "champions/core/ChampionTable.h"
#include "champions/core/ChampionsBytes.h"
#include "champions/core/ChampionsMerge.h"
#include "quiz/core/GameSession.h"
#include "quiz/core/TaskCatalogue.h"

#include <sstream>

namespace {

class PracticeTest : public testing::Test {
protected:
    void SetUp() override {
        FillReferenceFormulas();
        ChampionTable.Reset();
        RunRecords.Reset();
        LastErrorText.Clear();
    }
    static void Solve(TPracticeSession& practice, const std::string& entries) {
        TPracticeProgress progress;
        std::istringstream list(entries);
        for (int entry; list >> entry;)
            progress.Marks[entry].Solved = true;
        practice.SetProgress(progress);
    }

    TGameSession quiz;
    TPracticeSession practice{quiz};
};

// Actions on the chosen task, one letter each: R its own formula, W a wrong
// answer, M a wrong one the engine comments, E one that raises a conversion
// error, F one that raises a floating-point fault, B a blank answer. The
// checks: R right, W wrong, - none.
std::string Play(TPracticeSession& practice, const char* actions) {
    std::string checks;
    for (const char* action = actions; *action; ++action) {
        std::string answer = "y+z";
        if (*action == 'R')
            answer = ReferenceFormula(PracticeTaskNo(practice.Chosen()),
                                      PracticeVariant(practice.Chosen()));
        answer = *action == 'M' ? "3/0" : *action == 'E' ? "2*x" : answer;
        answer = *action == 'F' ? "2/0.0" : *action == 'B' ? " " : answer;
        const std::optional<TPracticeCheck> check = practice.Check(answer);
        checks += !check ? '-' : check->Right ? 'R' : 'W';
        if (check) {
            EXPECT_EQ(check->Record.Raised, *action == 'E' || *action == 'F') << actions;
            EXPECT_EQ(check->Record.Answer, answer);
        }
    }
    return checks;
}

struct CheckRow {
    int entry;
    const char* actions;
    const char* checks;
    bool solved;
    int wrongChecks;
};

class PracticeCheckTest : public PracticeTest, public testing::WithParamInterface<CheckRow> {};

TEST_P(PracticeCheckTest, MarksTheChosenTaskAndOffersTheSampleAfterThreeWrongChecks) {
    const CheckRow& row = GetParam();
    ASSERT_TRUE(practice.Choose(row.entry));
    EXPECT_EQ(Play(practice, row.actions), row.checks);
    EXPECT_EQ(practice.ChosenMark(), (TPracticeMark{row.solved, row.wrongChecks}));
    const bool sample = row.wrongChecks >= 3;
    EXPECT_EQ(practice.SampleAvailable(), sample);
    EXPECT_EQ(practice.Sample().value_or("none"),
              sample ? ReferenceFormula(PracticeTaskNo(row.entry), PracticeVariant(row.entry))
                     : "none");
    for (int entry = 0; entry < kPracticeTasks; ++entry)
        if (entry != row.entry) {
            EXPECT_EQ(practice.Progress().Marks[entry], TPracticeMark{}) << entry;
        }
}

INSTANTIATE_TEST_SUITE_P(Rows, PracticeCheckTest,
                         testing::Values(CheckRow{0, "R", "R", true, 0},
                                         CheckRow{0, "WWR", "WWR", true, 2},
                                         CheckRow{0, "WEW", "WWW", false, 3}, // raised: wrong
                                         CheckRow{4, "FMW", "WWW", false, 3},
                                         CheckRow{4, "FMWWR", "WWWWR", true, 4},
                                         CheckRow{1, "BBWB", "--W-", false, 1}, // blank: no try
                                         CheckRow{29, "RWWW", "RWWW", true, 3},
                                         CheckRow{26, "W", "W", false, 1},  // 9.3: a number
                                         CheckRow{26, "R", "R", true, 0})); // "Ошибка" both

struct ChoiceRow {
    const char* solved; // entries
    int chosen;
    int first;
    int next; // -1: none
};

class PracticeChoiceTest : public PracticeTest, public testing::WithParamInterface<ChoiceRow> {};

TEST_P(PracticeChoiceTest, OpensOnTheFirstUnsolvedAndOffersTheNext) {
    const ChoiceRow& row = GetParam();
    Solve(practice, row.solved);
    ASSERT_TRUE(practice.Choose(row.chosen));
    EXPECT_EQ(practice.FirstUnsolved(), row.first);
    EXPECT_EQ(practice.NextUnsolved().value_or(-1), row.next);
}

const char* const kAllButFive =
    "0 1 2 3 4 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29";
const char* const kAll =
    "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29";

INSTANTIATE_TEST_SUITE_P(Rows, PracticeChoiceTest,
                         testing::Values(ChoiceRow{"", 0, 0, 1}, ChoiceRow{"0 1 2", 0, 3, 3},
                                         ChoiceRow{"1 2", 29, 0, 0}, // round past the last
                                         ChoiceRow{"0", 29, 1, 1}, ChoiceRow{kAllButFive, 5, 5, -1},
                                         ChoiceRow{kAllButFive, 9, 5, 5},
                                         ChoiceRow{kAll, 7, 0, -1}));

TEST_F(PracticeTest, ChoosesOnlyATaskOfTheCatalogue) {
    ASSERT_TRUE(practice.Choose(29));
    for (int entry : {-1, 30, 1000})
        EXPECT_FALSE(practice.Choose(entry));
    EXPECT_EQ(practice.Chosen(), 29);
    EXPECT_EQ(PracticeTaskNo(29) * 10 + PracticeVariant(29), 103);
}

// What the quiz shows: its state, last check, last verdict, message and
// champions, all of it.
std::string QuizSnapshot(const TGameSession& quiz) {
    std::ostringstream shown;
    shown << quiz.TaskNo() << ' ' << quiz.Variant() << ' ' << int(quiz.LastVerdict()) << ' '
          << quiz.Seconds() << ' ' << quiz.ClockRunning() << ' ' << quiz.VerdictComment() << '|'
          << LastErrorText.Read() << '|' << EncodeChampionsFile() << '|'
          << RunRecords.Entered.size();
    if (const TCheckRecord* check = quiz.LastCheck())
        shown << '|' << check->Answer << ' ' << check->AnswerValue << ' ' << check->Message << ' '
              << check->Steps.size();
    return shown.str();
}

struct QuizRow {
    const char* before; // s: start, w: a wrong check, k: task 10.1, r: a right check
    bool available;
};

class PracticeApartTest : public PracticeTest, public testing::WithParamInterface<QuizRow> {};

TEST_P(PracticeApartTest, LeavesTheQuizAsItWasAndNeverHelpsARunningGame) {
    for (const char* action = GetParam().before; *action; ++action) {
        if (*action == 's')
            quiz.Start("pupil");
        else if (*action == 'k')
            quiz.SelectTask("10", "1");
        else
            quiz.Check(*action == 'r' ? ReferenceFormula(quiz.TaskNo(), quiz.Variant()) : "3/0");
    }
    LastErrorText.Set(Cp("сообщение викторины"));
    const std::string before = QuizSnapshot(quiz);
    EXPECT_EQ(practice.Available(), GetParam().available);
    for (int entry : {0, 26, 27}) {
        practice.Choose(entry);
        Play(practice, "WEFMWR");
        EXPECT_EQ(practice.Sample().has_value(), GetParam().available);
    }
    EXPECT_EQ(QuizSnapshot(quiz), before);
    const TPracticeProgress untouched;
    EXPECT_EQ(practice.Progress() == untouched, !GetParam().available);
}

INSTANTIATE_TEST_SUITE_P(Quizzes, PracticeApartTest,
                         testing::Values(QuizRow{"", true}, QuizRow{"s", false},
                                         QuizRow{"sw", false},
                                         QuizRow{"skr", true}, // won, with a record
                                         QuizRow{"skwr", true}));

// A progress of every kind of mark, and its file.
TPracticeProgress SomeProgress() {
    TPracticeProgress progress;
    progress.Marks[0] = {true, 0};
    progress.Marks[1] = {false, 3};
    progress.Marks[15] = {true, 120};
    progress.Marks[29] = {true, kMaxWrongChecks};
    return progress;
}

TEST(PracticeProgressFile, WritesTheLinesAndReadsThemBack) {
    const std::string bytes = EncodePracticeProgress(SomeProgress());
    EXPECT_EQ(bytes.substr(0, 36), "Formulon practice 1\n1.1 1 0\n1.2 0 3\n");
    EXPECT_NE(bytes.find("\n6.1 1 120\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 13), "\n10.3 1 9999\n");
    EXPECT_LE(bytes.size(), kProgressFileMaxSize);
    for (const TPracticeProgress& progress : {TPracticeProgress{}, SomeProgress()})
        EXPECT_EQ(DecodePracticeProgress(EncodePracticeProgress(progress)), progress);
    TPracticeProgress tooMany;
    tooMany.Marks[3].WrongChecks = 123456;
    EXPECT_EQ(DecodePracticeProgress(EncodePracticeProgress(tooMany))->Marks[3].WrongChecks,
              kMaxWrongChecks);
}

// A damaged file: the written one with one piece replaced.
struct DamageRow {
    const char* piece;
    const char* replacement;
};

class PracticeDamageTest : public testing::TestWithParam<DamageRow> {};

TEST_P(PracticeDamageTest, IsRefusedWhole) {
    std::string bytes = EncodePracticeProgress(SomeProgress());
    const std::string piece = GetParam().piece;
    const std::size_t at = piece.empty() ? bytes.size() : bytes.find(piece);
    ASSERT_NE(at, std::string::npos) << piece;
    bytes.replace(at, piece.size(), GetParam().replacement);
    EXPECT_FALSE(DecodePracticeProgress(bytes)) << bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PracticeDamageTest,
    testing::Values(DamageRow{"Formulon practice 1", "Formulon practice 2"},
                    DamageRow{"Formulon", "formulon"}, DamageRow{"1.2 0 3\n", ""},
                    DamageRow{"1.2 0 3\n", "1.2 0 3\n1.2 0 3\n"}, DamageRow{"1.2", "1.3"},
                    DamageRow{"1.2 0 3", "1.2 2 3"}, DamageRow{"1.2 0 3", "1.2 0 03"},
                    DamageRow{"1.2 0 3", "1.2 0 -3"}, DamageRow{"1.2 0 3", "1.2 0 10000"},
                    DamageRow{"1.2 0 3", "1.2 0 99999999999999999999"},
                    DamageRow{"1.2 0 3", "1.2 0  3"}, DamageRow{"1.2 0 3", "1.2 0 "},
                    DamageRow{"1.2 0 3\n", "1.2 0 3\r\n"}, DamageRow{"1.2 0 3", "1.2 0 3 "},
                    DamageRow{"1.2 0 3", "1.2 0\t3"}, DamageRow{"\n10.3 1 9999\n", "\n10.3 1 9999"},
                    DamageRow{"", "\n"}, DamageRow{"", "10.4 0 0\n"},
                    DamageRow{"1.1 1 0\n", "\xEF\xBB\xBF"}));

TEST(PracticeProgressFile, RefusesWhatIsNoFileOfItsOwnAndAnythingTooLong) {
    const std::string written = EncodePracticeProgress(SomeProgress());
    for (const std::string& bytes :
         {std::string(), std::string("Formulon practice 1\n"), written.substr(0, 100),
          std::string(8704, '\0'), std::string("Formulon practice 1\n1.1 1\0 0\n", 28),
          written + std::string(kProgressFileMaxSize, ' ')})
        EXPECT_FALSE(DecodePracticeProgress(bytes)) << bytes.size();
}

TEST(PracticeProgressFile, MergesWhatEitherCopyHas) {
    const struct {
        TPracticeMark disk, ours, merged;
    } rows[] = {
        {{false, 0}, {false, 0}, {false, 0}},
        {{true, 0}, {false, 2}, {true, 2}},
        {{false, 5}, {true, 1}, {true, 5}},
        {{true, 7}, {true, 9}, {true, 9}},
    };
    for (const auto& row : rows) {
        TPracticeProgress disk, ours;
        disk.Marks[4] = row.disk;
        ours.Marks[4] = row.ours;
        const TPracticeProgress merged = MergePracticeProgress(disk, ours);
        EXPECT_EQ(merged.Marks[4], row.merged);
        EXPECT_EQ(merged.Marks[5], TPracticeMark{});
    }
}

} // namespace
