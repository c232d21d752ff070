// Whole formulas: brackets, folds, built-in functions and the entry point.
#include "EngineTestSupport.h"

#include "engine/Errors.h"
#include "engine/Formula.h"
#include "engine/X87Functions.h"
#include "engine/detail/FormulaSteps.h"

using namespace formulon::engine;

namespace {

struct FormulaRow {
    const char* formula;
    const char* value;
    const char* message;
};

class FormulaValueTest : public testing::TestWithParam<FormulaRow> {};

void ExpectRow(const FormulaRow& row) {
    PrimeRegister();
    EXPECT_EQ(Cp1251ToUtf8(FormulaValue(Cp(row.formula))), row.value) << row.formula;
    EXPECT_EQ(RegisterUtf8(), row.message) << row.formula;
}

TEST_P(FormulaValueTest, GivesTheResultTextAndMessage) {
    ExpectRow(GetParam());
}

const char* const kFail = "Ошибка";

INSTANTIATE_TEST_SUITE_P(
    Groups, FormulaValueTest,
    testing::Values(
        FormulaRow{"2*sin(y+23)-(z-20)", "10", kUnchanged}, FormulaRow{"5+(2-3)", "4", kUnchanged},
        FormulaRow{"5-(2-3)", "6", kUnchanged}, FormulaRow{"3*(-2)", "-6", kUnchanged},
        FormulaRow{"2^(-1)", "0,5", kUnchanged}, FormulaRow{"((2))", "2", kUnchanged},
        FormulaRow{"(2+3)*(4-1)", "15", kUnchanged}, FormulaRow{"-(2-3)", "+1", kUnchanged},
        FormulaRow{"7", "7", kUnchanged}, FormulaRow{"", "", kUnchanged},
        FormulaRow{"()", "", kUnchanged},
        FormulaRow{"(-8)^(1/3)", "~", "Невозможно возведение в степень "},
        FormulaRow{"2/(1-1)", "~", "Нельзя делить на ноль"},
        FormulaRow{"(2/0)", kFail, "Нельзя делить на ноль"},
        FormulaRow{"2+(3", "", "Не хватает скобки \")\""},
        FormulaRow{"2+3)", "", "Не хватает скобки \"(\""},
        FormulaRow{"*(2)", kFail, "Ошибка в скобках"}, FormulaRow{"2+*(3)", kFail, kUnchanged},
        FormulaRow{"2y", kFail, kUnchanged}, FormulaRow{"(1)(2)", kFail, kUnchanged},
        FormulaRow{"2,5", "~", "Неизвестный знак \",\""}, FormulaRow{"147.0", "147,0", kUnchanged},
        FormulaRow{"y", "7", kUnchanged}, FormulaRow{"x", "x", kUnchanged},
        FormulaRow{"-sin(z-y)", "-0,0697564737441253", kUnchanged}));

INSTANTIATE_TEST_SUITE_P(
    Functions, FormulaValueTest,
    testing::Values(
        FormulaRow{"sin(30)", "0,5", kUnchanged}, FormulaRow{"cos(60)", "0,5", kUnchanged},
        FormulaRow{"atn(1)", "45", kUnchanged}, FormulaRow{"sqr(16)", "4", kUnchanged},
        FormulaRow{"exp(0)", "1", kUnchanged}, FormulaRow{"log(1)", "0", kUnchanged},
        FormulaRow{"abs(y-z)", "4", kUnchanged},
        FormulaRow{"exp(1)", "2,71828182845905", kUnchanged},
        FormulaRow{"sin(cos(60))", "0,00872653549837393", kUnchanged},
        FormulaRow{"2sin(30)", "20,5", kUnchanged}, FormulaRow{"tan(45)", "1", kUnchanged},
        FormulaRow{"sin(1E21)", "0", kUnchanged}, FormulaRow{"cos(-1E21)", "0", kUnchanged},
        FormulaRow{"exp(9000)", "4,47030473316544E3908", kUnchanged},
        FormulaRow{"tan(90)", kFail, "Ошибка в тангенсах"},
        FormulaRow{"tan(-270)", kFail, "Ошибка в тангенсах"},
        FormulaRow{"tan(1E20)", kFail, "Ошибка в тангенсах"},
        FormulaRow{"log(0)", kFail, "Ошибка в логарифмах"},
        FormulaRow{"log(-1)", kFail, "Ошибка в логарифмах"},
        FormulaRow{"sqr(-4)", kFail, "Невозможно вычислить"},
        FormulaRow{"exp(9001)", kFail, "Ошибка возведения в степень e"},
        FormulaRow{"exp(-9001)", kFail, "Ошибка возведения в степень e"},
        FormulaRow{"foo(1)", kFail, "Замечен неизвестный оператор"},
        FormulaRow{"SIN(30)", kFail, "Замечен неизвестный оператор"}));

// Digits that only the x87 instructions give; other processors differ in
// the last bits.
class X87DigitsTest : public FormulaValueTest {
protected:
    void SetUp() override {
        if (!UsesX87Instructions())
            GTEST_SKIP() << "these digits come from the x87 instructions";
    }
};

TEST_P(X87DigitsTest, GivesTheProcessorsDigits) {
    ExpectRow(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, X87DigitsTest,
    testing::Values(FormulaRow{"sin(180)", "-5,42101086242752E-20", kUnchanged},
                    FormulaRow{"tan(450)", "-2,1702051851423E18", kUnchanged},
                    FormulaRow{"sin(y-z)", "-0,0697564737441253", kUnchanged}));

struct RaiseRow {
    const char* formula;
    const char* message;
};

class FormulaValueRaises : public testing::TestWithParam<RaiseRow> {};

TEST_P(FormulaValueRaises, AndLeavesTheRegisterAlone) {
    PrimeRegister();
    try {
        FormulaValue(GetParam().formula);
        FAIL() << "no error for " << GetParam().formula;
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), GetParam().message);
    }
    EXPECT_EQ(RegisterUtf8(), kUnchanged);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaValueRaises,
    testing::Values(RaiseRow{"2*x", "'x' is not a valid floating point value"},
                    RaiseRow{"2/0.0", "Floating point division by zero"},
                    RaiseRow{"0/0.0", "Invalid floating point operation"},
                    RaiseRow{"10^200*10^200", "Floating point overflow"},
                    RaiseRow{"2+()", "'' is not a valid floating point value"},
                    RaiseRow{"sin()", "'' is not a valid floating point value"},
                    RaiseRow{"1..5*2", "'1,,5' is not a valid floating point value"},
                    RaiseRow{"(-2)^(3E9)", "Invalid floating point operation"},
                    RaiseRow{")2+3(", "')2' is not a valid floating point value"}));

