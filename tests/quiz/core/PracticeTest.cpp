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
#include "quiz/core/TaskSet.h"
#include "tests/quiz/core/FreshQuiz.h"

#include <sstream>

namespace {

class PracticeTest : public testing::Test {
protected:
    void SetUp() override { StartFreshQuiz(); }
    TGameSession quiz;
    TPracticeSession practice{quiz};
};

// Actions on the chosen task, one letter each: R its own formula, W a wrong
// answer, V the same with blanks, X and Y two other wrong ones, N a number,
// M a wrong one the engine comments, E one that raises a conversion error,
// F one that raises a floating-point fault, G one with y that raises it, B
// a blank answer. The checks: R right, W wrong, - none.
std::string Play(TPracticeSession& practice, const char* actions) {
    std::string checks;
    for (const char* action = actions; *action; ++action) {
        const std::string answers = "RWVXYNMEFGB";
        const std::string answer[] = {std::string(practice.ChosenRow().Formula),
                                      "y+z",
                                      " y + z",
                                      "z-y",
                                      "y*z",
                                      "1",
                                      "3/0",
                                      "2*x",
                                      "2/0.0",
                                      "y/0.0",
                                      " "};
        const std::optional<TPracticeCheck> check = practice.Check(answer[answers.find(*action)]);
        checks += !check ? '-' : check->Right ? 'R' : 'W';
    }
    return checks;
}

// Only different wrong answers with a variable count towards the sample;
// every wrong check is counted all the same.
TEST_F(PracticeTest, MarksTheChosenTaskAndOffersTheSampleAfterThreeDifferentWrongTries) {
    const struct {
        int entry;
        const char* actions;
        const char* checks;
        TPracticeMark mark;
        std::size_t counted;
    } rows[] = {{0, "R", "R", {true, 0}, 0},          {0, "WWR", "WWR", {true, 2}, 1},
                {0, "WEX", "WWW", {false, 3}, 2},     {0, "WXY", "WWW", {false, 3}, 3},
                {0, "WWVW", "WWWW", {false, 4}, 1},   {0, "NNMEF", "WWWWW", {false, 5}, 0},
                {0, "GWXYW", "WWWWW", {false, 5}, 3}, {4, "FMWWR", "WWWWR", {true, 4}, 1},
                {1, "BBWB", "--W-", {false, 1}, 1},   {29, "RWXY", "RWWW", {true, 3}, 3},
                {26, "W", "W", {false, 1}, 1}, // 9.3: a number is wrong, "Ошибка" right
                {26, "R", "R", {true, 0}, 0}};
    for (const auto& row : rows) {
        TPracticeSession fresh(quiz);
        ASSERT_TRUE(fresh.Choose(row.entry));
        EXPECT_EQ(Play(fresh, row.actions), row.checks);
        TPracticeProgress progress = fresh.Progress(), expected;
        const std::string name = ReferenceFormulas.PictureName(row.entry);
        EXPECT_EQ(progress.Mark(name).CountedTries.size(), row.counted) << row.actions;
        progress.Mark(name).CountedTries.clear();
        expected.Mark(name) = row.mark;
        EXPECT_EQ(progress, expected) << row.actions << ": the chosen task only";
        const std::string sample(ReferenceFormulas.Row(row.entry).Formula);
        EXPECT_EQ(fresh.Sample().value_or("none"), row.counted >= 3 ? sample : "none");
    }
}

TEST_F(PracticeTest, OpensOnTheFirstUnsolvedAndOffersTheNext) {
    const std::string allButFive = "111110111111111111111111111111";
    const struct {
        std::string solved;      // one digit per entry
        int chosen, first, next; // next -1: none
    } rows[] = {{"", 0, 0, 1},
                {"111", 0, 3, 3},
                {"011", 29, 0, 0}, // round past the last
                {allButFive, 5, 5, -1},
                {allButFive, 9, 5, 5}};
    for (const auto& row : rows) {
        TPracticeProgress progress;
        for (std::size_t entry = 0; entry < row.solved.size(); ++entry)
            progress.Mark(ReferenceFormulas.PictureName(static_cast<int>(entry))).Solved =
                row.solved[entry] == '1';
        practice.SetProgress(progress);
        ASSERT_TRUE(practice.Choose(row.chosen));
        EXPECT_FALSE(practice.Choose(-1) || practice.Choose(ReferenceFormulas.EntryCount()));
        EXPECT_EQ(practice.FirstUnsolved(), row.first) << row.solved;
        EXPECT_EQ(practice.NextUnsolved().value_or(-1), row.next) << row.solved;
    }
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
        Play(practice, "WEFMXYR");
        EXPECT_EQ(practice.Sample().has_value(), GetParam().available);
    }
    EXPECT_EQ(QuizSnapshot(quiz), before);
    EXPECT_EQ(practice.Progress() == TPracticeProgress{}, !GetParam().available);
}

