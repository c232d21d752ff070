// The verdict column, the totals and the CSV of a marked class.
#include <gtest/gtest.h>

#include "engine/Cp1251.h"
#include "engine/FloatEnv.h"
#include "engine/NumberText.h"
#include "quiz/core/TaskCatalogue.h"
#include "teacher/ClassCsv.h"

using namespace formulon::engine;

namespace {

// Stands in for the school reading: flags the answers a test names.
bool FlagsSlashThree(const TCheckRecord& check) {
    return check.Answer.ends_with("/3*3") || check.Answer == "-sin(z-y)";
}

struct VerdictRow {
    const char* task;
    std::u32string answer;
    TFlagRule rule;
    const char* verdict; // verdict, value, message, hint, as the Russian CSV writes them
};

class VerdictTest : public testing::TestWithParam<VerdictRow> {};

TEST_P(VerdictTest, JudgesAsTheQuiz) {
    InitFloatingPointEnvironment();
    LastErrorText.Set("held by the quiz");
    int task = 0, variant = 0;
    ASSERT_TRUE(ParseTask(GetParam().task, task, variant));
    const TJudgement judgement = JudgeAnswer(task, variant, GetParam().answer, GetParam().rule);
    EXPECT_EQ(std::string(VerdictWord(TLanguage::Russian, judgement.Verdict)) + "|" +
                  Cp1251ToUtf8(judgement.Value) + "|" + Cp1251ToUtf8(judgement.Message) + "|" +
                  Cp1251ToUtf8(judgement.Hint),
              GetParam().verdict);
    EXPECT_EQ(LastErrorText.Read(), "held by the quiz");
}

const TFlagRule kHook = RightInSchoolMathematics;

INSTANTIATE_TEST_SUITE_P(
    Rows, VerdictTest,
    testing::Values(
        VerdictRow{"1.1", U"SIN(Y-Z)", kHook, "верно|-0,0697564737441253||"},
        VerdictRow{"1.1", U"tg(y-z)", kHook,
                   "неверно|Ошибка|Замечен неизвестный оператор|тангенс пишут tan: tan(y-z)"},
        VerdictRow{"1.1", U"2*x", kHook,
                   "неверно|'x' is not a valid floating point value||имя «x» программа не знает: "
                   "функции — sin, cos, tan, atn, log, sqr, exp, abs; переменные — y и z"},
        VerdictRow{"1.1", U" \t", kHook, "пусто|||"},
        VerdictRow{"1.1", U"sin(y-z)/3*3", kHook, "верно по математике|-0,0697564737441252||"},
        VerdictRow{"1.1", U"sin(z-y)", kHook, "неверно|0,0697564737441253||"},
        VerdictRow{"1.1", U"sin(y-z)/3*3", FlagsSlashThree,
                   "верно по математике|-0,0697564737441252||"},
        VerdictRow{"1.1", U"-sin(z-y)", FlagsSlashThree, "верно|-0,0697564737441253||"},
        VerdictRow{"9.3", U"sqr(-1)", kHook, "верно|Ошибка|Невозможно вычислить|"},
        VerdictRow{"9.3", U"1", kHook, "неверно|1|Ошибка в тангенсах|"}));

std::vector<TMarkedAnswer> SmallClass() {
    InitFloatingPointEnvironment();
    return MarkClass(ReadClassFile("Оля;1.1;tg(y-z)\n"
                                   "Оля;1.1;sin(y-z)\n"
                                   "Петя;2.1;y^2+ln(z^2+4)\n"
                                   "Петя;1.1;sin(y-z)/3*3\n"
                                   "Петя;1.1;tg(y+z)\n"
                                   "Петя;1.1;\n"
                                   "Оля;1.4;y\n"
                                   "Вася;1.1;=tg(z-y)\n"
                                   "Вася;2.1;\n",
                                   TEncoding::Auto),
                     FlagsSlashThree);
}

std::string Grid(const TClassTotals& totals) {
    std::string grid;
    for (std::size_t pupil = 0; pupil < totals.Pupils.size(); ++pupil) {
        grid += totals.Pupils[pupil] + ":";
        for (std::size_t task = 0; task < totals.Tasks.size(); ++task) {
            const TCell& cell = totals.Cell(pupil, task);
            grid += " " + std::string("-WFR").substr(static_cast<int>(cell.Outcome), 1) +
                    std::to_string(cell.Tries);
        }
        grid += "; ";
    }
    return grid;
}

TEST(ClassTotalsTest, CountsPerPupilAndTask) {
    const TClassTotals totals = CountClass(SmallClass());
    EXPECT_EQ(Grid(totals), "Оля: R2 -0; Петя: F2 W1; Вася: W1 -0; ");
    ASSERT_EQ(totals.Tasks, (std::vector<int>{0, 3}));
    ASSERT_EQ(totals.TaskSlips[0].size(), 1u);
    EXPECT_EQ(totals.TaskSlips[0][0].Rule, THintRule::Tg);
    EXPECT_EQ(totals.TaskSlips[0][0].Count, 3);
    EXPECT_EQ(Cp1251ToUtf8(totals.TaskSlips[0][0].Hint), "тангенс пишут tan: tan(y-z)");
    EXPECT_EQ(totals.TaskSlips[1][0].Rule, THintRule::Ln);
}

// The whole CSV of a small class, in Russian: what a spreadsheet opens.
TEST(ClassCsvTest, WritesTheAnswersThenTheTotals) {
    const std::vector<TMarkedAnswer> answers = SmallClass();
    EXPECT_EQ(
        ClassCsv(answers, CountClass(answers), TLanguage::Russian),
        "\xEF\xBB\xBFУченик;Задание;Ответ;Вердикт;Значение;Сообщение;Подсказка\r\n"
        "Оля;1.1;tg(y-z);неверно;Ошибка;Замечен неизвестный оператор;тангенс пишут tan: "
        "tan(y-z)\r\n"
        "Оля;1.1;sin(y-z);верно;-0,0697564737441253;;\r\n"
        "Петя;2.1;y^2+ln(z^2+4);неверно;Ошибка;Замечен неизвестный оператор;натуральный логарифм "
        "пишут log: log(z^2+4)\r\n"
        "Петя;1.1;sin(y-z)/3*3;верно по математике;-0,0697564737441252;;\r\n"
        "Петя;1.1;tg(y+z);неверно;Ошибка;Замечен неизвестный оператор;тангенс пишут tan: "
        "tan(y+z)\r\n"
        "Петя;1.1;;пусто;;;\r\n"
        "Оля;1.4;y;нечитаемо;;«1.4» — не задание: укажите ЗАДАНИЕ.ВАРИАНТ от 1.1 до 10.3;\r\n"
        "Вася;1.1;'=tg(z-y);неверно;Ошибка;Замечен неизвестный оператор;тангенс пишут tan: "
        "tan(z-y)\r\n"
        "Вася;2.1;;пусто;;;\r\n"
        "\r\n"
        "Ученик;Верно;Неверно;из них верно по математике;Пусто;Ответов\r\n"
        "Оля;1;1;0;0;2\r\n"
        "Петя;0;3;1;1;4\r\n"
        "Вася;0;1;0;1;2\r\n"
        "\r\n"
        "Задание;Верно;Неверно;из них верно по математике;Пусто;Ответов\r\n"
        "1.1;1;4;1;1;6\r\n"
        "2.1;0;1;0;1;2\r\n");
}

struct GuardRow {
    const char* field;
    const char* written;
};

class SpreadsheetTextTest : public testing::TestWithParam<GuardRow> {};

TEST_P(SpreadsheetTextTest, NeverRunsAsAFormula) {
    EXPECT_EQ(SpreadsheetText(GetParam().field), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Rows, SpreadsheetTextTest,
                         testing::Values(GuardRow{"=1+1", "'=1+1"}, GuardRow{"+y", "'+y"},
                                         GuardRow{"@a", "'@a"}, GuardRow{"-sin(z-y)", "'-sin(z-y)"},
                                         GuardRow{"-1+cmd|'/c calc'!A0", "'-1+cmd|'/c calc'!A0"},
                                         GuardRow{"-0,0697564737441253", "-0,0697564737441253"},
                                         GuardRow{"-1,2E15", "-1,2E15"},
                                         GuardRow{"sin(y)", "sin(y)"}, GuardRow{"", ""}));

} // namespace
