// Inside the hint table (AnswerHints.cpp): what its rules find. The rules
// that read tokens (TokenHints.cpp), and those that read whole words
// (WordHints.cpp): Russian names and the Russian layout, the names a rule
// hints (school names such as tg and arctg, the arc functions, ctg, lg
// beside the task's picture), and a function written without brackets.
#pragma once

#include "quiz/core/FormulaTokens.h"
#include "quiz/core/RussianWords.h"

#include <string>
#include <string_view>
#include <vector>

// A row of the hint table (AnswerHints.h), which the finders are part of.
struct THintRow;

namespace hints {

struct TMatch {
    int At; // 1-based in the typed answer
    std::vector<std::string> Args;
    int Claims = -1; // a whole word's hint: no other hint for the places [At, Claims)
};
using TMatches = std::vector<TMatch>;

// What the rules read: the answer's tokens and Russian words, and the
// task's picture.
struct TContext {
    const TFormulaTokens& T;
    std::vector<TRussianWord> Words;
    std::string_view Picture; // TeX; empty without a task
    bool PictureShowsLn() const { return Picture.find("\\ln") != std::string_view::npos; }
};
// A rule's finder reads its own row for the names it hints.
using TFinder = void (*)(const TContext&, const THintRow&, TMatches&);

// A piece of the answer quoted in a hint is cut at this length.
inline constexpr std::size_t kShownPiece = 24;

// The piece, or "…" when longer than kShownPiece.
std::string Shown(const std::string& piece);
bool IsOperand(const TFormulaToken& token);
bool IsFunction(const TFormulaToken& token);
// What stands from token i on as a function's argument, spelled right.
std::string Argument(const TFormulaTokens& t, int i);
// The names 'row' hints: its Names and the school names of its function.
std::vector<std::string_view> HintedNames(const THintRow& row);
bool Holds(const std::vector<std::string_view>& names, const std::string& name);

// The rules that read tokens alone (TokenHints.cpp).
void FindLookalikes(const TFormulaTokens& t, TMatches& out);
void FindRussianLetters(const TFormulaTokens& t, TMatches& out);
void FindCommas(const TFormulaTokens& t, TMatches& out);
void FindColons(const TFormulaTokens& t, TMatches& out);
void FindBars(const TFormulaTokens& t, TMatches& out);
void FindUnclosed(const TFormulaTokens& t, TMatches& out);
void FindExtra(const TFormulaTokens& t, TMatches& out);
void FindFunctionPowers(const TFormulaTokens& t, TMatches& out);
void FindMissingTimes(const TFormulaTokens& t, TMatches& out);
void FindFractionExponents(const TFormulaTokens& t, TMatches& out);
void FindNegativeExponents(const TFormulaTokens& t, TMatches& out);
void FindDoubleStars(const TFormulaTokens& t, TMatches& out);
// The row's name (e) raised to a power, and standing alone.
void FindPowersOfE(const TContext& c, const THintRow& row, TMatches& out);
void FindLoneE(const TContext& c, const THintRow& row, TMatches& out);

// The rules that read whole words (WordHints.cpp).
void FindRussianNames(const TContext& c, const THintRow& row, TMatches& out);
void FindLayoutWords(const TContext& c, const THintRow& row, TMatches& out);
// Each name the row hints, with the argument after it and that argument as
// an operand.
void FindNamed(const TContext& c, const THintRow& row, TMatches& out);
void FindLgOnLn(const TContext& c, const THintRow& row, TMatches& out);
void FindLg(const TContext& c, const THintRow& row, TMatches& out);
// A function without brackets: its argument all there is ("sin y", "log"),
// a variable and more ("sin y-z"), or no variable ("cos 3*y-5").
void FindUnbracketedAlone(const TContext& c, const THintRow& row, TMatches& out);
void FindUnbracketedVariable(const TContext& c, const THintRow& row, TMatches& out);
void FindUnbracketedOther(const TContext& c, const THintRow& row, TMatches& out);

} // namespace hints
