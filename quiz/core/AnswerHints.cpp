#include "quiz/core/AnswerHints.h"

#include "engine/Cp1251.h"
#include "quiz/core/AnswerTokens.h"

#include <algorithm>
#include <set>

using formulon::engine::Utf8ToCp1251;

namespace {

struct TMatch {
    int At; // 0-based in the typed answer
    std::vector<std::string> Args;
};
using TMatches = std::vector<TMatch>;
using TFinder = void (*)(const TAnswerTokens&, TMatches&);

// A piece of the answer quoted in a hint is cut at this length.
constexpr std::size_t kShownPiece = 24;

using K = TTokKind;

std::string Shown(const std::string& piece) {
    return piece.size() <= kShownPiece ? piece : Utf8ToCp1251("…");
}

bool IsOperand(const TAnswerToken& token) {
    return token.Is(K::Number) || token.Is(K::Var);
}

// What stands after token i-1 as a function's argument, spelled right: the
// inside of a bracket group, or a signed run of numbers and variables with
// the missing stars put in ("sin 2y" is sin(2*y)); x when there is none.
std::string Argument(const TAnswerTokens& t, int i) {
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

// The base of the power whose '^' is token i, when it is plainly written.
std::string Base(const TAnswerTokens& t, int i) {
    return IsOperand(t[i - 1]) ? t[i - 1].Text : "";
}

void FindLookalikes(const TAnswerTokens& t, TMatches& out) {
    const std::string& typed = t.Typed();
    for (std::size_t i = 0; i < typed.size(); ++i)
        if (const char latin = LatinLookalike(static_cast<unsigned char>(typed[i])))
            out.push_back({static_cast<int>(i), {typed.substr(i, 1), std::string(1, latin)}});
}

void FindRussianLetters(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Russian))
            out.push_back({t[k].At, {t[k].Text}});
}

void FindCommas(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k) {
        if (!t[k].Is(K::Comma))
            continue;
        const bool digits = t[k - 1].Is(K::Number) && t[k + 1].Is(K::Number);
        out.push_back({t[k].At, {digits ? t[k - 1].Text + "." + t[k + 1].Text : "2.5"}});
    }
}

void FindColons(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Colon))
            out.push_back({t[k].At, {}});
}

// Bars pair up from the left: |y-z| is abs(y-z).
void FindBars(const TAnswerTokens& t, TMatches& out) {
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

// The brackets as counted from the left: a ')' with no '(' open is extra;
// of those left open the innermost is named, as the reading names it.
void MatchBrackets(const TAnswerTokens& t, TMatches* unclosed, TMatches* extra) {
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

void FindUnclosed(const TAnswerTokens& t, TMatches& out) {
    MatchBrackets(t, &out, nullptr);
}
void FindExtra(const TAnswerTokens& t, TMatches& out) {
    MatchBrackets(t, nullptr, &out);
}

template <const char* Word> void FindWord(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word, Word))
            out.push_back({t[k].At, {Argument(t, k + 1)}});
}
constexpr char kArctg[] = "arctg", kTg[] = "tg", kCtg[] = "ctg", kLn[] = "ln", kLg[] = "lg",
               kSqrt[] = "sqrt";

void FindPowersOfE(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word, "e") && t[k + 1].Is(K::Op, "^"))
            out.push_back({t[k].At, {Argument(t, k + 2)}});
}

void FindLoneE(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word, "e") && !t[k + 1].Is(K::Op, "^"))
            out.push_back({t[k].At, {}});
}

bool IsFunction(const TAnswerToken& token) {
    return token.Is(K::Word) && IsKnownFunctionName(token.Text);
}

// sin^2(x): the exponent is a signed number or variable before the argument.
void FindFunctionPowers(const TAnswerTokens& t, TMatches& out) {
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

void FindMissingBrackets(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (IsFunction(t[k]) && !t[k + 1].Is(K::Open) && !t[k + 1].Is(K::Op, "^"))
            out.push_back({t[k + 1].At, {t[k].Text, Argument(t, k + 1)}});
}

// Whether token k is the exponent of a function's power (the 2 of sin^2(x)),
// which the function power's hint covers.
bool IsFunctionExponent(const TAnswerTokens& t, int k) {
    const int caret = t[k - 1].Is(K::Op, "-") ? k - 2 : k - 1;
    return t[caret].Is(K::Op, "^") && IsFunction(t[caret - 1]);
}

// Two things side by side that only a '*' between them would join: 2y,
// 2(, 2sin, y2, yz, y(, )(, )y, )2. Two numbers are a number with a blank.
void FindMissingTimes(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k + 1 < t.Count(); ++k) {
        const TAnswerToken &a = t[k], &b = t[k + 1];
        if ((!IsOperand(a) && !a.Is(K::Close)) || IsFunctionExponent(t, k))
            continue;
        const bool joins =
            b.Is(K::Var) || b.Is(K::Open) || IsFunction(b) || (b.Is(K::Number) && !a.Is(K::Number));
        if (joins)
            out.push_back({b.At, {a.Text, b.Text}});
    }
}

void FindFractionExponents(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Op, "^") && t[k + 1].Is(K::Number, "1") && t[k + 2].Is(K::Op, "/") &&
            IsOperand(t[k + 3]))
            out.push_back({t[k + 1].At, {Base(t, k), "1/" + t[k + 3].Text}});
}

void FindNegativeExponents(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k) {
        if (!t[k].Is(K::Op, "^") || !t[k + 1].Is(K::Op, "-"))
            continue;
        const std::string exponent = IsOperand(t[k + 2]) ? t[k + 2].Text : Utf8ToCp1251("…");
        out.push_back({t[k + 1].At, {Base(t, k), "-" + exponent}});
    }
}

