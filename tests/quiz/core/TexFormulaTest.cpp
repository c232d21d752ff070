// Answers typeset as the engine reads them, and the texts it cannot read.
#include "tests/engine/EngineTestSupport.h"

#include "quiz/core/TaskCatalogue.h"
#include "quiz/core/TexFormula.h"

using namespace formulon::engine;

namespace {

struct TexRow {
    const char* formula;
    const char* tex;
};

class FormulaToTexTest : public testing::TestWithParam<TexRow> {};

TEST_P(FormulaToTexTest, TypesetsTheReading) {
    const TTexFormula result = FormulaToTex(Cp(GetParam().formula));
    EXPECT_TRUE(result.Read) << GetParam().formula << ": " << Cp1251ToUtf8(result.Problem);
    EXPECT_EQ(result.Tex, GetParam().tex) << GetParam().formula;
}

INSTANTIATE_TEST_SUITE_P(Grouping, FormulaToTexTest,
                         testing::Values(
                             // One level groups to the left, as the engine's passes apply it.
                             TexRow{"2^3^2", "(2^3)^2"}, TexRow{"8/2/2", "\\frac{\\frac{8}{2}}{2}"},
                             TexRow{"y*z/2*y", "\\frac{yz}{2}y"}, TexRow{"y^1/2", "\\frac{y^1}{2}"},
                             TexRow{"y^(1/2)", "y^{\\frac{1}{2}}"},
                             TexRow{"(y+1)/(z-1)", "\\frac{y+1}{z-1}"},
                             // A minus in front of a power's base belongs to the base.
                             TexRow{"-2^2", "(-2)^2"}, TexRow{"3*-y^2", "3(-y)^2"},
                             TexRow{"2^-1", "2^{-1}"}, TexRow{"2--3", "2-(-3)"},
                             TexRow{"2+-3*4", "2+(-3)\\cdot 4"}, TexRow{"-3*2", "-3\\cdot 2"},
                             TexRow{"+3", "+3"}, TexRow{"-(2-3)", "-(2-3)"}));

INSTANTIATE_TEST_SUITE_P(
    Notation, FormulaToTexTest,
    testing::Values(
        TexRow{"3*atn(z^2-3*y)+sin(y)", "3\\arctg(z^2-3y)+\\sin y"},
        TexRow{"abs(sin(y^2-4*z)-3*exp(y-2))", "\\left|\\sin(y^2-4z)-3e^{y-2}\\right|"},
        TexRow{"sin(z^2-y)^cos(y)", "\\sin^{\\cos y}(z^2-y)"},
        TexRow{"tan(log(25-2*z)+sqr(y^3-5))",
               "\\tg\\mathopen{}\\left(\\ln(25-2z)+\\sqrt{y^3-5}\\right)"},
        TexRow{"exp(1)", "e"}, TexRow{"z^exp(1/y)", "z^{e^{\\frac{1}{y}}}"},
        TexRow{"exp(y)^2", "(e^y)^2"}, TexRow{"sqr(y)^2", "\\left(\\sqrt{y}\\right)^2"},
        TexRow{"abs(y)^2", "|y|^2"}, TexRow{"abs(2*abs(y))", "\\left|2|y|\\right|"},
        TexRow{"sin(y)^-1", "(\\sin y)^{-1}"}, TexRow{"siny", "\\sin y"},
        TexRow{"1 . 5*2", "1{,}5\\cdot 2"}, TexRow{"007", "007"}, TexRow{"2 3", "23"},
        // Juxtaposition, with a dot where it would misread.
        TexRow{"y*2.5", "y\\cdot 2{,}5"}, TexRow{"(y+1)*(z-1)", "(y+1)(z-1)"},
        TexRow{"sin(y)*z", "\\sin y\\cdot z"}, TexRow{"log(y)*(y+1)", "\\ln y\\cdot (y+1)"},
        TexRow{"cos(2*y)*(y+1)", "\\cos(2y)\\cdot (y+1)"}, TexRow{"2*3/y", "\\frac{2\\cdot 3}{y}"},
        TexRow{"y*(1/2)", "y\\left(\\frac{1}{2}\\right)"}, TexRow{"y*1/2", "\\frac{y\\cdot 1}{2}"},
        TexRow{"abs(y)*abs(z)^2", "|y|\\cdot |z|^2"}));

struct RefusalRow {
    const char* formula;
    int position;
    std::string problem;
};

class FormulaToTexRefusalTest : public testing::TestWithParam<RefusalRow> {};

TEST_P(FormulaToTexRefusalTest, NamesTheFirstProblem) {
    const TTexFormula result = FormulaToTex(Cp(GetParam().formula));
    EXPECT_FALSE(result.Read) << GetParam().formula << " read as " << result.Tex;
    EXPECT_EQ(result.ProblemPos, GetParam().position) << GetParam().formula;
    EXPECT_EQ(Cp1251ToUtf8(result.Problem), GetParam().problem) << GetParam().formula;
}

// A mistake a hint words is named in the hint's words (the hints' table
// test has each rule); the reading's own words only where no hint is.
std::string Unknown(const char* name) {
    return std::string("имя «") + name +
           "» программа не знает: функции — sin, cos, tan, atn, log, sqr, exp, abs; переменные — y "
           "и z";
}
INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaToTexRefusalTest,
    testing::Values(
        RefusalRow{"2y", 2, "пропущен знак умножения: 2*y"},
        RefusalRow{"(2)(3)", 4, "пропущен знак умножения: )*("},
        RefusalRow{"2sin(30)", 2, "пропущен знак умножения: 2*sin"},
        RefusalRow{"sin(2+(3)", 4, "скобка «(» не закрыта: допишите «)»"},
        RefusalRow{"2+3)", 4, "лишняя скобка «)»: перед ней нет открывающей «(»"},
        RefusalRow{"sin()", 4, "пустые скобки"}, RefusalRow{"2 +", 3, "нет числа после знака «+»"},
        RefusalRow{"(*3)", 2, "нет числа перед знаком «*»"},
        RefusalRow{"2*+3", 3, "два знака действия подряд"},
        RefusalRow{"--3", 2, "два знака действия подряд"},
        RefusalRow{"y**3", 2, "степень пишут знаком ^: y^3"},
        RefusalRow{"1.5.2", 4, "вторая точка в числе"}, RefusalRow{"y+.", 3, "точка без цифр"},
        RefusalRow{"2+y,5", 4, "дробную часть отделяют точкой, а не запятой: 2.5"},
        RefusalRow{"y:z", 2, "деление пишут знаком «/», а не «:»"},
        RefusalRow{"sin^2(y)", 4, "степень функции пишут после её скобок: sin(y)^2"},
        RefusalRow{"2*sin", 6, "аргумент функции пишут в скобках: sin(x)"},
        RefusalRow{"sin+2", 4,
                   "после sin нет скобки, и программа sin не вычисляет; если под синусом +2, "
                   "пишите sin(+2)"},
        RefusalRow{"2*foo(1)", 3, Unknown("foo")}, RefusalRow{"SIN(30)", 1, Unknown("SIN")},
        RefusalRow{"1+abcdefghijklmnopqrstuvwxab", 3, Unknown("…")},
        RefusalRow{"arctg(1)", 1, "арктангенс пишут atn: atn(1)"},
        RefusalRow{"lg(z^2+4)", 1,
                   "десятичный логарифм пишут через натуральный: log(z^2+4)/log(10)"},
        RefusalRow{"e^2", 1, "степень числа e пишут функцией exp: exp(2)"},
        RefusalRow{"2*у", 3, "«у» — русская буква: наберите латинскую y (переключите раскладку)"},
        RefusalRow{"2!", 2, "недопустимый знак «!»"}, RefusalRow{"2\t3", 2, "недопустимый знак"},
        // The first problem in reading order wins.
        RefusalRow{"x+(2", 1, Unknown("x")}, RefusalRow{"   ", 1, "ответ пуст"},
        RefusalRow{"", 1, "ответ пуст"}));

