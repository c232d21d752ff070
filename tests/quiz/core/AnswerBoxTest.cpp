// What the check reads from the answer box: lower case and '?' for a
// character code page 1251 lacks. The main window's test holds the real box
// to it, the limit's cuts included.
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

} // namespace
