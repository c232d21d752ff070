#include "quiz/core/HintFinders.h"

#include "engine/Cp1251.h"
#include "engine/Functions.h"
#include "quiz/core/AnswerHints.h"

#include <algorithm>
#include <utility>

using namespace formulon::engine;

namespace hints {

namespace {

using K = TTokenKind;

// The first token at or after place 'at' (tokens are in order).
int TokenAt(const TFormulaTokens& t, int at) {
    int low = 0, high = t.Count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (t[middle].At < at)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// An argument as a part of a longer formula: in brackets unless it is a
// single number or variable.
std::string Operand(const std::string& argument) {
    return argument.find_first_not_of("0123456789.yzx") == std::string::npos ? argument
                                                                             : "(" + argument + ")";
}

// A Russian name written the program's way, with the pupil's argument.
std::string Spelled(const TContext& c, const std::string& latin, const std::string& argument) {
    if (latin == "ctg")
        return "1/tan(" + argument + ")";
    if (latin == "lg" && !c.PictureShowsLn())
        return "log(" + argument + ")/log(10)";
    return (latin == "lg" ? std::string("log") : latin) + "(" + argument + ")";
}

// Where a function without brackets applies (a variable right after its
// name) and what the pupil may have meant: the rest of its bracket group.
enum class TUnbracketed { Alone, Variable, Other };

// The end of the bracket group token k is in: its ')' or the end; -1 past
// 'within' tokens, a rest too long to quote (and never looked for far, as
// an answer may hold thousands of functions).
int GroupEnd(const TFormulaTokens& t, int k, int within) {
    for (int depth = 0, last = k + within; k < t.Count(); ++k) {
        if (k > last)
            return -1;
        if (t[k].Is(K::Open))
            ++depth;
        else if (t[k].Is(K::Close) && depth-- == 0)
            break;
    }
    return k;
}

const char* Under(const std::string& name) {
    const TBuiltInFunction* function = FindBuiltInFunction(name);
    if (function == nullptr)
        return "в скобках";
    switch (function->Id) {
    case TFunctionId::Sin:
        return "под синусом";
    case TFunctionId::Cos:
        return "под косинусом";
    case TFunctionId::Tan:
        return "под тангенсом";
    case TFunctionId::Atn:
        return "под арктангенсом";
    case TFunctionId::Log:
        return "под логарифмом";
    case TFunctionId::Sqr:
        return "под корнем";
    case TFunctionId::Exp:
        return "в показателе степени e";
    case TFunctionId::Abs:
        break;
    }
    return "под модулем";
}

void FindUnbracketed(TUnbracketed wanted, const TContext& c, TMatches& out) {
    const TFormulaTokens& t = c.T;
    for (int k = 0; k < t.Count(); ++k) {
        if (!IsFunction(t[k]) || t[k + 1].Is(K::Open) || t[k + 1].Is(K::Op, "^"))
            continue;
        const int end = GroupEnd(t, k + 1, static_cast<int>(kShownPiece));
        const std::string rest = end < 0 ? std::string() : t.Joined(k + 1, end);
        const bool alone = end < 0 || end == k + 1 || (t[k + 1].Is(K::Var) && end == k + 2) ||
                           rest.size() > kShownPiece;
        const TUnbracketed form = alone                 ? TUnbracketed::Alone
                                  : t[k + 1].Is(K::Var) ? TUnbracketed::Variable
                                                        : TUnbracketed::Other;
        if (form != wanted)
            continue;
        const std::string& name = t[k].Text;
        if (form == TUnbracketed::Alone)
            out.push_back({t[k + 1].At, {name, Argument(t, k + 1)}});
        else
            out.push_back(
                {t[k + 1].At,
                 {name, t[k + 1].Text, t.Joined(k + 2, end), Utf8ToCp1251(Under(name)), rest}});
    }
}

} // namespace

std::vector<std::string_view> HintedNames(const THintRow& row) {
    std::vector<std::string_view> names = SplitNames(row.Names);
    if (const TBuiltInFunction* function = FindBuiltInFunction(row.SchoolNamesOf))
        for (const std::string_view name : SplitNames(function->SchoolNames))
            names.push_back(name);
    return names;
}

bool Holds(const std::vector<std::string_view>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void FindRussianNames(const TContext& c, const THintRow&, TMatches& out) {
    for (const TRussianWord& word : c.Words)
        if (word.Kind == TRussianWord::TKind::Name)
            out.push_back(
                {word.At,
                 {word.Text, Spelled(c, word.Latin, Argument(c.T, TokenAt(c.T, word.End)))},
                 word.End});
}

void FindLayoutWords(const TContext& c, const THintRow&, TMatches& out) {
    for (const TRussianWord& word : c.Words)
        if (word.Kind == TRussianWord::TKind::Layout)
            out.push_back({word.At, {word.Text, word.Latin}, word.End});
}

void FindNamed(const TContext& c, const THintRow& row, TMatches& out) {
    const std::vector<std::string_view> names = HintedNames(row);
    for (int k = 0; k < c.T.Count(); ++k)
        if (c.T[k].Is(K::Word) && Holds(names, c.T[k].Text)) {
            const std::string argument = Argument(c.T, k + 1);
            out.push_back({c.T[k].At, {argument, Operand(argument)}});
        }
}

void FindLgOnLn(const TContext& c, const THintRow& row, TMatches& out) {
    if (c.PictureShowsLn())
        FindNamed(c, row, out);
}
void FindLg(const TContext& c, const THintRow& row, TMatches& out) {
    if (!c.PictureShowsLn())
        FindNamed(c, row, out);
}

void FindUnbracketedAlone(const TContext& c, const THintRow&, TMatches& out) {
    FindUnbracketed(TUnbracketed::Alone, c, out);
}
void FindUnbracketedVariable(const TContext& c, const THintRow&, TMatches& out) {
    FindUnbracketed(TUnbracketed::Variable, c, out);
}
void FindUnbracketedOther(const TContext& c, const THintRow&, TMatches& out) {
    FindUnbracketed(TUnbracketed::Other, c, out);
}

} // namespace hints