INSTANTIATE_TEST_SUITE_P(Quizzes, PracticeApartTest,
                         testing::Values(QuizRow{"", true}, QuizRow{"s", false},
                                         QuizRow{"sw", false},
                                         QuizRow{"skr", true}, // won, with a record
                                         QuizRow{"skwr", true}));

// The written file, and that file with one piece replaced: damaged.
TEST(PracticeProgressFile, ReadsBackWhatItWritesAndNothingElse) {
    TPracticeProgress progress;
    progress.Mark("p11") = {true, 0};
    progress.Mark("p12") = {false, 3};
    progress.Mark("p13") = {false, 5, {0x0c3f1a2b, 0x9e00d417}};
    progress.Mark("p103") = {true, 123456}; // counted up to 9999
    progress.Mark("p995") = {true, 1};      // a name the table no longer has
    const std::string bytes = EncodePracticeProgress(progress);
    EXPECT_EQ(bytes.substr(0, 62),
              "Formulon practice 2\np11 1 0\np12 0 3\np13 0 5 0c3f1a2b,9e00d417\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 22), "\np103 1 9999\np995 1 1\n");
    progress.Mark("p103").WrongChecks = kMaxWrongChecks;
    EXPECT_EQ(DecodePracticeProgress(bytes), progress);
    const auto changed = [&bytes](const std::string& piece, const std::string& replacement) {
        std::string text = bytes;
        return text.replace(text.find(piece), piece.size(), replacement);
    };
    for (const char* marks : {" 2 3", " 0 03", " 0 -3", " 0 10000", " 0  3", " 0\t3", " 0 3 ", " 0",
                              " 0 3\r", " 0 99999999999999999999"})
        EXPECT_FALSE(DecodePracticeProgress(changed(" 0 3", marks))) << marks;
    for (const std::string& replacement : {std::string(" 0\0 3", 5), std::string("\n")})
        EXPECT_FALSE(DecodePracticeProgress(changed(" 0 3", replacement)));
    for (const auto& [piece, by] : {std::pair{"practice 2", "practice 3"},
                                    {"p12", "p13"}, // a name twice
                                    {"p12", "P12"},
                                    {"p12", "p16"},
                                    {"p12", "p012"},
                                    {"p12", "1.2"},
                                    {"9999\n", "9999"},
                                    {"9999\n", "9999\n\n"},
                                    {"0c3f1a2b", ""},
                                    {"0c3f1a2b", "0C3F1A2B"},
                                    {"1a2b,", "1a2,"},
                                    {"0c3f1a2b", "9e00d417"},
                                    {"d417", "d417,"},
                                    {",", " "},
                                    {"d417", "d417,00000000,00000001"},
                                    {" 0c3f1a2b", " "}})
        EXPECT_FALSE(DecodePracticeProgress(changed(piece, by))) << piece << " by " << by;
    // Lines are found by name: one left out is a fresh task, moved ones the same.
    EXPECT_EQ(DecodePracticeProgress(changed("p12 0 3\n", "")), [progress]() mutable {
        progress.Marks.erase("p12");
        return progress;
    }());
    EXPECT_EQ(DecodePracticeProgress(changed("p11 1 0\np12 0 3\n", "p12 0 3\np11 1 0\n")),
              progress);
    for (const std::string& other :
         {std::string(), bytes.substr(0, 19), std::string(kProgressFileMaxSize + 1, '\0'),
          bytes + std::string(kProgressFileMaxSize, ' ')})
        EXPECT_FALSE(DecodePracticeProgress(other)) << other.size();
    // Every line as long as it gets still reads back, and every name there
    // can be fits.
    for (int task = 1; task <= kMaxTasks; ++task)
        for (int variant = 1; variant <= kMaxVariants; ++variant)
            progress.Mark("p" + std::to_string(task) +
                          std::to_string(variant)) = {true, kMaxWrongChecks, {0xffffffff, 0, 1}};
    EXPECT_EQ(DecodePracticeProgress(EncodePracticeProgress(progress)), progress);
}

struct FormatOneRow {
    const char* line;   // of a format-1 file
    const char* readAs; // its line in format 2
};

class FormatOneTest : public testing::TestWithParam<FormatOneRow> {};

// The thirty lines the first program wrote, one of them the row's: read as
// the standard table's names and written in format 2.
TEST_P(FormatOneTest, IsReadAsTheSameTasksByName) {
    std::string file = "Formulon practice 1\n";
    std::string expected = "Formulon practice 2\n";
    const std::string line = GetParam().line;
    for (int task = 1; task <= 10; ++task)
        for (int variant = 1; variant <= 3; ++variant) {
            const std::string number = std::to_string(task) + '.' + std::to_string(variant);
            const bool row = line.starts_with(number + ' ');
            file += row ? line + '\n' : number + " 0 0\n";
            expected += row ? std::string(GetParam().readAs) + '\n'
                            : "p" + std::to_string(task) + std::to_string(variant) + " 0 0\n";
        }
    const std::optional<TPracticeProgress> progress = DecodePracticeProgress(file);
    ASSERT_TRUE(progress) << line;
    EXPECT_EQ(EncodePracticeProgress(*progress), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatOneTest,
    testing::Values(FormatOneRow{"1.1 1 0", "p11 1 0"}, FormatOneRow{"1.3 0 2", "p13 0 2"},
                    FormatOneRow{"4.2 0 5 0c3f1a2b,9e00d417", "p42 0 5 0c3f1a2b,9e00d417"},
                    FormatOneRow{"10.1 0 1 00000001", "p101 0 1 00000001"},
                    FormatOneRow{"10.3 1 9999", "p103 1 9999"}));

// Format 1 is as strict as ever: its thirty lines in their order.
TEST(FormatOne, AnythingButItsThirtyLinesIsDamaged) {
    std::string file = "Formulon practice 1\n";
    for (int task = 1; task <= 10; ++task)
        for (int variant = 1; variant <= 3; ++variant)
            file += std::to_string(task) + '.' + std::to_string(variant) + " 0 0\n";
    ASSERT_TRUE(DecodePracticeProgress(file));
    for (const auto& [piece, by] : {std::pair{"1.2 0 0\n", ""},
                                    {"1.2 0 0\n1.3 0 0\n", "1.3 0 0\n1.2 0 0\n"},
                                    {"1.2", "p12"},
                                    {"10.3 0 0\n", "10.3 0 0\n10.4 0 0\n"}}) {
        std::string changed = file;
        EXPECT_FALSE(DecodePracticeProgress(
            changed.replace(changed.find(piece), std::string(piece).size(), by)))
            << piece;
    }
}

} // namespace

// Two teachers' sets name their pictures alike: each keeps its progress
// under its file's name, and the standard set's lines stay as they were.
TEST(PracticeAcrossSets, KeepsEachSetsProgressApart) {
    StartFreshQuiz();
    const auto read = [](const char* name) {
        return std::get<std::shared_ptr<const TTaskSet>>(
            ReadTaskSet("P11  2*y+z  2y+z\nP12  y-z  y-z\nP21  y*z  yz\n", name));
    };
    const auto trig = read("trig.tasks"), nine = read("9 Б.tasks");
    TGameSession quiz;
    TPracticeSession practice(quiz);
    practice.PractiseSet(trig->Table(), trig->Name());
    EXPECT_EQ(Play(practice, "WR"), "WR");
    practice.PractiseSet(nine->Table(), nine->Name());
    EXPECT_FALSE(practice.ChosenMark().Solved);
    EXPECT_EQ(Play(practice, "W"), "W");
    practice.PractiseSet(ReferenceFormulas, "");
    EXPECT_FALSE(practice.ChosenMark().Solved);
    const std::string bytes = EncodePracticeProgress(practice.Progress());
    EXPECT_NE(bytes.find("\np103 0 0\n9%20%D0%91/p11 0 1 60614655\ntrig/p11 1 1 60614655\n"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(DecodePracticeProgress(bytes), practice.Progress());
    practice.PractiseSet(trig->Table(), trig->Name());
    EXPECT_TRUE(practice.ChosenMark().Solved);
    const std::string start = "Formulon practice 2\n";
    for (const char* name : {"%41/p11", "a%2/p11", "a%2g/p11", "a%e2/p11", "/p11", "a/b/p11",
                             "a /p11", "a/P11", "a/p16"})
        EXPECT_FALSE(DecodePracticeProgress(start + name + " 1 0\n")) << name;
}
