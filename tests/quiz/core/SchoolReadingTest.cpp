// The school reading beside the program's: a formula's value as school
// mathematics reads it, the first place where the program's value parts
// from it, and the one rule for an answer right in mathematics.
#include "tests/engine/EngineTestSupport.h"

#include "quiz/core/MathEquality.h"
#include "quiz/core/ReadingParts.h"
#include "quiz/core/SchoolReading.h"
#include "quiz/core/TaskCatalogue.h"

#include <cmath>
#include <optional>

using namespace formulon::engine;

namespace {

constexpr long double kNone = -1e300L; // undefined in school mathematics
constexpr long double kUnchecked = 1e300L;

struct ReadingRow {
    const char* formula;
    long double school; // at y = 7, z = 11
    int at;             // where the program parts from it, 0 for nowhere
    TPartKind kind = TPartKind::Digits;
};

class SchoolReadingTest : public testing::TestWithParam<ReadingRow> {};

TEST_P(SchoolReadingTest, ReadsAsSchoolAndFindsWhereTheProgramParts) {
    const ReadingRow& row = GetParam();
    const TFormulaReading reading = ReadFormula(row.formula);
    ASSERT_TRUE(reading.Read) << row.formula;
    const TSchoolValue value = TSchoolReading(reading).At(7, 11);
    EXPECT_EQ(value.Defined, row.school != kNone) << row.formula;
    if (value.Defined && row.school != kUnchecked) {
        EXPECT_NEAR(value.Value, row.school, 1e-12L * std::fabs(row.school) + 1e-15L)
            << row.formula;
    }
    const std::optional<TReadingPart> part = FindReadingPart(row.formula);
    EXPECT_EQ(part ? part->Position : 0, row.at) << row.formula;
    if (part && row.at != 0) {
        EXPECT_EQ(part->Kind, row.kind) << row.formula;
    }
}

using P = TPartKind;
INSTANTIATE_TEST_SUITE_P(
    Formulas, SchoolReadingTest,
    testing::Values(
        // A minus before an even power: the subtraction disappears (1049).
        ReadingRow{"10-y^2", -39, 3, P::SubtractedPower},
        ReadingRow{"-64-18^2", -388, 4, P::SubtractedPower},
        ReadingRow{"10 - y^2*3", -137, 4, P::SubtractedPower},
        ReadingRow{"10-y^0.5", 10 - std::sqrt(7.0L), 3, P::SubtractedPower}, // "~" for the program
        ReadingRow{"-y^2", -49, 1, P::SignedBase}, ReadingRow{"2*-y^2", -98, 3, P::SignedBase},
        ReadingRow{"10-(y-z)^2", -6, 3, P::NegativeBracket},
        ReadingRow{"2+(y-z)^2", 18, 2, P::NegativeBracket},
        // The same in both readings.
        ReadingRow{"-y^3", -343, 0}, ReadingRow{"10-y^3", -333, 0}, ReadingRow{"2^3^2", 64, 0},
        ReadingRow{"y-(y-z)^3", 71, 0}, ReadingRow{"sin(30)", 0.5L, 0}, ReadingRow{"atn(1)", 45, 0},
        ReadingRow{"abs(y-z)/2", 2, 0}, ReadingRow{"y/3*3-y", 0, 0},
        // No value in mathematics: nothing to part from.
        ReadingRow{"log(y-z)", kNone, 0}, ReadingRow{"1/(y-7)", kNone, 0},
        ReadingRow{"tan(90)", kNone, 0}, ReadingRow{"tan(450)", kNone, 0},
        ReadingRow{"sqr(y-z)", kNone, 0}, ReadingRow{"(y-z)^0.5", kNone, 0},
        // A sine of a number past the fifteen digits the program keeps.
        ReadingRow{"1+sin(y^20)", kUnchecked, 3, P::HugeArgument}));

// Of the thirty task formulas three part, as measured: 9.2 and 10.1 by a
// minus before an even power, 6.1 because the sine of y^tan(…), about
// 10^12 degrees, turns on digits beyond the fifteen kept; 9.3 has no value
// in either reading.
TEST(SchoolReadingTasks, ThreeOfTheThirtyPart) {
    std::string parted;
    for (const TTaskRow& row : ReferenceFormulas.Rows())
        if (const auto part = FindReadingPart(std::string(row.Formula)))
            parted += std::to_string(row.Task) + "." + std::to_string(row.Variant) + ":" +
                      std::to_string(part->Position) + " ";
    EXPECT_EQ(parted, "6.1:1 9.2:38 10.1:80 ");
    const TFormulaReading nine = ReadFormula(ReferenceFormula(9, 3));
    EXPECT_FALSE(TSchoolReading(nine).At(7, 11).Defined);
}

struct MathRow {
    int task, variant;
    const char* answer; // "=" for the task's formula itself
    TMathVerdict verdict;
};

class MathEqualityTest : public testing::TestWithParam<MathRow> {};

TEST_P(MathEqualityTest, IsTheOneRule) {
    const MathRow& row = GetParam();
    const std::string& formula = ReferenceFormula(row.task, row.variant);
    const std::string answer = std::string(row.answer) == "=" ? formula : Cp(row.answer);
    EXPECT_EQ(CompareInMathematics(formula, answer), row.verdict) << row.answer;
}

using V = TMathVerdict;
INSTANTIATE_TEST_SUITE_P(
    Answers, MathEqualityTest,
    testing::Values(MathRow{1, 1, "-sin(z-y)", V::Equal}, MathRow{1, 1, "(sin((y-z)))", V::Equal},
                    MathRow{1, 1, "-0.0697564737441253", V::NoVariables},
                    MathRow{1, 1, "sin(y-z)+(y-7)", V::Different}, // equal at 7 and 11 only
                    MathRow{1, 1, "sin(z-y)", V::Different}, MathRow{1, 1, "2y", V::CannotTell},
                    MathRow{1, 1, "log(y-z)", V::Different}, // a value where the task has one
                    MathRow{2, 1, "log(4+z^2)+y*y", V::Equal},
                    // Simplified: e^(ln x) is x, ln(x^a) is a*ln(x).
                    MathRow{6, 3, "1.5*tan(z^2+y^(z-6.2))/(z^5-5)", V::Equal},
                    MathRow{8, 1, "atn(exp(1)*log(3)*sin(3*z^2+y-10)/cos(3*y-z)^2)-(z*y)^z",
                            V::Equal},
                    MathRow{5, 1, "exp(sin(y^2-10))+2*log(abs(cos(z^3-3*y)))", V::Equal},
                    // Harmless extra brackets, which the program judges otherwise.
                    MathRow{10, 1,
                            "(abs(tan(3*sin(3*y-z)^2+exp(z^(-2)))^exp((y^0.5-3)^2)))^(1/2)/"
                            "(7.03*sin((y-z)^3-((y+z)^2)))-5.63",
                            V::Equal},
                    MathRow{9, 2, "sin(z^2+8.3*y)^cos(5*z^3-tan(10-abs(z-(y^4))))", V::Equal},
                    // No value at 7 and 11 in either: nothing can be told.
                    MathRow{9, 3, "=", V::CannotTell}));

// Every task's own formula, bracketed and turned about, against its
// formula and against the task's value typed as a number.
class MathEqualityCatalogue : public testing::TestWithParam<int> {};

TEST_P(MathEqualityCatalogue, RightBracketedTurnedAndBare) {
    const int task = ReferenceFormulas.Row(GetParam()).Task;
    const int variant = ReferenceFormulas.Row(GetParam()).Variant;
    const std::string& formula = ReferenceFormula(task, variant);
    const V equal = task == 9 && variant == 3 ? V::CannotTell : V::Equal;
    EXPECT_EQ(CompareInMathematics(formula, formula), equal);
    EXPECT_EQ(CompareInMathematics(formula, "(" + formula + ")"), equal);
    EXPECT_EQ(CompareInMathematics(formula, "-(0-(" + formula + "))*1"), equal);
    std::string swapped = formula;
    for (char& c : swapped)
        c = c == 'y' ? 'z' : c == 'z' ? 'y' : c;
    EXPECT_EQ(CompareInMathematics(formula, swapped), V::Different);
    EXPECT_EQ(CompareInMathematics(formula, "12.5"), V::NoVariables);
}

INSTANTIATE_TEST_SUITE_P(AllThirty, MathEqualityCatalogue,
                         testing::Range(0, ReferenceFormulas.EntryCount()));

} // namespace
