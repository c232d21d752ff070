// The hint table: each rule at its place with the right spelling, and no
// hint for a formula written as the catalogue writes it.
#include "tests/engine/EngineTestSupport.h"

#include "quiz/core/AnswerHints.h"
#include "quiz/core/TaskCatalogue.h"

using namespace formulon::engine;

namespace {

struct HintRow {
    const char* typed;
    THintRule rule;
    int position;
    const char* hint;
    int task = 0; // and variant: the picture the rule may read
    int variant = 0;
};

class AnswerHintsTest : public testing::TestWithParam<HintRow> {};

TEST_P(AnswerHintsTest, FindsTheMistakeWhereItIs) {
    const HintRow& row = GetParam();
    bool found = false;
    for (const TAnswerHint& hint : FindHints(Cp(row.typed), row.task, row.variant)) {
        if (hint.Rule != row.rule)
            continue;
        found = true;
        EXPECT_EQ(hint.Position, row.position) << row.typed;
        EXPECT_EQ(Cp1251ToUtf8(hint.Text), row.hint) << row.typed;
    }
    EXPECT_TRUE(found) << row.typed;
}

using R = THintRule;
INSTANTIATE_TEST_SUITE_P(
    EveryRule, AnswerHintsTest,
    testing::Values(
        HintRow{"синус(y-z)", R::RussianName, 1, "«синус» пишут латинскими буквами: sin(y-z)"},
        HintRow{"2*Тг y", R::RussianName, 3, "«Тг» пишут латинскими буквами: tan(y)"},
        HintRow{"лг(z)", R::RussianName, 1, "«лг» пишут латинскими буквами: log(z)/log(10)"},
        HintRow{"ышт(y-z)", R::RussianLayout, 1,
                "переключите раскладку на латинскую: ышт — это sin"},
        HintRow{"sin(у-z)", R::RussianLookalike, 5,
                "«у» — русская буква: наберите латинскую y (переключите раскладку)"},
        HintRow{"y+ж", R::RussianLetter, 3,
                "«ж» — русская буква: в формуле буквы только латинские"},
        HintRow{"y*2,5", R::DecimalComma, 4, "дробную часть отделяют точкой, а не запятой: 2.5"},
        HintRow{"y:z", R::Colon, 2, "деление пишут знаком «/», а не «:»"},
        HintRow{"3*|y - z|", R::Bars, 3, "модуль пишут функцией abs: abs(y-z)"},
        HintRow{"sin(cos(y)", R::UnclosedBracket, 4, "скобка «(» не закрыта: допишите «)»"},
        HintRow{"(y))+(z", R::ExtraBracket, 4, "лишняя скобка «)»: перед ней нет открывающей «(»"},
        HintRow{"3*arctg(z^2)", R::Arctg, 3, "арктангенс пишут atn: atn(z^2)"},
        HintRow{"arctan(y)", R::Arctg, 1, "арктангенс пишут atn: atn(y)"},
        HintRow{"arcsin(y/z)", R::Arcsin, 1,
                "арксинуса в программе нет: его пишут через арктангенс: "
                "atn((y/z)/sqr(1-(y/z)^2))"},
        HintRow{"arccos y", R::Arccos, 1,
                "арккосинуса в программе нет: его пишут через арктангенс: "
                "90-atn(y/sqr(1-y^2))"},
        HintRow{"1+cot(z)", R::Ctg, 3, "котангенс пишут через тангенс: 1/tan(z)"},
        HintRow{"tg(3*z-5*y)", R::Tg, 1, "тангенс пишут tan: tan(3*z-5*y)"},
        HintRow{"ctg y", R::Ctg, 1, "котангенс пишут через тангенс: 1/tan(y)"},
        HintRow{"y^2+ln(z^2+4)", R::Ln, 5, "натуральный логарифм пишут log: log(z^2+4)"},
        HintRow{"lg 2y", R::Lg, 1, "десятичный логарифм пишут через натуральный: log(2*y)/log(10)"},
        HintRow{"lg(z^2+4)", R::LgOnLnPicture, 1,
                "ln на картинке — натуральный логарифм, его пишут log(z^2+4)", 2, 1},
        HintRow{"sqrt(y)", R::Sqrt, 1, "квадратный корень пишут sqr: sqr(y)"},
        HintRow{"3*е^(y-2)", R::PowerOfE, 3, "степень числа e пишут функцией exp: exp(y-2)"},
        HintRow{"z^e", R::LoneE, 3, "число e пишут exp(1)"},
        HintRow{"sin^2(y-3*z)", R::FunctionPower, 4,
                "степень функции пишут после её скобок: sin(y-3*z)^2"},
        HintRow{"2*sin y", R::NoBracket, 7, "аргумент функции пишут в скобках: sin(y)"},
        HintRow{"log", R::NoBracket, 4, "аргумент функции пишут в скобках: log(x)"},
        HintRow{"sin y-z", R::NoBracketVariable, 5,
                "программа прочла sin(y)-z; если под синусом y-z, пишите sin(y-z)"},
        HintRow{"(cos 3*y-5)", R::NoBracketOther, 6,
                "после cos нет скобки, и программа cos не вычисляет; если под косинусом "
                "3*y-5, пишите cos(3*y-5)"},
        HintRow{"3z+1", R::MissingTimes, 2, "пропущен знак умножения: 3*z"},
        HintRow{"(y)(z)", R::MissingTimes, 4, "пропущен знак умножения: )*("},
        HintRow{"y^1/2", R::FractionExponent, 3,
                "дробный показатель степени берут в скобки: y^(1/2)"},
        HintRow{"z^-2", R::NegativeExponent, 3,
                "отрицательный показатель степени берут в скобки: z^(-2)"},
        HintRow{"y**3", R::DoubleStar, 2, "степень пишут знаком ^: y^3"},
        HintRow{"2*x", R::UnknownName, 3,
                "имя «x» программа не знает: функции — sin, cos, tan, atn, log, sqr, exp, abs; "
                "переменные — y и z"}));

TEST(AnswerHintsOrder, EarliestPlaceFirstAndEachHintOnce) {
    std::vector<std::string> seen;
    for (const TAnswerHint& hint : FindHints(Cp("tg у+2y-у"), 0, 0))
        seen.push_back(std::to_string(hint.Position) + " " + Cp1251ToUtf8(hint.Text));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "1 тангенс пишут tan: tan(y)",
                        "4 «у» — русская буква: наберите латинскую y (переключите раскладку)",
                        "7 пропущен знак умножения: 2*y"}));
    EXPECT_EQ(Cp1251ToUtf8(FirstHintText(Cp("tg у+2y-у"), 0, 0)), "тангенс пишут tan: tan(y)");
    EXPECT_EQ(FirstHintText("sin(y-z)", 1, 1), "");
}

// A Russian word with a hint of its own gets no hint for its letters.
TEST(AnswerHintsOrder, ARussianWordIsHintedAsAWhole) {
    const auto places = [](const char* typed) {
        std::vector<int> at;
        for (const TAnswerHint& hint : FindHints(Cp(typed), 1, 1))
            at.push_back(hint.Position);
        return at;
    };
    EXPECT_EQ(places("ышт(н-я)"), (std::vector<int>{1, 5, 7}));
    EXPECT_EQ(places("синус(y-z)+тангенс"), (std::vector<int>{1, 12}));
}

TEST(AnswerHintsCatalogue, NoHintForAFormulaAsTheCatalogueWritesIt) {
    for (const TTaskRow& row : ReferenceFormulas.Rows())
        EXPECT_TRUE(FindHints(std::string(row.Formula), 0, 0).empty()) << row.Formula;
}

} // namespace
