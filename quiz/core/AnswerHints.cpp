#include "quiz/core/AnswerHints.h"

#include "engine/Cp1251.h"
#include "quiz/core/AnswerTokens.h"
#include "quiz/core/HintFinders.h"
#include "quiz/core/TaskCatalogue.h"

#include <algorithm>
#include <set>

using formulon::engine::Utf8ToCp1251;

namespace hints {

using K = TTokKind;

std::string Shown(const std::string& piece) {
    return piece.size() <= kShownPiece ? piece : Utf8ToCp1251("…");
}

bool IsOperand(const TAnswerToken& token) {
    return token.Is(K::Number) || token.Is(K::Var);
}

bool IsFunction(const TAnswerToken& token) {
    return token.Is(K::Word) && IsKnownFunctionName(token.Text);
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

} // namespace hints

using namespace hints;

namespace {

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
constexpr char kArctg[] = "arctg", kTg[] = "tg", kLn[] = "ln", kSqrt[] = "sqrt";

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
    static const std::set<std::string> kHinted = {"arctg",  "arctan", "atan", "arcsin", "asin",
                                                  "arccos", "acos",   "tg",   "ctg",    "cot",
                                                  "ln",     "lg",     "sqrt", "e"};
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word) && !IsKnownFunctionName(t[k].Text) && !kHinted.count(t[k].Text))
            out.push_back({t[k].At, {Shown(t[k].Text)}});
}

template <void (*Find)(const TAnswerTokens&, TMatches&)>
void OnTokens(const TContext& c, TMatches& out) {
    Find(c.T, out);
}

struct TRuleEntry {
    THintRow Row;
    TFinder Find;
};

const TRuleEntry kRules[] = {
    {{THintRule::RussianName, "синус, тг, корень…", "«{1}» пишут латинскими буквами: {2}"},
     FindRussianNames},
    {{THintRule::RussianLayout, "ышт, сщы, н, я…",
      "переключите раскладку на латинскую: {1} — это {2}"},
     FindLayoutWords},
    {{THintRule::RussianLookalike, "у х е с о а р вместо y x e c o a p",
      "«{1}» — русская буква: наберите латинскую {2} (переключите раскладку)"},
     OnTokens<FindLookalikes>},
    {{THintRule::RussianLetter, "другая русская буква",
      "«{1}» — русская буква: в формуле буквы только латинские"},
     OnTokens<FindRussianLetters>},
    {{THintRule::DecimalComma, ",", "дробную часть отделяют точкой, а не запятой: {1}"},
     OnTokens<FindCommas>},
    {{THintRule::Colon, ":", "деление пишут знаком «/», а не «:»"}, OnTokens<FindColons>},
    {{THintRule::Bars, "|x|", "модуль пишут функцией abs: {1}"}, OnTokens<FindBars>},
    {{THintRule::UnclosedBracket, "( без пары", "скобка «(» не закрыта: допишите «)»"},
     OnTokens<FindUnclosed>},
    {{THintRule::ExtraBracket, ") без пары", "лишняя скобка «)»: перед ней нет открывающей «(»"},
     OnTokens<FindExtra>},
    {{THintRule::Arctg, "arctg", "арктангенс пишут atn: atn({1})"}, OnTokens<FindWord<kArctg>>},
    {{THintRule::Arctan, "arctan, atan", "арктангенс пишут atn: atn({1})"}, FindArctan},
    {{THintRule::Arcsin, "arcsin",
      "арксинуса в программе нет: его пишут через арктангенс: atn({2}/sqr(1-{2}^2))"},
     FindArcsin},
    {{THintRule::Arccos, "arccos",
      "арккосинуса в программе нет: его пишут через арктангенс: 90-atn({2}/sqr(1-{2}^2))"},
     FindArccos},
    {{THintRule::Tg, "tg", "тангенс пишут tan: tan({1})"}, OnTokens<FindWord<kTg>>},
    {{THintRule::Ctg, "ctg, cot", "котангенс пишут через тангенс: 1/tan({1})"}, FindCtg},
    {{THintRule::Ln, "ln", "натуральный логарифм пишут log: log({1})"}, OnTokens<FindWord<kLn>>},
    {{THintRule::LgOnLnPicture, "lg, на картинке ln",
      "ln на картинке — натуральный логарифм, его пишут log({1})"},
     FindLgOnLn},
    {{THintRule::Lg, "lg", "десятичный логарифм пишут через натуральный: log({1})/log(10)"},
     FindLg},
    {{THintRule::Sqrt, "sqrt", "квадратный корень пишут sqr: sqr({1})"}, OnTokens<FindWord<kSqrt>>},
    {{THintRule::PowerOfE, "e^x", "степень числа e пишут функцией exp: exp({1})"},
     OnTokens<FindPowersOfE>},
    {{THintRule::LoneE, "e", "число e пишут exp(1)"}, OnTokens<FindLoneE>},
    {{THintRule::FunctionPower, "sin^2(x)", "степень функции пишут после её скобок: {1}({2})^{3}"},
     OnTokens<FindFunctionPowers>},
    {{THintRule::NoBracket, "sin x", "аргумент функции пишут в скобках: {1}({2})"},
     FindUnbracketedAlone},
    {{THintRule::NoBracketVariable, "sin y-z",
      "программа прочла {1}({2}){3}; если {4} {5}, пишите {1}({5})"},
     FindUnbracketedVariable},
    {{THintRule::NoBracketOther, "cos 3*y",
      "после {1} нет скобки, и программа {1} не вычисляет; если {4} {5}, пишите {1}({5})"},
     FindUnbracketedOther},
    {{THintRule::MissingTimes, "2y, 2(, )(, yz", "пропущен знак умножения: {1}*{2}"},
     OnTokens<FindMissingTimes>},
    {{THintRule::FractionExponent, "y^1/2", "дробный показатель степени берут в скобки: {1}^({2})"},
     OnTokens<FindFractionExponents>},
    {{THintRule::NegativeExponent, "y^-2",
      "отрицательный показатель степени берут в скобки: {1}^({2})"},
     OnTokens<FindNegativeExponents>},
    {{THintRule::DoubleStar, "**", "степень пишут знаком ^: {1}^{2}"}, OnTokens<FindDoubleStars>},
    {{THintRule::UnknownName, "незнакомое имя",
      "имя «{1}» программа не знает: функции — sin, cos, tan, atn, log, sqr, exp, abs; "
      "переменные — y и z"},
     OnTokens<FindUnknownNames>},
};

