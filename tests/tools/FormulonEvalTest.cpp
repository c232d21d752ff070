// The console evaluator's output is a contract: one line per input line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "formulon/Version.h"

namespace {

std::string ReadAndRemove(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    return text;
}

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

// Runs the evaluator with 'arguments' (shell words) on 'input', with the
// environment settings 'locale' (English messages unless it says else);
// stdout goes to 'target' when given, else to a file that is read back.
RunResult RunEval(const std::string& input, const std::string& arguments,
                  const std::string& target = "", const std::string& locale = "LC_ALL=C") {
    // CTest runs the rows in parallel: each needs files of its own.
    const std::string base = testing::TempDir() + "formulon-eval-" + std::to_string(getpid());
    std::ofstream(base + ".in", std::ios::binary) << input;
    const std::string outPath = target.empty() ? base + ".out" : target;
    const std::string command = "env -u LC_ALL -u LC_MESSAGES -u LANG " + locale + " " +
                                FORMULON_EVAL + " " + arguments + " <" + base + ".in >" + outPath +
                                " 2>" + base + ".err";
    const int raw = std::system(command.c_str());
    RunResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", ReadAndRemove(base + ".err")};
    std::remove((base + ".in").c_str());
    if (target.empty())
        result.out = ReadAndRemove(outPath);
    return result;
}

// Runs the evaluator on 'input' and returns what it printed.
std::string RunEvaluator(const std::string& input, const std::string& options = "") {
    const RunResult result = RunEval(input, options);
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
}

struct EvalRow {
    const char* input;
    const char* line;
};

class FormulonEvalTest : public testing::TestWithParam<EvalRow> {};

TEST_P(FormulonEvalTest, PrintsOneLine) {
    EXPECT_EQ(RunEvaluator(std::string(GetParam().input) + "\n"),
              std::string(GetParam().line) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalTest,
    testing::Values(
        EvalRow{"sin(y-z)", "OK\t-0,0697564737441253\t"},
        EvalRow{"2/0", "OK\t~\tНельзя делить на ноль"},
        EvalRow{"tan(90)", "OK\tОшибка\tОшибка в тангенсах"},
        EvalRow{"2+(3", "OK\t\tНе хватает скобки \")\""}, EvalRow{"", "BLANK"},
        EvalRow{"2*x", "RAISE\tEConvertError\t'x' is not a valid floating point value\t"},
        EvalRow{"2/0.0", "RAISE\tEZeroDivide\tFloating point division by zero\t"},
        EvalRow{"0/0.0", "RAISE\tEInvalidOp\tInvalid floating point operation\t"},
        EvalRow{"10^200*10^200", "RAISE\tEOverflow\tFloating point overflow\t"},
        EvalRow{"1\t2", "OK\t1\\t2\t"}, EvalRow{"a\\b", "OK\ta\\\\b\t"},
        EvalRow{"\x01\x7f", "OK\t\\x01\\x7F\t"}, EvalRow{"7\r", "OK\t7\t"},
        EvalRow{"1\r2", "OK\t1\\r2\t"}, EvalRow{"√", "OK\t?\t"}, EvalRow{"ы", "OK\tы\t"},
        EvalRow{"2*ы", "RAISE\tEConvertError\t'ы' is not a valid floating point value\t"}));

TEST(FormulonEval, EmptiesTheRegisterBeforeEachFormula) {
    EXPECT_EQ(RunEvaluator("tan(90)\n7\n2,5\n"),
              "OK\tОшибка\tОшибка в тангенсах\nOK\t7\t\nOK\t~\tНеизвестный знак \",\"\n");
}

TEST(FormulonEval, ALastLineWithoutNewlineStillCounts) {
    EXPECT_EQ(RunEvaluator("1+1"), "OK\t2\t\n");
}

class FormulonEvalTraceTest : public testing::TestWithParam<EvalRow> {};

TEST_P(FormulonEvalTraceTest, PrintsTheStepsBeforeTheResult) {
    EXPECT_EQ(RunEvaluator(std::string(GetParam().input) + "\n", " --trace"), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalTraceTest,
    testing::Values(
        EvalRow{"10-2^2",
                "TRACE\tsubst\t10-2^2\nTRACE\tnorm\t10-2^2\nTRACE\tflat\t104\nOK\t104\t\n"},
        EvalRow{"2y", "TRACE\tsubst\t2(7)\nTRACE\tnorm\t2(7)\nTRACE\tinner\t7\nOK\tОшибка\t\n"},
        EvalRow{"tan(90)", "TRACE\tsubst\ttan(90)\nTRACE\tnorm\ttan(90)\nTRACE\tinner\t90\n"
                           "TRACE\tfunc\ttan(90)=~\nOK\tОшибка\tОшибка в тангенсах\n"},
        EvalRow{"1\t2*x", "TRACE\tsubst\t1\\t2*x\nTRACE\tnorm\t1\\t2*x\n"
                          "RAISE\tEConvertError\t'x' is not a valid floating point value\t\n"}));

TEST(FormulonEval, TracesEachFormulaOfTheInput) {
    EXPECT_EQ(RunEvaluator("7\n1+1\n", " --trace"),
              "TRACE\tsubst\t7\nTRACE\tnorm\t7\nOK\t7\t\n"
              "TRACE\tsubst\t1+1\nTRACE\tnorm\t1+1\nTRACE\tflat\t2\nOK\t2\t\n");
}
struct OptionRow {
    const char* arguments;
    const char* target; // stdout's destination; empty: a file read back
    int status;
    std::string out; // exact standard output, or "*" plus a part of it
    const char* err; // a part of standard error; empty: none at all
};

class FormulonEvalOptionTest : public testing::TestWithParam<OptionRow> {};

TEST_P(FormulonEvalOptionTest, AnswersTheOption) {
    const OptionRow& row = GetParam();
    const RunResult result = RunEval("1+1\n", row.arguments, row.target);
    EXPECT_EQ(result.status, row.status);
    if (row.out.starts_with('*')) {
        EXPECT_NE(result.out.find(row.out.substr(1)), std::string::npos) << result.out;
    } else if (*row.target == '\0') {
        EXPECT_EQ(result.out, row.out);
    }
    if (*row.err == '\0') {
        EXPECT_EQ(result.err, "");
    } else {
        EXPECT_NE(result.err.find(row.err), std::string::npos) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalOptionTest,
    testing::Values(
        OptionRow{"", "", 0, "OK\t2\t\n", ""},
        OptionRow{"--version", "", 0, std::string("formulon-eval ") + kProgramVersion + "\n", ""},
        OptionRow{"--help", "", 0, "*Usage: formulon-eval [--trace]\n", ""},
        OptionRow{"--version --help", "", 0, "*formulon-eval(1)", ""},
        OptionRow{"--help --bogus", "", 2, "", "unknown option '--bogus'"},
        OptionRow{"--bogus", "", 2, "", "formulon-eval: unknown option '--bogus'"},
        OptionRow{"-", "", 2, "", "unknown option '-'"},
        OptionRow{"formulas.txt", "", 2, "", "unexpected argument 'formulas.txt'"},
        OptionRow{"", "/dev/full", 1, "", "error writing the standard output"},
        OptionRow{"--version", "/dev/full", 1, "", "error writing the standard output"},
        OptionRow{"--check", "", 2, "", "option '--check' needs TASK.VARIANT"},
        OptionRow{"--check=2.2", "", 1, "WRONG\t2\t\t\n# 0 of 1 right\n", ""},
        OptionRow{"--explain=2.2", "", 1, "*Проверка: неверно\n", ""},
        OptionRow{"--explain", "", 2, "", "option '--explain' needs TASK.VARIANT"},
        OptionRow{"--explain 1.1 --check 1.1", "", 2, "",
                  "at most one of --check, --class, --explain"},
        OptionRow{"--check 0.1", "", 2, "", "'0.1' is not a task"},
        OptionRow{"--check 1.4", "", 2, "", "'1.4' is not a task"},
        OptionRow{"--check 01.1", "", 2, "", "'01.1' is not a task"},
        OptionRow{"--check 1.1 --tasks", "", 2, "",
                  "at most one of --check, --class, --explain and --tasks"},
        OptionRow{"--trace --check 1.1", "", 2, "", "--trace goes only with evaluating"},
        OptionRow{"--check 1.1", "/dev/full", 3, "", "error writing the standard output"}));

// Every mode reads lines alike: a byte-order mark and CRLF line ends are
// dropped, and a blank line is not a formula; none of these stops the run.
TEST(FormulonEval, InputHygiene) {
    EXPECT_EQ(RunEvaluator("\xEF\xBB\xBF"
                           "7\r\n\r\n  \t\r\n1+1\r\n"),
              "OK\t7\t\nBLANK\nBLANK\nOK\t2\t\n");
    EXPECT_EQ(RunEvaluator("\xEF\xBB\xBF\n7\n", " --trace"),
              "BLANK\nTRACE\tsubst\t7\nTRACE\tnorm\t7\nOK\t7\t\n");
}

struct CheckRow {
    const char* task;
    std::string answers;
    std::string lines; // standard output
    int status;
};

class FormulonEvalCheckTest : public testing::TestWithParam<CheckRow> {};

TEST_P(FormulonEvalCheckTest, JudgesAsTheQuizDoes) {
    const RunResult result = RunEval(GetParam().answers, std::string("--check ") + GetParam().task);
    EXPECT_EQ(result.out, GetParam().lines);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_EQ(result.err, "");
}

const std::string kRight11 = "RIGHT\t-0,0697564737441253\t\n";
const std::string kSpaces(32767 - 8, ' '); // "sin(y-z)" and these fill the box

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalCheckTest,
    testing::Values(
        CheckRow{"1.1", "sin(y-z)\n", kRight11 + "# 1 of 1 right\n", 0},
        CheckRow{"1.1", "\xEF\xBB\xBFSIN(Y-Z)\r\n-sin(z-y)\r\n",
                 kRight11 + kRight11 + "# 2 of 2 right\n", 0},
        CheckRow{"1.1", "sin(y+z)", "WRONG\t0,309016994374947\t\t\n# 0 of 1 right\n", 1},
        CheckRow{"1.1", "2*x\n",
                 "WRONG\t'x' is not a valid floating point value\tимя «x» программа не знает: "
                 "функции — sin, cos, tan, atn, log, sqr, exp, abs; переменные — y и z\t\n"
                 "# 0 of 1 right\n",
                 1},
        CheckRow{"1.1", "2/0\n1+(2\n",
                 "WRONG\t~\t\tНельзя делить на ноль\nWRONG\t\tскобка «(» не закрыта: допишите "
                 "«)»\tНе хватает скобки \")\"\n# 0 of 2 right\n",
                 1},
        // The hint column: the first of the explanation's hints; then the
        // answer's own message.
        CheckRow{"1.1", "tg(y-z)\nsin y-z\n",
                 "WRONG\tОшибка\tтангенс пишут tan: tan(y-z)\tЗамечен неизвестный оператор\n"
                 "WRONG\t-10,8781306565949\tпрограмма прочла sin(y)-z; если под синусом y-z, "
                 "пишите sin(y-z)\t\n# 0 of 2 right\n",
                 1},
        CheckRow{"2.1", "lg(z^2+4)\n",
                 "WRONG\tОшибка\tln на картинке — натуральный логарифм, его пишут log(z^2+4)\t"
                 "Замечен неизвестный оператор\n# 0 of 1 right\n",
                 1},
        CheckRow{"1.1", "\n \t\nsin(y-z)\n", "BLANK\nBLANK\n" + kRight11 + "# 1 of 3 right\n", 1},
        CheckRow{"1.1", "\xFF\n", "INVALID\tnot UTF-8 at byte 1 (0xFF)\n# 0 of 1 right\n", 1},
        CheckRow{"1.1", "1\xC0\x80\n", "INVALID\tnot UTF-8 at byte 2 (0xC0)\n# 0 of 1 right\n", 1},
        CheckRow{"1.1", "\xED\xA0\x80\n", "INVALID\tnot UTF-8 at byte 1 (0xED)\n# 0 of 1 right\n",
                 1},
        CheckRow{"1.1", "\xF4\x90\x80\x80\n",
                 "INVALID\tnot UTF-8 at byte 1 (0xF4)\n# 0 of 1 right\n", 1},
        CheckRow{"1.1", "sin(y\xD0\n", "INVALID\tnot UTF-8 at byte 6 (0xD0)\n# 0 of 1 right\n", 1},
        CheckRow{"1.1", "1\t2\n", "WRONG\t1\\t2\t\t\n# 0 of 1 right\n", 1},
        CheckRow{"1.1", "sin(y-z)" + kSpaces + "+1\n", kRight11 + "# 1 of 1 right\n", 0},
        CheckRow{"1.1", "sin(y-z)" + kSpaces.substr(1) + "+1\n", "WRONG\t~\t\t\n# 0 of 1 right\n",
                 1},
        CheckRow{"9.3", "(4.5*TAN(Z^2-3*Y-10)^EXP(Y-Z))/(SIN(ABS(Z-Y^10+5))^COS(3*Z^2-Y^5))\n1\n",
                 "RIGHT\tОшибка\t\nWRONG\t1\t\t\n# 1 of 2 right\n", 1},
        CheckRow{"10.3", "", "# 0 of 0 right\n", 0}));

// A class file fed to --check: still judged line by line, and the teacher is
// told once, on the standard error, which mode reads it.
TEST(FormulonEvalCheckTest, SaysOnceThatAClassFileIsForClass) {
    const RunResult result =
        RunEval("sin(y-z)\nAnna\t1.1\tsin(y-z)\nBoris;\"2,3\";y\n", "--check 1.1");
    EXPECT_EQ(result.err, "formulon-eval: line 2 looks like a line of a class file (pupil, task, "
                          "answer): --check reads one answer a line; a class file is marked with "
                          "--class\n");
    EXPECT_EQ(result.status, 1);
}

// --explain: what "Разбор ответа" shows, a row for each case it was wrong
// or unhelpful in. Each text of 'once' is printed exactly once, none of
// 'never' at all (the task's value among them).
struct ExplainRow {
    const char* task;
    const char* answer;
    std::vector<const char*> once;
    std::vector<const char*> never;
};

class FormulonEvalExplainTest : public testing::TestWithParam<ExplainRow> {};

TEST_P(FormulonEvalExplainTest, ShowsWhatTheWindowShows) {
    const ExplainRow& row = GetParam();
    const RunResult result =
        RunEval(std::string(row.answer) + "\n", std::string("--explain ") + row.task);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.starts_with(std::string("Ваш ответ: ") + row.answer + "\n"));
    for (const char* text : row.once) {
        const std::size_t at = result.out.find(text);
        EXPECT_NE(at, std::string::npos) << text << "\n" << result.out;
        EXPECT_EQ(result.out.find(text, at + 1), std::string::npos) << "twice: " << text;
    }
    for (const char* text : row.never)
        EXPECT_EQ(result.out.find(text), std::string::npos) << text << "\n" << result.out;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalExplainTest,
    testing::Values(
        ExplainRow{"1.1",
                   "sin y-z",
                   {"  ваше значение по модулю примерно в 100 раз больше\n",
                    "Символ 5: программа прочла sin(y)-z; если под синусом y-z, пишите sin(y-z)\n",
                    "Углы программа берёт в градусах", "Функция: sin 7° = 0,121869343405147;"},
                   {"10^", "Знак ", "-0,0697564737441253"}},
        ExplainRow{"1.1",
                   "-0.0697564737441",
                   {"  в ответе нет переменных y и z: наберите формулу, а не число\n"},
                   {"математически", "верен по математике", "-0,0697564737441253"}},
        ExplainRow{"6.3",
                   "1.5*tan(z^2+y^(z-6.2))/(z^5-5)",
                   {"ваш ответ верен по математике", "Пишите формулу так, как на картинке, не "
                                                     "упрощая\n"},
                   {"другом порядке", "-1,70834625099798E-6"}},
        ExplainRow{"10.1",
                   "(abs(tan(3*sin(3*y-z)^2+exp(z^(-2)))^exp((y^0.5-3)^2)))^(1/2)/(7.03*sin((y-z)"
                   "^3-((y+z)^2)))-5.63",
                   {"ваш ответ верен по математике", "без лишних скобок\n"},
                   {"-5,61317313490486"}},
        ExplainRow{"3.3",
                   "(sin(y-3*z)^2+exp(y)-3)^(1/3)",
                   {"Степень: (-0,438371146789077)^2 = 0,19216926233717;",
                    "Функция: sin(-26°) = -0,438371146789077;"},
                   {"Степень: -0,438371146789077^2"}},
        ExplainRow{"3.3",
                   "sin^2(y-3*z)",
                   {"Символ 4: степень функции пишут после её скобок: sin(y-3*z)^2\n",
                    "стоит показатель степени 2 функции sin: степень функции пишут после её "
                    "скобок: sin(…)^2"},
                   {"пропущен знак «*»", "нужна скобка"}},
        ExplainRow{"1.1",
                   "sin(y-z",
                   {"Скобки в ответе не сходятся: открывающих 1, закрывающих 0",
                    "Не хватает скобки \")\""},
                   {"программа сообщила"}},
        ExplainRow{"7.3",
                   "arctg(100)",
                   {"Функция arctg(100) не вычислена: такой функции программа не знает",
                    "Символ 1: арктангенс пишут atn: atn(100)\n"},
                   {"=~"}},
        ExplainRow{
            "1.1", "z^2-21", {"Степень: 11^2 = 121; формула стала такой: 121-21\n"}, {"запись"}},
        ExplainRow{"1.1",
                   "10-y^2",
                   {"Картинка (TeX): 10\\boxed{-y^2}\n",
                    "Символ 3: программа прочла 10-y^2 не как вычитание: минус перед степенью она "
                    "отнесла к основанию и возвела в степень -y\n"},
                   {}},
        ExplainRow{"1.1", "-64-18^2", {"Символ 4: программа прочла -64-18^2 не как вычитание"}, {}},
        ExplainRow{"1.1",
                   "синус(y-z)",
                   {"Символ 1: «синус» пишут латинскими буквами: sin(y-z)\n"},
                   {"наберите латинскую"}},
        ExplainRow{"1.2",
                   "cos 3*y-5",
                   {"Символ 5: после cos нет скобки, и программа cos не вычисляет; если под "
                    "косинусом 3*y-5, пишите cos(3*y-5)\n"},
                   {"cos(3)"}},
        ExplainRow{"2.1",
                   "lg(z^2+4)",
                   {"Символ 1: ln на картинке — натуральный логарифм, его пишут log(z^2+4)\n"},
                   {"log(10)"}},
        ExplainRow{"1.1",
                   "arctan(y-z)",
                   {"Символ 1: арктангенс пишут atn: atn(y-z)\n"},
                   {"программа не знает: функции"}},
        ExplainRow{"1.1",
                   "ышт(н-я)",
                   {"Символ 1: переключите раскладку на латинскую: ышт — это sin\n",
                    "Символ 5: переключите раскладку на латинскую: н — это y\n",
                    "Символ 7: переключите раскладку на латинскую: я — это z\n"},
                   {"«ш»", "«т»"}},
        ExplainRow{"1.1", "2/0", {"Сообщение: Нельзя делить на ноль\n"}, {"сообщила"}}));

TEST(FormulonEval, ReadFailuresAreNotAnswers) {
    const std::string command = std::string(FORMULON_EVAL) + " --check 1.1 </ >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 3);
}

TEST(FormulonEval, TasksListsTheThirtyReferenceFormulasWithTheirValues) {
    const std::string out = RunEvaluator("", " --tasks");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 30);
    EXPECT_TRUE(out.starts_with("1\t1\tsin(y-z)\t-0,0697564737441253\n1\t2\tcos(3*y-5)\t")) << out;
    EXPECT_NE(out.find("\n2\t2\t3*z+exp(y+5)\t162787,791419004\n"), std::string::npos);
    EXPECT_NE(out.find("\n9\t3\t(4.5*tan(z^2-3*y-10)^exp(y-z))/"), std::string::npos);
    EXPECT_TRUE(out.ends_with("\t8,52408243490287\n")) << out;
}

// --class: the exit statuses, and what a teacher reads, in the locale's language.
struct ClassRow {
    const char* locale;
    const char* arguments;
    std::string input;
    int status;
    const char* out; // a part of standard output
    const char* err; // a part of standard error; empty: none at all
    const char* target = "";
};

class FormulonEvalClassTest : public testing::TestWithParam<ClassRow> {};

TEST_P(FormulonEvalClassTest, MarksTheClass) {
    const ClassRow& row = GetParam();
    const RunResult result = RunEval(row.input, row.arguments, row.target, row.locale);
    EXPECT_EQ(result.status, row.status);
    EXPECT_NE(result.out.find(row.out), std::string::npos) << result.out;
    if (*row.err == '\0')
        EXPECT_EQ(result.err, "");
    else
        EXPECT_NE(result.err.find(row.err), std::string::npos) << result.err;
}

const std::string kClass = "Оля;1.1;sin(y-z)\nОля;1.4;y\n";
constexpr const char* kC = "LC_ALL=C";
constexpr const char* kRu = "LANG=ru_RU.UTF-8";

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalClassTest,
    testing::Values(
        ClassRow{kC, "--class", "Оля,1.1,sin(y-z)", 0, "Оля,1.1,sin(y-z),right,", ""},
        // Two lines of the results log, as ResultsLineTest pins them.
        ClassRow{kC, "--class",
                 "ivanov\t3.2\ty/z\t2026-12-08T20:00:00+03:00\tОля\tquiz\tRIGHT\t75\n"
                 "ivanov\t3.2\t2\t2026-12-08T20:00:00+03:00\tОля\tpractice\tWRONG\t\n",
                 0, "ivanov,3.2,2,wrong,2,", ""},
        ClassRow{kC, "--class /dev/stdin", kClass, 1, "Оля,1.1,sin(y-z),right,",
                 "formulon-eval: /dev/stdin, line 2: '1.4' is not a task"},
        ClassRow{kRu, "--class -", kClass, 1, "Ученик;Задание;Ответ;Вердикт",
                 "formulon-eval: стандартный ввод, строка 2: «1.4» — не задание"},
        ClassRow{kC, "--class /nonexistent", "", 3, "", "cannot read '/nonexistent': no such file"},
        ClassRow{kRu, "--class /", "", 3, "", "не удаётся прочитать «/»: это папка"},
        ClassRow{kC, "--class=- --html /nonexistent/r.html", kClass, 3, "",
                 "cannot write '/nonexistent/r.html'"},
        ClassRow{kC, "--class /dev/stdin --html /dev/stdin", kClass, 2, "", "would overwrite"},
        ClassRow{kC, "--class", kClass, 3, "", "error writing the standard output", "/dev/full"},
        ClassRow{kC, "--html r.html", "", 2, "", "--html goes only with --class"},
        ClassRow{kC, "--class --html", "", 2, "", "option '--html' needs a file name"},
        ClassRow{kC, "--class --encoding latin1", "", 2, "", "'latin1' is not an encoding"},
        ClassRow{kC, "--tasks --encoding cp1251", "", 2, "", "--encoding goes only with"},
        ClassRow{kC, "--class --check 1.1", "", 2, "", "at most one of"},
        ClassRow{kC, "--check 1.1 --encoding=CP1251", "2*\xFB\n", 1,
                 "WRONG\t'ы' is not a valid floating point value\t«ы» — русская буква", ""},
        ClassRow{kRu, "--check 1.1", "\xFF\n", 1, "INVALID\tне UTF-8 в байте 1 (0xFF)\n", ""}));