// The picture the pupil sees may decide the words: ln on it, lg is its log.
TEST(FormulaToTex, NamesAProblemInTheWordsOfTheTasksHint) {
    EXPECT_EQ(Cp1251ToUtf8(FormulaToTex("lg(z^2+4)", {}, 2, 1).Problem),
              "ln на картинке — натуральный логарифм, его пишут log(z^2+4)");
}

// The place an explanation speaks of is boxed: a sign with its term, or a
// part; a stretch that is no part leaves the picture as it is.
TEST(FormulaToTex, BoxesTheMarkedPart) {
    struct Row {
        const char* formula;
        TTexMark mark;
        const char* tex;
    } rows[] = {{"10-y^2", {3, 6}, "10\\boxed{-y^2}"},
                {"-y^2+1", {1, 4}, "\\boxed{(-y)^2}+1"},
                {"2*sin(y)", {3, 8}, "2\\boxed{\\sin y}"},
                {"y+z", {2, 2}, "y+z"}};
    for (const Row& row : rows)
        EXPECT_EQ(FormulaToTex(row.formula, row.mark).Tex, row.tex) << row.formula;
}

TEST(FormulaToTex, ReadsEveryReferenceFormula) {
    for (const TTaskRow& row : ReferenceFormulas.Rows())
        EXPECT_TRUE(FormulaToTex(std::string(row.Formula)).Read) << row.Formula;
}

// Whatever an answer box can hold is answered at once and stays shallow.
TEST(FormulaToTex, BoundsLongAndDeepTexts) {
    const std::string sum = "1" + [] {
        std::string s;
        for (int i = 0; i < 16383; ++i)
            s += "+y";
        return s;
    }();
    EXPECT_TRUE(FormulaToTex(sum).Read);

    std::string deep(16383, '(');
    deep += "1" + std::string(16383, ')');
    const TTexFormula nested = FormulaToTex(deep);
    EXPECT_FALSE(nested.Read);
    EXPECT_EQ(nested.ProblemPos, 41);

    std::string tower = "2";
    for (int i = 0; i < 16383; ++i)
        tower += "^2";
    const TTexFormula powers = FormulaToTex(tower);
    EXPECT_FALSE(powers.Read);
    EXPECT_EQ(Cp1251ToUtf8(powers.Problem), "формула слишком сложна для показа");
}

} // namespace
