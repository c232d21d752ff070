// The one lexer: every kind of token with its 1-based places, as the
// reading and the hints take it. A token is written kind, text, "@" first
// place, "-" last place where it differs (a sign is its own kind), "!" when a malformed number,
// "r" and the place of a Russian look-alike read as Latin.
#include "tests/engine/EngineTestSupport.h"

#include "quiz/core/FormulaTokens.h"

namespace {

std::string Written(const TFormulaToken& token) {
    static const char* const kKinds[] = {"N", "V", "W", "O", "", "", "", "", "", "R", "?", "E"};
    std::string text = kKinds[static_cast<int>(token.Kind)] + Cp1251ToUtf8(token.Text) + "@" +
                       std::to_string(token.At);
    if (token.Last != token.At)
        text += "-" + std::to_string(token.Last);
    if (token.Malformed)
        text += "!";
    if (token.RussianAt > 0)
        text += "r" + std::to_string(token.RussianAt);
    return text;
}

struct LexRow {
    const char* typed;
    const char* tokens; // and the End token
};

class FormulaTokensTest : public testing::TestWithParam<LexRow> {};

TEST_P(FormulaTokensTest, CutsEveryKindWithItsPlaces) {
    const TFormulaTokens tokens(Cp(GetParam().typed));
    std::string text;
    for (int i = 0; i <= tokens.Count(); ++i)
        text += (i > 0 ? " " : "") + Written(tokens[i]);
    EXPECT_EQ(text, GetParam().tokens) << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormulaTokensTest,
    testing::Values(LexRow{"sin(y-z)^2", "Wsin@1-3 (@4 Vy@5 O-@6 Vz@7 )@8 O^@9 N2@10 E@11"},
                    LexRow{"2y*yz/3", "N2@1 Vy@2 O*@3 Vy@4 Vz@5 O/@6 N3@7 E@8"},
                    // Blanks are dropped inside numbers and names, as the engine drops them.
                    LexRow{" 1 . 5*2 3", "N1.5@2-6 O*@7 N23@8-10 E@11"},
                    LexRow{"si n y+ sqrt x", "Wsin@1-4 Vy@6 O+@7 Wsqrtx@9-14 E@15"},
                    LexRow{"1.5.2+.+..5", "N1.5.2@1-5! O+@6 N.@7! O+@8 N..5@9-11! E@12"},
                    LexRow{"SINY+Z", "WSINY@1-4 O+@5 WZ@6 E@7"},
                    // A Russian look-alike is its Latin letter, its place kept.
                    LexRow{"сos(у)+ех", "Wcos@1-3r1 (@4 Vy@5r5 )@6 O+@7 Wex@8-9r8 E@10"},
                    LexRow{"ышт(н)", "Rы@1 Rш@2 Rт@3 (@4 Rн@5 )@6 E@7"},
                    LexRow{"Ё+ё+Ж", "RЁ@1 O+@2 Rё@3 O+@4 RЖ@5 E@6"},
                    LexRow{"|y|:2,5", "|@1 Vy@2 |@3 :@4 N2@5 ,@6 N5@7 E@8"},
                    LexRow{"2!\t#", "N2@1 ?!@2 ?\t@3 ?#@4 E@5"}, LexRow{"", "E@1"},
                    LexRow{"   ", "E@4"}));

} // namespace