struct LocaleRow {
    const char* locale; // environment settings
    const char* arguments;
    const char* out; // a part of standard output
    const char* err; // a part of standard error
};

class FormulonEvalLocaleTest : public testing::TestWithParam<LocaleRow> {};

TEST_P(FormulonEvalLocaleTest, SpeaksTheLocalesLanguage) {
    const RunResult result = RunEval("", GetParam().arguments, "", GetParam().locale);
    EXPECT_NE(result.out.find(GetParam().out), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(GetParam().err), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalLocaleTest,
    testing::Values(LocaleRow{"LANG=ru_RU.UTF-8", "--help", "Запуск: formulon-eval [--trace]\n",
                              ""},
                    LocaleRow{"LC_MESSAGES=ru_RU.UTF-8 LANG=en_GB.UTF-8", "--help", "Запуск:", ""},
                    LocaleRow{"LC_ALL=ru_RU.UTF-8 LC_MESSAGES=C", "--help", "Запуск:", ""},
                    LocaleRow{"LC_ALL=C LANG=ru_RU.UTF-8", "--help", "Usage:", ""},
                    LocaleRow{"LANG=rue_UA", "--help", "Usage:", ""},
                    LocaleRow{"LC_ALL= LANG=ru_UA.UTF-8", "--help", "Запуск:", ""},
                    LocaleRow{"LANG=ru_RU.UTF-8", "--bogus", "", "неизвестный параметр «--bogus»"},
                    LocaleRow{"LANG=ru_RU.UTF-8", "--check 0.1", "", "«0.1» — не задание"}));

// The help speaks to teachers, not to the program's developers.
TEST(FormulonEval, HelpNamesNoInternals) {
    for (const char* locale : {"LC_ALL=C", "LC_ALL=ru_RU.UTF-8"}) {
        const std::string help = RunEval("", "--help", "", locale).out;
        for (const char* internal : {"LastErrorText", "EConvertError", "FormulaValue", "Edit1"})
            EXPECT_EQ(help.find(internal), std::string::npos) << locale << ": " << internal;
    }
}

// Task sets: --lint's verdicts and --set for the modes that judge. Without
// Qt, formulon-eval has no typesetter and says the TeX went unchecked.
class FormulonEvalSetTest : public testing::TestWithParam<ClassRow> {};

TEST_P(FormulonEvalSetTest, ReadsTheSet) {
    const ClassRow& row = GetParam();
    const RunResult result = RunEval(row.input, row.arguments, row.target, row.locale);
    EXPECT_EQ(result.status, row.status) << result.err;
    EXPECT_NE(result.out.find(row.out), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(row.err), std::string::npos) << result.err;
}

#define EXAMPLE " " FORMULON_SOURCE_DIR "/resources/tasks/example.tasks"
constexpr int kTypesetOr1 = FORMULON_EVAL_TYPESETS ? 0 : 1;
constexpr int kTexRefusedOr1 = FORMULON_EVAL_TYPESETS ? 2 : 1;

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulonEvalSetTest,
    testing::Values(
        ClassRow{kC, "--lint" EXAMPLE, "", kTypesetOr1, "10 tasks, 20 variants: no warnings.", ""},
        ClassRow{kC, "--lint " FORMULON_SOURCE_DIR "/quiz/core/tasks/standard.tasks", "", 1,
                 "10 tasks, 30 variants; warnings for 6.1, 9.2, 9.3, 10.1.\n", ""},
        ClassRow{kRu, "--lint /dev/stdin", "% Набор: Проба\nP11 y*z+1.234 \\foo\n", kTexRefusedOr1,
                 "Набор: Проба\n1.1 (строка 2): 78,234\n", ""},
        ClassRow{kC, "--lint /dev/stdin", "P11 y*z+1.234 \\sin\\foo\n", kTexRefusedOr1,
                 FORMULON_EVAL_TYPESETS ? "the picture's TeX of 1.1 does not typeset"
                                        : "the picture module",
                 ""},
        ClassRow{kC, "--lint /dev/stdin", "P11 y/0 x\n", 2, "",
                 "/dev/stdin: the task set is refused: line 1: the formula y/0 gives no value"},
        ClassRow{kC, "--lint", "", 2, "", "option '--lint' needs a file name"},
        ClassRow{kC, "--tasks", "", 0, ")\tОшибка\n",
                 "9.3: the value is the error text \"Ошибка\": any answer"},
        ClassRow{kRu, "--tasks --set" EXAMPLE, "", 0, "1\t1\tsin(y+z)\t0,309016994374947\n", ""},
        ClassRow{kC, "--check 10.2 --set" EXAMPLE, "sqr(abs(tan(y^2-3*z))+z)*sin(log(y*z)+5.5)\n",
                 0, "RIGHT\t0,574362519948147\t\n# 1 of 1 right", ""},
        ClassRow{kC, "--check 10.3 --set" EXAMPLE, "", 2, "",
                 "'10.3' is not a task: give TASK.VARIANT, task 1 to 10, variant 1 to 2"},
        ClassRow{kC, "--class --set" EXAMPLE, "Оля;2.2;exp(z-y)+z^2\n", 0,
                 "Оля,2.2,exp(z-y)+z^2,right,", ""},
        ClassRow{kRu, "--tasks --set /dev/null", "", 2, "",
                 "не принят: в файле нет ни одного задания"},
        ClassRow{kC, "--tasks --set /nonexistent", "", 1, "",
                 "cannot read '/nonexistent': no such file"},
        ClassRow{kC, "--explain 1.1 --set" EXAMPLE, "", 2, "", "--set goes only with"}));

} // namespace
