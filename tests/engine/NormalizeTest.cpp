// Variable substitution and normalisation.
#include "EngineTestSupport.h"

#include "engine/Normalize.h"

using namespace formulon::engine;

namespace {

struct SubstituteRow {
    const char* in;
    const char* out;
};

class SubstituteTest : public testing::TestWithParam<SubstituteRow> {};

TEST_P(SubstituteTest, ReplacesEachVariable) {
    PrimeRegister();
    EXPECT_EQ(SubstituteVariables(GetParam().in), GetParam().out);
    EXPECT_EQ(RegisterUtf8(), kUnchanged);
}

INSTANTIATE_TEST_SUITE_P(Rows, SubstituteTest,
                         testing::Values(SubstituteRow{"3*y+z", "3*(7)+(11)"},
                                         SubstituteRow{"y^2", "(7)^2"},
                                         SubstituteRow{"abs(z^2-13*y)", "abs((11)^2-13*(7))"},
                                         SubstituteRow{"Y+Z", "Y+Z"}, SubstituteRow{"", ""},
                                         SubstituteRow{"siny", "sin(7)"},
                                         SubstituteRow{"2y", "2(7)"},
                                         SubstituteRow{"sin(y) + 0.5*z", "sin((7)) + 0.5*(11)"}));

TEST(SubstituteVariables, KeepsEveryCharacterOfALongText) {
    std::string in, out;
    for (int i = 0; i < 200; ++i) {
        in += "y+";
        out += "(7)+";
    }
    EXPECT_EQ(SubstituteVariables(in), out);
}

struct NormalizeRow {
    const char* in;
    const char* out;
    const char* message;
};

class NormalizeTest : public testing::TestWithParam<NormalizeRow> {};

TEST_P(NormalizeTest, DropsBlanksAndConvertsPoints) {
    PrimeRegister();
    EXPECT_EQ(NormalizeFormula(Cp(GetParam().in)), Cp(GetParam().out));
    EXPECT_EQ(RegisterUtf8(), GetParam().message);
}

const char* const kComma = "Неизвестный знак \",\"";

INSTANTIATE_TEST_SUITE_P(
    Rows, NormalizeTest,
    testing::Values(NormalizeRow{" 1 . 5 ", "1,5", kUnchanged},
                    NormalizeRow{"sin((7)) + 0.5*(11)", "sin((7))+0,5*(11)", kUnchanged},
                    NormalizeRow{"1.5*tan((11)^2+(7)^((11)-6.2))/exp(log((11)^5-5))",
                                 "1,5*tan((11)^2+(7)^((11)-6,2))/exp(log((11)^5-5))", kUnchanged},
                    NormalizeRow{"1,5", "~", kComma}, NormalizeRow{"2 . 5 , 1", "~", kComma},
                    NormalizeRow{"1..5", "1,,5", kUnchanged}, NormalizeRow{"   ", "", kUnchanged},
                    NormalizeRow{"", "", kUnchanged}, NormalizeRow{"1\t2", "1\t2", kUnchanged}));

} // namespace