void FindDoubleStars(const TAnswerTokens& t, TMatches& out) {
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Op, "*") && t[k + 1].Is(K::Op, "*"))
            out.push_back({t[k].At, {Base(t, k), IsOperand(t[k + 2]) ? t[k + 2].Text : "2"}});
}

void FindUnknownNames(const TAnswerTokens& t, TMatches& out) {
    static const std::set<std::string> kHinted = {"arctg", "tg", "ctg", "ln", "lg", "sqrt", "e"};
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word) && !IsKnownFunctionName(t[k].Text) && !kHinted.count(t[k].Text))
            out.push_back({t[k].At, {Shown(t[k].Text)}});
}

struct TRuleEntry {
    THintRow Row;
    TFinder Find;
};

const TRuleEntry kRules[] = {
    {{THintRule::RussianLookalike, "у х е с о а р вместо y x e c o a p",
      "«{1}» — русская буква: наберите латинскую {2} (переключите раскладку)"},
     FindLookalikes},
    {{THintRule::RussianLetter, "другая русская буква",
      "«{1}» — русская буква: в формуле буквы только латинские"},
     FindRussianLetters},
    {{THintRule::DecimalComma, ",", "дробную часть отделяют точкой, а не запятой: {1}"},
     FindCommas},
    {{THintRule::Colon, ":", "деление пишут знаком «/», а не «:»"}, FindColons},
    {{THintRule::Bars, "|x|", "модуль пишут функцией abs: {1}"}, FindBars},
    {{THintRule::UnclosedBracket, "( без пары", "скобка «(» не закрыта: допишите «)»"},
     FindUnclosed},
    {{THintRule::ExtraBracket, ") без пары", "лишняя скобка «)»: перед ней нет открывающей «(»"},
     FindExtra},
    {{THintRule::Arctg, "arctg", "арктангенс пишут atn: atn({1})"}, FindWord<kArctg>},
    {{THintRule::Tg, "tg", "тангенс пишут tan: tan({1})"}, FindWord<kTg>},
    {{THintRule::Ctg, "ctg", "котангенс пишут через тангенс: 1/tan({1})"}, FindWord<kCtg>},
    {{THintRule::Ln, "ln", "натуральный логарифм пишут log: log({1})"}, FindWord<kLn>},
    {{THintRule::Lg, "lg", "десятичный логарифм пишут через натуральный: log({1})/log(10)"},
     FindWord<kLg>},
    {{THintRule::Sqrt, "sqrt", "квадратный корень пишут sqr: sqr({1})"}, FindWord<kSqrt>},
    {{THintRule::PowerOfE, "e^x", "степень числа e пишут функцией exp: exp({1})"}, FindPowersOfE},
    {{THintRule::LoneE, "e", "число e пишут exp(1)"}, FindLoneE},
    {{THintRule::FunctionPower, "sin^2(x)", "степень функции пишут после её скобок: {1}({2})^{3}"},
     FindFunctionPowers},
    {{THintRule::NoBracket, "sin x", "аргумент функции пишут в скобках: {1}({2})"},
     FindMissingBrackets},
    {{THintRule::MissingTimes, "2y, 2(, )(, yz", "пропущен знак умножения: {1}*{2}"},
     FindMissingTimes},
    {{THintRule::FractionExponent, "y^1/2", "дробный показатель степени берут в скобки: {1}^({2})"},
     FindFractionExponents},
    {{THintRule::NegativeExponent, "y^-2",
      "отрицательный показатель степени берут в скобки: {1}^({2})"},
     FindNegativeExponents},
    {{THintRule::DoubleStar, "**", "степень пишут знаком ^: {1}^{2}"}, FindDoubleStars},
    {{THintRule::UnknownName, "незнакомое имя",
      "имя «{1}» программа не знает: функции — sin, cos, tan, atn, log, sqr, exp, abs; "
      "переменные — y и z"},
     FindUnknownNames},
};

std::string Filled(const char* hint, const std::vector<std::string>& args) {
    std::string text = Utf8ToCp1251(hint);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string mark = "{"; // appended: gcc 12 warns falsely about "{" + string
        mark += std::to_string(i + 1);
        mark += '}';
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + args[i].size()))
            text.replace(at, mark.size(), args[i]);
    }
    return text;
}

} // namespace

const std::vector<THintRow>& HintRules() {
    static const std::vector<THintRow> rows = [] {
        std::vector<THintRow> list;
        for (const TRuleEntry& entry : kRules)
            list.push_back(entry.Row);
        return list;
    }();
    return rows;
}

std::vector<TAnswerHint> FindHints(const std::string& typed) {
    const TAnswerTokens tokens(typed);
    std::vector<TAnswerHint> hints;
    std::set<std::string> given;
    for (const TRuleEntry& entry : kRules) {
        TMatches matches;
        entry.Find(tokens, matches);
        for (const TMatch& match : matches) {
            std::string text = Filled(entry.Row.Hint, match.Args);
            if (given.insert(text).second)
                hints.push_back({entry.Row.Rule, match.At + 1, std::move(text)});
        }
    }
    std::stable_sort(hints.begin(), hints.end(), [](const TAnswerHint& a, const TAnswerHint& b) {
        return a.Position < b.Position;
    });
    return hints;
}

std::string FirstHintText(const std::string& typed) {
    const std::vector<TAnswerHint> hints = FindHints(typed);
    return hints.empty() ? std::string() : hints.front().Text;
}
