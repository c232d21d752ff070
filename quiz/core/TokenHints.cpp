// The rules that read the answer's tokens (the hint table is in
// AnswerHints.cpp).
#include "quiz/core/HintFinders.h"

#include "engine/Cp1251.h"

using namespace formulon::engine;

namespace hints {

using K = TTokenKind;

std::string Shown(const std::string& piece) {
    return piece.size() <= kShownPiece ? piece : Utf8ToCp1251("…");
}

bool IsOperand(const TFormulaToken& token) {
    return token.Is(K::Number) || token.Is(K::Var);
}

bool IsFunction(const TFormulaToken& token) {
    return token.Is(K::Word) && IsKnownFunctionName(token.Text);
}

// What stands after token i-1 as a function's argument, spelled right: the
// inside of a bracket group, or a signed run of numbers and variables with
// the missing stars put in ("sin 2y" is sin(2*y)); x when there is none.
std::string Argument(const TFormulaTokens& t, int i) {
    if (t[i].Is(K::Open)) {
        // A longer inside is not shown, so its end need not be found.
        const int close = t.MatchingClose(i, static_cast<int>(kShownPiece) + 1);
        return close > i + 1 ? Shown(t.Joined(i + 1, close)) : Utf8ToCp1251("…");
    }
    const bool minus = t[i].Is(K::Op, "-");
    std::string run = minus ? "-" : "";
    for (int j = i + (minus ? 1 : 0); IsOperand(t[j]); ++j)
        run += (run.empty() || run == "-" ? "" : "*") + t[j].Text;
    return run.empty() || run == "-" ? "x" : Shown(run);
}

namespace {

// The base of the power whose '^' is token i, when it is plainly written.
std::string Base(const TFormulaTokens& t, int i) {
    return IsOperand(t[i - 1]) ? t[i - 1].Text : "";
}

} // namespace

void FindLookalikes(const TFormulaTokens& t, TMatches& out) {
    const std::string& typed = t.Typed();
    for (std::size_t i = 0; i < typed.size(); ++i)
        if (const char latin = LatinLookalike(static_cast<unsigned char>(typed[i])))
            out.push_back({static_cast<int>(i) + 1, {typed.substr(i, 1), std::string(1, latin)}});
}

void FindRussianLetters(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Russian))
            out.push_back({t[k].At, {t[k].Text}});
}

void FindCommas(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k) {
        if (!t[k].Is(K::Comma))
            continue;
        const bool digits = t[k - 1].Is(K::Number) && t[k + 1].Is(K::Number);
        out.push_back({t[k].At, {digits ? t[k - 1].Text + "." + t[k + 1].Text : "2.5"}});
    }
}

void FindColons(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Colon))
            out.push_back({t[k].At, {}});
}

// Bars pair up from the left: |y-z| is abs(y-z).
void FindBars(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k) {
        if (!t[k].Is(K::Bar))
            continue;
        int m = k + 1;
        while (m < t.Count() && !t[m].Is(K::Bar))
            ++m;
        const std::string inside = m < t.Count() && m > k + 1 ? Shown(t.Joined(k + 1, m)) : "x";
        out.push_back({t[k].At, {"abs(" + inside + ")"}});
        k = m;
    }
}

namespace {

// The brackets as counted from the left: a ')' with no '(' open is extra;
// of those left open the innermost is named, as the reading names it.
void MatchBrackets(const TFormulaTokens& t, TMatches* unclosed, TMatches* extra) {
    std::vector<int> open;
    for (int k = 0; k < t.Count(); ++k) {
        if (t[k].Is(K::Open))
            open.push_back(k);
        else if (t[k].Is(K::Close) && !open.empty())
            open.pop_back();
        else if (t[k].Is(K::Close) && extra)
            extra->push_back({t[k].At, {}});
    }
    if (!open.empty() && unclosed)
        unclosed->push_back({t[open.back()].At, {}});
}

} // namespace

void FindUnclosed(const TFormulaTokens& t, TMatches& out) {
    MatchBrackets(t, &out, nullptr);
}
void FindExtra(const TFormulaTokens& t, TMatches& out) {
    MatchBrackets(t, nullptr, &out);
}

// The row's name (e) raised to a power, and standing alone.
void FindPowersOfE(const TContext& c, const THintRow& row, TMatches& out) {
    const TFormulaTokens& t = c.T;
    const std::vector<std::string_view> names = HintedNames(row);
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word) && Holds(names, t[k].Text) && t[k + 1].Is(K::Op, "^"))
            out.push_back({t[k].At, {Argument(t, k + 2)}});
}

void FindLoneE(const TContext& c, const THintRow& row, TMatches& out) {
    const TFormulaTokens& t = c.T;
    const std::vector<std::string_view> names = HintedNames(row);
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word) && Holds(names, t[k].Text) && !t[k + 1].Is(K::Op, "^"))
            out.push_back({t[k].At, {}});
}

// sin^2(x): the exponent is a signed number or variable before the argument.
void FindFunctionPowers(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k) {
        if (!IsFunction(t[k]) || !t[k + 1].Is(K::Op, "^"))
            continue;
        int j = k + 2;
        if (t[j].Is(K::Op, "-"))
            ++j;
        if (IsOperand(t[j]))
            ++j;
        const std::string exponent = j > k + 2 ? t.Joined(k + 2, j) : "2";
        out.push_back({t[k + 1].At, {t[k].Text, Argument(t, j), exponent}});
    }
}

namespace {

// Whether token k is the exponent of a function's power (the 2 of sin^2(x)),
// which the function power's hint covers.
bool IsFunctionExponent(const TFormulaTokens& t, int k) {
    const int caret = t[k - 1].Is(K::Op, "-") ? k - 2 : k - 1;
    return t[caret].Is(K::Op, "^") && IsFunction(t[caret - 1]);
}

} // namespace

// Two things side by side that only a '*' between them would join: 2y,
// 2(, 2sin, y2, yz, y(, )(, )y, )2. Two numbers are a number with a blank.
void FindMissingTimes(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k + 1 < t.Count(); ++k) {
        const TFormulaToken &a = t[k], &b = t[k + 1];
        if ((!IsOperand(a) && !a.Is(K::Close)) || IsFunctionExponent(t, k))
            continue;
        const bool joins =
            b.Is(K::Var) || b.Is(K::Open) || IsFunction(b) || (b.Is(K::Number) && !a.Is(K::Number));
        if (joins)
            out.push_back({b.At, {a.Text, b.Text}});
    }
}

void FindFractionExponents(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Op, "^") && t[k + 1].Is(K::Number, "1") && t[k + 2].Is(K::Op, "/") &&
            IsOperand(t[k + 3]))
            out.push_back({t[k + 1].At, {Base(t, k), "1/" + t[k + 3].Text}});
}

void FindNegativeExponents(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k) {
        if (!t[k].Is(K::Op, "^") || !t[k + 1].Is(K::Op, "-"))
            continue;
        const std::string exponent = IsOperand(t[k + 2]) ? t[k + 2].Text : Utf8ToCp1251("…");
        out.push_back({t[k + 1].At, {Base(t, k), "-" + exponent}});
    }
}

void FindDoubleStars(const TFormulaTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Op, "*") && t[k + 1].Is(K::Op, "*"))
            out.push_back({t[k].At, {Base(t, k), IsOperand(t[k + 2]) ? t[k + 2].Text : "2"}});
}

} // namespace hints