// Each row's hint in code page 1251, converted once: an answer can match a
// rule thousands of times.
const std::string& Template(std::size_t row) {
    static const std::vector<std::string> templates = [] {
        std::vector<std::string> converted;
        for (const TRuleEntry& entry : kRules)
            converted.push_back(Utf8ToCp1251(entry.Row.Hint));
        return converted;
    }();
    return templates[row];
}

std::string Filled(std::size_t row, const std::vector<std::string>& args) {
    std::string text = Template(row);
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

std::vector<TAnswerHint> FindHints(const std::string& typed, int task, int variant) {
    const TAnswerTokens tokens(typed);
    const TContext context{tokens, RussianWords(typed), PictureTex(task, variant)};
    std::vector<TAnswerHint> hints;
    std::set<std::string> given;
    // The letters of whole words hinted; the word rules come first.
    std::vector<bool> claimed(typed.size() + 1, false);
    const auto inClaimed = [&claimed](int at) {
        return at >= 0 && static_cast<std::size_t>(at) < claimed.size() &&
               claimed[static_cast<std::size_t>(at)];
    };
    for (std::size_t row = 0; row < std::size(kRules); ++row) {
        const TRuleEntry& entry = kRules[row];
        TMatches matches;
        entry.Find(context, matches);
        for (const TMatch& match : matches) {
            if (match.Claims < 0 && inClaimed(match.At))
                continue;
            for (int at = match.At; at < match.Claims; ++at)
                claimed[static_cast<std::size_t>(at)] = true;
            std::string text = Filled(row, match.Args);
            if (given.insert(text).second)
                hints.push_back({entry.Row.Rule, match.At + 1, std::move(text)});
        }
    }
    std::stable_sort(hints.begin(), hints.end(), [](const TAnswerHint& a, const TAnswerHint& b) {
        return a.Position < b.Position;
    });
    return hints;
}

std::string FirstHintText(const std::string& typed, int task, int variant) {
    const std::vector<TAnswerHint> hints = FindHints(typed, task, variant);
    return hints.empty() ? std::string() : hints.front().Text;
}
