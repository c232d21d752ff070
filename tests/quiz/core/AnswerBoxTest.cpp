// What the check reads from the answer box: lower case, the box's limit in
// UTF-16 code units, '?' for a character code page 1251 lacks.
#include "quiz/core/AnswerBox.h"
#include "engine/Cp1251.h"

#include <gtest/gtest.h>

using formulon::engine::Cp1251ToUtf8;

namespace {

struct BoxRow {
    std::u32string pasted;
    std::string read; // UTF-8 of what the check reads
};

class AnswerBoxTest : public testing::TestWithParam<BoxRow> {};

TEST_P(AnswerBoxTest, ReadsWhatTheBoxHolds) {
    EXPECT_EQ(Cp1251ToUtf8(AnswerBoxText(GetParam().pasted)), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AnswerBoxTest,
    testing::Values(BoxRow{U"SIN(Y-Z)", "sin(y-z)"}, BoxRow{U"ЁЖЯ+АБВ", "ёжя+абв"},
                    BoxRow{U"ЂЃЄЅІЇЈЉЊЋЌЎЏҐ", "ђѓєѕіїјљњћќўџґ"}, BoxRow{U"ёж€№", "ёж€№"},
                    BoxRow{U"\u212A", "k"}, BoxRow{U"\u0130", "i?"}, BoxRow{U"√y", "?y"},
                    BoxRow{U"ΣΩ", "??"}, BoxRow{U"\U0001D400y", "?y"},
                    BoxRow{std::u32string(U"\t\0\r", 3), std::string("\t\0\r", 3)},
                    BoxRow{U"", ""}));

struct LimitRow {
    const char* what;
    std::u32string pasted;
    std::size_t length;      // of what the check reads
    std::string_view ending; // what that ends with, code page 1251
};

class AnswerBoxLimitTest : public testing::TestWithParam<LimitRow> {};

TEST_P(AnswerBoxLimitTest, KeepsWhatFits) {
    const std::string read = AnswerBoxText(GetParam().pasted);
    EXPECT_EQ(read.size(), GetParam().length) << GetParam().what;
    EXPECT_TRUE(read.ends_with(GetParam().ending)) << GetParam().what;
}

constexpr std::size_t kMax = kAnswerBoxMaxLength;
const std::u32string kA(kMax - 1, U'a');

INSTANTIATE_TEST_SUITE_P(
    Rows, AnswerBoxLimitTest,
    testing::Values(LimitRow{"fits exactly", kA + U"B", kMax, "ab"},
                    LimitRow{"one more is cut", kA + U"BC", kMax, "ab"},
                    LimitRow{"half a pair reads as ?", kA + U"\U0001D400", kMax, "a?"},
                    LimitRow{"pairs count twice", std::u32string(kMax / 2, U'\U0001D400') + U"yz",
                             kMax / 2 + 1, "?y"},
                    LimitRow{"a dot lengthens, then is cut", kA + U"\u0130", kMax, "ai"},
                    LimitRow{"capital dotted I doubles", std::u32string(kMax, U'\u0130'), kMax,
                             "?i"}));

} // namespace
