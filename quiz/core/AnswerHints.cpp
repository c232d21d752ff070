#include "quiz/core/AnswerHints.h"

#include "engine/Cp1251.h"
#include "engine/Functions.h"
#include "quiz/core/HintFinders.h"
#include "quiz/core/TaskCatalogue.h"

#include <algorithm>
#include <set>

using namespace formulon::engine;
using namespace hints;
using K = TTokenKind;

namespace {

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
    static const std::set<std::string, std::less<>> hinted = [] {
        std::set<std::string, std::less<>> names;
        for (const TRuleEntry& entry : kRules)
            for (const std::string_view name : HintedNames(entry.Row))
                names.emplace(name);
        return names;
    }();
    for (int k = 0; k < c.T.Count(); ++k)
        if (c.T[k].Is(K::Word) && !IsKnownFunctionName(c.T[k].Text) &&
            !hinted.contains(c.T[k].Text))
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

// Which hints to find: all, or those of the rules that word one refusal
// of the reading, at its place.
struct TWanted {
    TReadRefusal Words = TReadRefusal::None;
    int At = 0;
    bool Takes(const THintRow& row) const {
        return Words == TReadRefusal::None || row.Words == Words;
    }
    bool Takes(const TMatch& match) const { return Words == TReadRefusal::None || match.At == At; }
};

// Every hint wanted, rule by rule, before repeats are dropped.
std::vector<TAnswerHint> FindAll(const std::string& typed, std::string_view pictureTex,
                                 TWanted wanted = {}) {
    const TFormulaTokens tokens(typed);
    const TContext context{tokens, RussianWords(typed), pictureTex};
    std::vector<TAnswerHint> found;
    // The places of whole words hinted; the word rules come first.
    std::vector<bool> claimed(typed.size() + 2, false);
    const auto inClaimed = [&claimed](int at) {
        return at >= 0 && static_cast<std::size_t>(at) < claimed.size() &&
               claimed[static_cast<std::size_t>(at)];
    };
    for (std::size_t row = 0; row < std::size(kRules); ++row) {
        const TRuleEntry& entry = kRules[row];
        if (!wanted.Takes(entry.Row))
            continue;
        TMatches matches;
        entry.Find(context, entry.Row, matches);
        for (const TMatch& match : matches) {
            if (match.Claims < 0 && inClaimed(match.At))
                continue;
            for (int at = match.At; at < match.Claims; ++at)
                claimed[static_cast<std::size_t>(at)] = true;
            if (wanted.Takes(match))
                found.push_back({entry.Row.Rule, match.At, Filled(row, match.Args)});
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
    return FindHints(typed, ReferenceFormulas, task, variant);
}

std::vector<TAnswerHint> FindHints(const std::string& typed, const TTaskTable& tasks, int task,
                                   int variant) {
    std::vector<TAnswerHint> hints;
    std::set<std::string> given;
    for (TAnswerHint& hint : FindAll(typed, tasks.PictureTex(task, variant)))
        if (given.insert(hint.Text).second)
            hints.push_back(std::move(hint));
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
    const bool worded = std::any_of(std::begin(kRules), std::end(kRules), [&](const TRuleEntry& e) {
        return e.Row.Words == reading.Refusal;
    });
    if (reading.Refusal == TReadRefusal::None || !worded)
        return reading.Problem;
    // The word rules that claim Russian letters word the same refusal as
    // the letter rules, so the rules wanted claim as they do for all hints.
    std::vector<TAnswerHint> found =
        FindAll(typed, PictureTex(task, variant), {reading.Refusal, reading.ProblemPos});
    return found.empty() ? reading.Problem : std::move(found.front().Text);
}

std::vector<TAnswerHint> HintsBeside(std::vector<TAnswerHint> hints, int problemPos,
                                     const std::string& problem) {
    std::erase_if(hints, [&](const TAnswerHint& hint) {
        return hint.Position == problemPos && hint.Text == problem;
    });
    return hints;
}
