// The console evaluator's output is a contract: one line per formula.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "formulon/Version.h"

namespace {

// Runs the evaluator on 'input' and returns what it printed.
std::string RunEvaluator(const std::string& input, const std::string& options = "") {
    // CTest runs the rows in parallel: each needs a file of its own.
    const std::string inputPath =
        testing::TempDir() + "formulon-eval-" + std::to_string(getpid()) + ".txt";
    std::ofstream(inputPath, std::ios::binary) << input;
    const std::string command = std::string(FORMULON_EVAL) + options + " < " + inputPath;
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    std::remove(inputPath.c_str());
    return output;
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
        EvalRow{"2+(3", "OK\t\tНе хватает скобки \")\""}, EvalRow{"", "OK\t\t"},
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

// Runs the evaluator with 'arguments' (shell words) on one formula; stdout
// goes to 'target' when given, else to a file that is read back.
RunResult RunWithArguments(const std::string& arguments, const std::string& target) {
    const std::string base = testing::TempDir() + "formulon-eval-args-" + std::to_string(getpid());
    const std::string outPath = target.empty() ? base + ".out" : target;
    const std::string command = "echo 1+1 | " + std::string(FORMULON_EVAL) + " " + arguments +
                                " >" + outPath + " 2>" + base + ".err";
    const int raw = std::system(command.c_str());
    RunResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", ReadAndRemove(base + ".err")};
    if (target.empty())
        result.out = ReadAndRemove(outPath);
    return result;
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
    const RunResult result = RunWithArguments(row.arguments, row.target);
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
        OptionRow{"--help", "", 0, "*Usage: formulon-eval [--trace] [--help | --version]\n", ""},
        OptionRow{"--version --help", "", 0, "*formulon-eval(1)", ""},
        OptionRow{"--help --bogus", "", 2, "", "unknown option '--bogus'"},
        OptionRow{"--bogus", "", 2, "", "formulon-eval: unknown option '--bogus'"},
        OptionRow{"-", "", 2, "", "unknown option '-'"},
        OptionRow{"formulas.txt", "", 2, "", "unexpected argument 'formulas.txt'"},
        OptionRow{"", "/dev/full", 1, "", "error writing the standard output"},
        OptionRow{"--version", "/dev/full", 1, "", "error writing the standard output"}));

} // namespace
