// Code page 1251 conversion and the integer conversion.
#include <gtest/gtest.h>

#include "engine/Cp1251.h"
#include "engine/Errors.h"
#include "engine/IntegerText.h"

using namespace formulon::engine;

namespace {

TEST(Cp1251, EveryByteSurvivesARoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    bool lossless = false;
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all), &lossless), all);
    EXPECT_TRUE(lossless);
}

TEST(Cp1251, RussianLettersMapToTheirBytes) {
    EXPECT_EQ(Utf8ToCp1251("АЯаяЁё№"), "\xC0\xDF\xE0\xFF\xA8\xB8\xB9");
    EXPECT_EQ(Cp1251ToUtf8("\xCE\xF8\xE8\xE1\xEA\xE0"), "Ошибка");
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    bool lossless = true;
    EXPECT_EQ(Utf8ToCp1251("a\xE2\x88\x9A"
                           "b\xF0\x9F\x98\x80",
                           &lossless),
              "a?b?");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(Utf8ToCp1251("\xC3"), "?") << "a cut sequence";
    EXPECT_EQ(Utf8ToCp1251("\xFFx"), "?x");
    EXPECT_EQ(UnicodeToCp1251(U'√'), -1);
    EXPECT_EQ(UnicodeToCp1251(U'ё'), 0xB8);
}

struct IntRow {
    const char* text;
    std::int32_t value;
};

class StrToIntAccepts : public testing::TestWithParam<IntRow> {};

TEST_P(StrToIntAccepts, TheValue) {
    EXPECT_EQ(StrToInt(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Rows, StrToIntAccepts,
                         testing::Values(IntRow{"0", 0}, IntRow{"12", 12}, IntRow{"  42", 42},
                                         IntRow{"-7", -7}, IntRow{"+7", 7}, IntRow{"$1F", 31},
                                         IntRow{"x1f", 31}, IntRow{"X10", 16}, IntRow{"0x10", 16},
                                         IntRow{"0X10", 16}, IntRow{"-$10", -16},
                                         IntRow{"2147483647", 2147483647},
                                         IntRow{"-2147483648", INT32_MIN}, IntRow{"007", 7},
                                         IntRow{"393", 393}));

class StrToIntRejects : public testing::TestWithParam<const char*> {};

TEST_P(StrToIntRejects, WithTheConversionError) {
    const std::string text = GetParam();
    try {
        StrToInt(text);
        FAIL() << "accepted " << text;
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'" + text + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StrToIntRejects,
                         testing::Values("", " ", "12 ", "1.5", "--1", "+", "$", "0x", "x",
                                         "2147483648", "-2147483649", "99999999999999999999", "1e3",
                                         "$G", "abc", "- 1"));

TEST(IntToStr, PlainDecimal) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-15), "-15");
    EXPECT_EQ(IntToStr(393), "393");
}

} // namespace