struct FoldRow {
    int p;
    const char* text;
    const char* value;
    const char* number;
    const char* remainder;
};

class FoldGroupValueTest : public testing::TestWithParam<FoldRow> {};

TEST_P(FoldGroupValueTest, PutsTheValueBack) {
    const TOperandSplit split = FoldGroupValue(GetParam().p, GetParam().text, GetParam().value);
    EXPECT_EQ(split.Number, GetParam().number) << GetParam().text;
    EXPECT_EQ(split.Remainder, GetParam().remainder) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FoldGroupValueTest,
    testing::Values(FoldRow{1, "(2)", "2", "2", ""}, FoldRow{2, "((2))", "2", "2", "("},
                    FoldRow{3, "2^(-1)", "-1", "-1", "2^"}, FoldRow{3, "3*(-2)", "-2", "-2", "3*"},
                    FoldRow{3, "3/(2)", "2", "2", "3/"}, FoldRow{3, "5+(-1)", "-1", "1", "5-"},
                    FoldRow{3, "5-(-1)", "-1", "1", "5+"}, FoldRow{3, "5+(1)", "1", "1", "5+"},
                    FoldRow{3, "5-(-0)", "-0", "-0", "5-"}, FoldRow{2, "*(2)", "2", "~", "*"},
                    FoldRow{4, "2+*(3)", "3", "~", "2+*"}, FoldRow{5, "2sin(30)", "30", "0,5", "2"},
                    FoldRow{2, "2(7)", "7", "~", "2"}, FoldRow{4, "(1)(2)", "2", "~", "(1)"},
                    FoldRow{3, "2,(7)", "7", "~", "2,"}));

struct NameRow {
    int high;
    const char* text;
    const char* name;
    const char* remainder;
};

class ScanFunctionNameTest : public testing::TestWithParam<NameRow> {};

TEST_P(ScanFunctionNameTest, FindsTheName) {
    const TOperandSplit split = ScanFunctionName(1, GetParam().high, GetParam().text);
    EXPECT_EQ(split.Number, GetParam().name);
    EXPECT_EQ(split.Remainder, GetParam().remainder);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScanFunctionNameTest,
    testing::Values(NameRow{2, "sin(30)", "sin", ""}, NameRow{3, "2sin(30)", "sin", "2"},
                    NameRow{4, "2+sin(30)", "sin", "2+"}, NameRow{2, "SIN(30)", "N", "SI"},
                    NameRow{0, "s(1)", "s", ""}, NameRow{3, "2sIn(1)", "n", "2sI"},
                    NameRow{4, "2,sin(1)", ",sin", "2"}));

TEST(FormulaValueLength, ALongAnswerKeepsOnly255CharactersInFrontOfAGroup) {
    std::string answer;
    for (int i = 0; i < 200; ++i)
        answer += "1+";
    // A full count would give 202; in front of the group only the first
    // 255 characters stay, and the operand splits cut them further.
    EXPECT_EQ(FormulaValue(answer + "(2)"), "139");
}

} // namespace
