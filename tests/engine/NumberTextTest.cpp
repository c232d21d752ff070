// Rendering and parsing of number texts.
#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cmath>

#include "engine/Errors.h"
#include "engine/NumberText.h"

using namespace formulon::engine;

namespace {

struct RenderRow {
    Extended value;
    const char* text;
};

class RenderNumberTest : public testing::TestWithParam<RenderRow> {};

TEST_P(RenderNumberTest, WritesTheExactText) {
    EXPECT_EQ(RenderNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RenderNumberTest,
    testing::Values(
        RenderRow{147, "147"}, RenderRow{100, "100"}, RenderRow{0.5L, "0,5"},
        RenderRow{-2.5L, "-2,5"}, RenderRow{1.0 / 3.0, "0,333333333333333"},
        RenderRow{2.0 / 3.0, "0,666666666666667"}, RenderRow{1.0 / 7.0, "0,142857142857143"},
        RenderRow{static_cast<double>(0.1L + 0.2L), "0,3"}, RenderRow{123456.789L, "123456,789"},
        RenderRow{1e14L, "100000000000000"}, RenderRow{999999999999999.0L, "999999999999999"},
        RenderRow{1e15L, "1E15"}, RenderRow{18446744073709551616.0L, "1,84467440737096E19"},
        RenderRow{1e300L, "1E300"}, RenderRow{0.000999L, "0,000999"}, RenderRow{0.0001L, "0,0001"},
        RenderRow{0.0000999L, "9,99E-5"}, RenderRow{0.00001L, "1E-5"},
        RenderRow{-0.000012345L, "-1,2345E-5"}, RenderRow{1.5e-7L, "1,5E-7"},
        RenderRow{LDBL_MAX, "1,18973149535723E4932"},
        // Zero in every form, and values below the normal range.
        RenderRow{0.0L, "0"}, RenderRow{-0.0L, "0"}, RenderRow{LDBL_MIN / 4, "0"},
        RenderRow{LDBL_MIN, "3,36210314311209E-4932"},
        // The cut to 15 digits is half-up on the 16th digit.
        RenderRow{1234567890123445.0L, "1,23456789012345E15"},
        RenderRow{1234567890123455.0L, "1,23456789012346E15"}, RenderRow{0.99999999999999995L, "1"},
        RenderRow{9999999999999999.0L, "1E16"}, RenderRow{99999.99999999999L, "100000"},
        RenderRow{12, "12"}, RenderRow{1e15L - 1, "999999999999999"}));

struct ParseRow {
    const char* text;
    Extended value;
};

class ParseNumberTest : public testing::TestWithParam<ParseRow> {};

TEST_P(ParseNumberTest, ReadsTheValue) {
    EXPECT_EQ(ParseNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Accepted, ParseNumberTest,
                         testing::Values(ParseRow{",", 0}, ParseRow{"5,", 5}, ParseRow{",5", 0.5L},
                                         ParseRow{"5E", 5}, ParseRow{"5e+", 5},
                                         ParseRow{" 12 ", 12}, ParseRow{"007", 7},
                                         ParseRow{"+1", 1}, ParseRow{"-2,5", -2.5L},
                                         ParseRow{"2,5E-16", 2.5e-16L}, ParseRow{"1E0600", 1e600L},
                                         ParseRow{"1e-5", 1e-5L}, ParseRow{"2,50", 2.5L},
                                         ParseRow{"1E-027", 1e-27L}, ParseRow{"147,0", 147}));

class ParseNumberRejects : public testing::TestWithParam<const char*> {};

TEST_P(ParseNumberRejects, WithTheConversionError) {
    const std::string text = GetParam();
    try {
        ParseNumber(text);
        FAIL() << "accepted " << text;
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'" + text + "' is not a valid floating point value");
    }
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT & ~FE_INEXACT & ~FE_UNDERFLOW), 0);
}

INSTANTIATE_TEST_SUITE_P(Invalid, ParseNumberRejects,
                         testing::Values("1.5", "1,,5", "--5", "-", "E5", "", "1E12345", "2E4932",
                                         "inf", "nan", "0x10", "1 2", "5E--1", "1e5x", "+-1", " ",
                                         "1,5,", "12a"));

TEST(NumberTextRoundTrip, EveryRenderedTextParsesBackToItself) {
    const Extended values[] = {1.0L / 3, 2.0L / 3,          1e-300L, 123456789012345678.0L,
                               3.14159L, -7e-20L,           1e4000L, 0.1L,
                               5e-4900L, 999999999999999.4L};
    for (Extended v : values) {
        const std::string text = RenderNumber(v);
        EXPECT_EQ(RenderNumber(ParseNumber(text)), text);
    }
}

TEST(ParseNumberFlags, AnOverflowingTextLeavesNoFlagBehind) {
    EXPECT_THROW(ParseNumber("1E4933"), EConvertError);
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
    EXPECT_EQ(ParseNumber("1E4931"), 1e4931L);
}

TEST(ParseNumberRange, ATooSmallValueBecomesZeroWithoutError) {
    const std::string tiny = "0," + std::string(5000, '0') + "1";
    EXPECT_EQ(ParseNumber(tiny), 0);
    EXPECT_EQ(ParseNumber("-" + tiny + "E-100"), 0);
}

TEST(ErrorRegister, KeepsTheFirst255Characters) {
    TErrorRegister reg;
    reg.Set(std::string(300, 'x'));
    EXPECT_EQ(reg.Read(), std::string(255, 'x'));
    reg.Clear();
    EXPECT_TRUE(reg.Empty());
}

} // namespace
