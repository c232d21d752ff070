#include "quiz/core/AnswerHints.h"

#include "engine/Cp1251.h"
#include "engine/Functions.h"
#include "quiz/core/HintFinders.h"
#include "quiz/core/TaskCatalogue.h"

#include <algorithm>
#include <set>

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

} // namespace hints

using namespace hints;

namespace {

// The base of the power whose '^' is token i, when it is plainly written.
std::string Base(const TFormulaTokens& t, int i) {
    return IsOperand(t[i - 1]) ? t[i - 1].Text : "";
}

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

void FindUnclosed(const TFormulaTokens& t, TMatches& out) {
    MatchBrackets(t, &out, nullptr);
}
void FindExtra(const TFormulaTokens& t, TMatches& out) {
    MatchBrackets(t, nullptr, &out);
}

// The row's name (e) raised to a power, and standing alone.
void FindPowersOfE(const TContext& c, const THintRow& row, TMatches& out) {
    const TFormulaTokens& t = c.T;
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word) && HintsName(row, t[k].Text) && t[k + 1].Is(K::Op, "^"))
            out.push_back({t[k].At, {Argument(t, k + 2)}});
}

void FindLoneE(const TContext& c, const THintRow& row, TMatches& out) {
    const TFormulaTokens& t = c.T;
    for (int k = 0; k < t.Count(); ++k)
        if (t[k].Is(K::Word) && HintsName(row, t[k].Text) && !t[k + 1].Is(K::Op, "^"))
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

// Whether token k is the exponent of a function's power (the 2 of sin^2(x)),
// which the function power's hint covers.
bool IsFunctionExponent(const TFormulaTokens& t, int k) {
    const int caret = t[k - 1].Is(K::Op, "-") ? k - 2 : k - 1;
    return t[caret].Is(K::Op, "^") && IsFunction(t[caret - 1]);
}

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

void FindUnknownNames(const TContext& c, const THintRow& row, TMatches& out);

template <void (*Find)(const TFormulaTokens&, TMatches&)>
void OnTokens(const TContext& c, const THintRow&, TMatches& out) {
    Find(c.T, out);
}

struct TRuleEntry {
    THintRow Row;
    TFinder Find;
};

using R = THintRule;
using W = TReadRefusal;

// One row a rule: what it finds, its hint, the refusal of the reading it
// words, and the names it hints. A new rule is a row here (and its name in
// THintRule) and a row in AnswerHintsTest.
const TRuleEntry kRules[] = {
    {{R::RussianName, "синус, тг, корень…", "«{1}» пишут латинскими буквами: {2}",
      W::RussianLetter},
     FindRussianNames},
    {{R::RussianLayout, "ышт, сщы, н, я…", "переключите раскладку на латинскую: {1} — это {2}",
      W::RussianLetter},
     FindLayoutWords},
    {{R::RussianLookalike, "у х е с о а р вместо y x e c o a p",
      "«{1}» — русская буква: наберите латинскую {2} (переключите раскладку)", W::RussianLetter},
     OnTokens<FindLookalikes>},
    {{R::RussianLetter, "другая русская буква",
      "«{1}» — русская буква: в формуле буквы только латинские", W::RussianLetter},
     OnTokens<FindRussianLetters>},
    {{R::DecimalComma, ",", "дробную часть отделяют точкой, а не запятой: {1}", W::Comma},
     OnTokens<FindCommas>},
    {{R::Colon, ":", "деление пишут знаком «/», а не «:»", W::BadCharacter}, OnTokens<FindColons>},
    {{R::Bars, "|x|", "модуль пишут функцией abs: {1}", W::BadCharacter}, OnTokens<FindBars>},
    {{R::UnclosedBracket, "( без пары", "скобка «(» не закрыта: допишите «)»", W::UnclosedBracket},
     OnTokens<FindUnclosed>},
    {{R::ExtraBracket, ") без пары", "лишняя скобка «)»: перед ней нет открывающей «(»",
      W::ExtraBracket},
     OnTokens<FindExtra>},
    {{R::Arctg, "arctg, arctan, atan", "арктангенс пишут atn: atn({1})", W::UnknownName, "", "atn"},
     FindNamed},
    {{R::Arcsin, "arcsin",
      "арксинуса в программе нет: его пишут через арктангенс: atn({2}/sqr(1-{2}^2))",
      W::UnknownName, "arcsin asin"},
     FindNamed},
    {{R::Arccos, "arccos",
      "арккосинуса в программе нет: его пишут через арктангенс: 90-atn({2}/sqr(1-{2}^2))",
      W::UnknownName, "arccos acos"},
     FindNamed},
    {{R::Tg, "tg", "тангенс пишут tan: tan({1})", W::UnknownName, "", "tan"}, FindNamed},
    {{R::Ctg, "ctg, cot", "котангенс пишут через тангенс: 1/tan({1})", W::UnknownName, "ctg cot"},
     FindNamed},
    {{R::Ln, "ln", "натуральный логарифм пишут log: log({1})", W::UnknownName, "", "log"},
     FindNamed},
    {{R::LgOnLnPicture, "lg, на картинке ln",
      "ln на картинке — натуральный логарифм, его пишут log({1})", W::UnknownName, "lg"},
     FindLgOnLn},
    {{R::Lg, "lg", "десятичный логарифм пишут через натуральный: log({1})/log(10)", W::UnknownName,
      "lg"},
     FindLg},
    {{R::Sqrt, "sqrt", "квадратный корень пишут sqr: sqr({1})", W::UnknownName, "", "sqr"},
     FindNamed},
    {{R::PowerOfE, "e^x", "степень числа e пишут функцией exp: exp({1})", W::UnknownName, "e"},
     FindPowersOfE},
    {{R::LoneE, "e", "число e пишут exp(1)", W::UnknownName, "e"}, FindLoneE},
    {{R::FunctionPower, "sin^2(x)", "степень функции пишут после её скобок: {1}({2})^{3}",
      W::FunctionPower},
     OnTokens<FindFunctionPowers>},
    {{R::NoBracket, "sin x", "аргумент функции пишут в скобках: {1}({2})", W::NoBracket},
     FindUnbracketedAlone},
    {{R::NoBracketVariable, "sin y-z",
      "программа прочла {1}({2}){3}; если {4} {5}, пишите {1}({5})", W::NoBracket},
     FindUnbracketedVariable},
    {{R::NoBracketOther, "cos 3*y",
      "после {1} нет скобки, и программа {1} не вычисляет; если {4} {5}, пишите {1}({5})",
      W::NoBracket},
     FindUnbracketedOther},
    {{R::MissingTimes, "2y, 2(, )(, yz", "пропущен знак умножения: {1}*{2}", W::MissingOperator},
     OnTokens<FindMissingTimes>},
    {{R::FractionExponent, "y^1/2", "дробный показатель степени берут в скобки: {1}^({2})"},
     OnTokens<FindFractionExponents>},
    {{R::NegativeExponent, "y^-2", "отрицательный показатель степени берут в скобки: {1}^({2})"},
     OnTokens<FindNegativeExponents>},
    {{R::DoubleStar, "**", "степень пишут знаком ^: {1}^{2}", W::DoubleStar},
     OnTokens<FindDoubleStars>},
    {{R::UnknownName, "незнакомое имя",
      "имя «{1}» программа не знает: функции — {2}; переменные — y и z", W::UnknownName},
     FindUnknownNames},
};

// The built-in functions as the unknown name's hint lists them.
std::string FunctionList() {
    std::string list;
    for (const TBuiltInFunction& function : BuiltInFunctions())
        list += (list.empty() ? "" : ", ") + std::string(function.Name);
    return list;
}

// A name no rule hints and no function has.
void FindUnknownNames(const TContext& c, const THintRow&, TMatches& out) {
    static const std::string functions = FunctionList();
    const auto hinted = [](const std::string& name) {
        return std::any_of(std::begin(kRules), std::end(kRules),
                           [&name](const TRuleEntry& entry) { return HintsName(entry.Row, name); });
    };
    for (int k = 0; k < c.T.Count(); ++k)
        if (c.T[k].Is(K::Word) && !IsKnownFunctionName(c.T[k].Text) && !hinted(c.T[k].Text))
            out.push_back({c.T[k].At, {Shown(c.T[k].Text), functions}});
}

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

struct TFound {
    std::size_t Row;
    TAnswerHint Hint;
};

// Every hint of every rule, rule by rule, before repeats are dropped.
std::vector<TFound> FindAll(const std::string& typed, int task, int variant) {
    const TFormulaTokens tokens(typed);
    const TContext context{tokens, RussianWords(typed), PictureTex(task, variant)};
    std::vector<TFound> found;
    // The places of whole words hinted; the word rules come first.
    std::vector<bool> claimed(typed.size() + 2, false);
    const auto inClaimed = [&claimed](int at) {
        return at >= 0 && static_cast<std::size_t>(at) < claimed.size() &&
               claimed[static_cast<std::size_t>(at)];
    };
    for (std::size_t row = 0; row < std::size(kRules); ++row) {
        const TRuleEntry& entry = kRules[row];
        TMatches matches;
        entry.Find(context, entry.Row, matches);
        for (const TMatch& match : matches) {
            if (match.Claims < 0 && inClaimed(match.At))
                continue;
            for (int at = match.At; at < match.Claims; ++at)
                claimed[static_cast<std::size_t>(at)] = true;
            found.push_back({row, {entry.Row.Rule, match.At, Filled(row, match.Args)}});
        }
    }
    return found;
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
    std::vector<TAnswerHint> hints;
    std::set<std::string> given;
    for (TFound& found : FindAll(typed, task, variant))
        if (given.insert(found.Hint.Text).second)
            hints.push_back(std::move(found.Hint));
    std::stable_sort(hints.begin(), hints.end(), [](const TAnswerHint& a, const TAnswerHint& b) {
        return a.Position < b.Position;
    });
    return hints;
}

std::string FirstHintText(const std::string& typed, int task, int variant) {
    const std::vector<TAnswerHint> hints = FindHints(typed, task, variant);
    return hints.empty() ? std::string() : hints.front().Text;
}

std::string ReadingProblemText(const std::string& typed, const TFormulaReading& reading, int task,
                               int variant) {
    if (reading.Refusal == TReadRefusal::None)
        return reading.Problem;
    for (TFound& found : FindAll(typed, task, variant))
        if (found.Hint.Position == reading.ProblemPos &&
            kRules[found.Row].Row.Words == reading.Refusal)
            return std::move(found.Hint.Text);
    return reading.Problem;
}

std::vector<TAnswerHint> HintsBeside(std::vector<TAnswerHint> hints, int problemPos,
                                     const std::string& problem) {
    std::erase_if(hints, [&](const TAnswerHint& hint) {
        return hint.Position == problemPos && hint.Text == problem;
    });
    return hints;
}
