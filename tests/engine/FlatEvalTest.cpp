// Flat evaluation: operand scans, operators and the three passes.
#include "EngineTestSupport.h"

#include "engine/Errors.h"
#include "engine/detail/FlatEval.h"

using namespace formulon::engine;

namespace {

struct FlatRow {
    const char* text;
    const char* result;
    const char* message;
};

class EvaluateFlatTest : public testing::TestWithParam<FlatRow> {};

TEST_P(EvaluateFlatTest, RewritesToTheResultText) {
    PrimeRegister();
    EXPECT_EQ(EvaluateFlat(1, Cp(GetParam().text)), Cp(GetParam().result)) << GetParam().text;
    EXPECT_EQ(RegisterUtf8(), GetParam().message) << GetParam().text;
}

const char* const kDivZero = "Нельзя делить на ноль";
const char* const kPower = "Невозможно возведение в степень ";

INSTANTIATE_TEST_SUITE_P(
    Rows, EvaluateFlatTest,
    testing::Values(FlatRow{"1/3*3", "0,999999999999999", kUnchanged},
                    FlatRow{"2+3*4^2-10/4", "47,5", kUnchanged}, FlatRow{"5-3*2", "-1", kUnchanged},
                    FlatRow{"-2^2", "4", kUnchanged}, FlatRow{"2*-3", "-6", kUnchanged},
                    FlatRow{"2--3", "5", kUnchanged}, FlatRow{"1/2^-1", "2", kUnchanged},
                    FlatRow{"2-5+1", "-2", kUnchanged}, FlatRow{"2^3^2", "64", kUnchanged},
                    FlatRow{"8/2/2", "2", kUnchanged}, FlatRow{"10/4*2", "5", kUnchanged},
                    FlatRow{"2*+3", "~", kUnchanged}, FlatRow{"2+*3", "~", kUnchanged},
                    FlatRow{"2*3+4*", "~", kUnchanged}, FlatRow{"2/0", "~", kDivZero},
                    FlatRow{"-8^0,5", "~", kPower}, FlatRow{"-8^2", "64", kUnchanged},
                    FlatRow{"0^0", "1", kUnchanged}, FlatRow{"7", "7", kUnchanged},
                    FlatRow{"007", "007", kUnchanged}, FlatRow{"+1", "+1", kUnchanged},
                    FlatRow{"", "", kUnchanged}, FlatRow{"2*-2,5E-16/4", "-9", kUnchanged},
                    FlatRow{"-2,5E-16*4", "-2,5E-64", kUnchanged},
                    FlatRow{"1E-5+1", "1E-4", kUnchanged}, FlatRow{"0,1+0,2", "0,3", kUnchanged},
                    FlatRow{"2^-2", "0,25", kUnchanged}, FlatRow{"0^5", "0", kUnchanged},
                    FlatRow{"2^0,5", "1,4142135623731", kUnchanged},
                    FlatRow{"-2^-1", "-0,5", kUnchanged}, FlatRow{"3-", "~", kUnchanged},
                    FlatRow{"10^15", "1E15", kUnchanged},
                    FlatRow{"1E15-1", "999999999999999", kUnchanged},
                    FlatRow{"2^1023", "8,98846567431158E307", kUnchanged},
                    FlatRow{"1E-300*1E-300", "1E-600", kUnchanged},
                    FlatRow{"0,0000000001^40", "0", kUnchanged}));

struct RaiseRow {
    const char* text;
    const char* kind;
    const char* message;
};

std::string RaisedKind(const std::string& text, std::string& message) {
    try {
        EvaluateFlat(1, text);
    } catch (const EConvertError& e) {
        message = e.Message();
        return "EConvertError";
    } catch (const EInvalidOp& e) {
        message = e.Message();
        return "EInvalidOp";
    } catch (const EZeroDivide& e) {
        message = e.Message();
        return "EZeroDivide";
    } catch (const EOverflow& e) {
        message = e.Message();
        return "EOverflow";
    }
    return "none";
}

class EvaluateFlatRaises : public testing::TestWithParam<RaiseRow> {};

TEST_P(EvaluateFlatRaises, TheMatchingError) {
    PrimeRegister();
    std::string message;
    EXPECT_EQ(RaisedKind(GetParam().text, message), GetParam().kind) << GetParam().text;
    EXPECT_EQ(message, GetParam().message);
    EXPECT_EQ(RegisterUtf8(), kUnchanged);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EvaluateFlatRaises,
    testing::Values(RaiseRow{"2*x", "EConvertError", "'x' is not a valid floating point value"},
                    RaiseRow{"2*3*", "EConvertError", "'3*' is not a valid floating point value"},
                    RaiseRow{"2*--3", "EConvertError", "'-' is not a valid floating point value"},
                    RaiseRow{"1,,5+x", "EConvertError",
                             "'1,,5' is not a valid floating point value"},
                    RaiseRow{"2/0,0", "EZeroDivide", "Floating point division by zero"},
                    RaiseRow{"2/00", "EZeroDivide", "Floating point division by zero"},
                    RaiseRow{"2/-0", "EZeroDivide", "Floating point division by zero"},
                    RaiseRow{"0/0,0", "EInvalidOp", "Invalid floating point operation"},
                    RaiseRow{"0^-1", "EZeroDivide", "Floating point division by zero"},
                    RaiseRow{"1E200*1E200", "EOverflow", "Floating point overflow"},
                    RaiseRow{"2^1024", "EOverflow", "Floating point overflow"},
                    RaiseRow{"10^5000", "EOverflow", "Floating point overflow"}));

TEST(EvaluateFlatFaults, LeaveNoFlagForTheNextStep) {
    EXPECT_THROW(EvaluateFlat(1, "1E200*1E200"), EOverflow);
    EXPECT_EQ(EvaluateFlat(1, "2*3"), "6");
}

TEST(EvaluateFlatSquaring, StopsBeforeASquareThatWouldOverflow) {
    // 10^4096 fits the extended range; squaring the base once more would
    // not, and its reciprocal is a plain underflow to 0.
    EXPECT_EQ(EvaluateFlat(1, "10^-4096"), "0");
    EXPECT_EQ(EvaluateFlat(1, "10^256"), "1E256");
    EXPECT_EQ(EvaluateFlat(1, "0,1^300"), "1E-300");
}

struct ScanRow {
    int opPos;
    const char* text;
    const char* number;
    const char* remainder;
};

class ScanLeftTest : public testing::TestWithParam<ScanRow> {};

TEST_P(ScanLeftTest, FindsTheLeftOperand) {
    const TOperandSplit split = ScanLeftOperand(1, GetParam().opPos, GetParam().text);
    EXPECT_EQ(split.Number, GetParam().number);
    EXPECT_EQ(split.Remainder, GetParam().remainder);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScanLeftTest,
                         testing::Values(ScanRow{4, "5-3*2", "-3", "5"}, ScanRow{1, "*2", "", ""},
                                         ScanRow{3, "2(*3", "~", ""}, ScanRow{3, "ab*3", "~", ""},
                                         ScanRow{4, "a12*3", "a12", ""},
                                         ScanRow{5, "xa12*3", "12", "xa"},
                                         ScanRow{9, "-2,5E-16*4", "-16", "-2,5E"},
                                         ScanRow{3, "+1*2", "+1", ""}));

class ScanRightTest : public testing::TestWithParam<ScanRow> {};

TEST_P(ScanRightTest, FindsTheRightOperand) {
    const std::string text = GetParam().text;
    const TOperandSplit split =
        ScanRightOperand(GetParam().opPos, static_cast<int>(text.size()), text);
    EXPECT_EQ(split.Number, GetParam().number);
    EXPECT_EQ(split.Remainder, GetParam().remainder);
}

INSTANTIATE_TEST_SUITE_P(Rows, ScanRightTest,
                         testing::Values(ScanRow{2, "2*-2,5E-16/4", "-2,5E", "-16/4"},
                                         ScanRow{2, "2*x", "x", ""}, ScanRow{2, "2*", "~", ""},
                                         ScanRow{2, "2*-", "~", ""}, ScanRow{2, "2*+3", "~", ""},
                                         ScanRow{2, "2*--3", "-", "-3"}, ScanRow{2, "2*)", ")", ""},
                                         ScanRow{2, "2*3+4", "3", "+4"}));

TEST(OperandSplit, KeepsOnlyTheFirst255CharactersInFrontOfAnOperand) {
    const std::string front(300, 'a');
    const std::string text = front + "+2*3";
    const std::string result = EvaluateFlat(1, "1" + text);
    // The '*' rewrites "1aaa…a+2*3": everything in front of "2" is cut to 255.
    EXPECT_EQ(result, ("1" + front).substr(0, 255) + "6");
    EXPECT_EQ(ScanRightOperand(1, 400, "+" + std::string(399, '1')).Number.size(), 255u);
}

} // namespace
