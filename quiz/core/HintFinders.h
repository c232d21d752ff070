// Inside the hint table (AnswerHints.cpp): what its rules find, and the
// rules that read whole words (WordHints.cpp): Russian names and the Russian
// layout, the arc functions and ctg, lg beside the task's picture, and a
// function written without brackets.
#pragma once

#include "quiz/core/AnswerTokens.h"
#include "quiz/core/RussianWords.h"

#include <string>
#include <string_view>
#include <vector>

namespace hints {

struct TMatch {
    int At; // 0-based in the typed answer
    std::vector<std::string> Args;
    int Claims = -1; // a whole word's hint: no other hint for [At, Claims)
};
using TMatches = std::vector<TMatch>;

// What the rules read: the answer's tokens and Russian words, and the
// task's picture.
struct TContext {
    const TAnswerTokens& T;
    std::vector<TRussianWord> Words;
    std::string_view Picture; // TeX; empty without a task
    bool PictureShowsLn() const { return Picture.find("\\ln") != std::string_view::npos; }
};
using TFinder = void (*)(const TContext&, TMatches&);

// A piece of the answer quoted in a hint is cut at this length.
inline constexpr std::size_t kShownPiece = 24;

// The piece, or "…" when longer than kShownPiece.
std::string Shown(const std::string& piece);
bool IsOperand(const TAnswerToken& token);
bool IsFunction(const TAnswerToken& token);
// What stands from token i on as a function's argument, spelled right.
std::string Argument(const TAnswerTokens& t, int i);

void FindRussianNames(const TContext& c, TMatches& out);
void FindLayoutWords(const TContext& c, TMatches& out);
void FindArctan(const TContext& c, TMatches& out);
void FindArcsin(const TContext& c, TMatches& out);
void FindArccos(const TContext& c, TMatches& out);
void FindCtg(const TContext& c, TMatches& out);
void FindLgOnLn(const TContext& c, TMatches& out);
void FindLg(const TContext& c, TMatches& out);
// A function without brackets: its argument all there is ("sin y", "log"),
// a variable and more ("sin y-z"), or no variable ("cos 3*y-5").
void FindUnbracketedAlone(const TContext& c, TMatches& out);
void FindUnbracketedVariable(const TContext& c, TMatches& out);
void FindUnbracketedOther(const TContext& c, TMatches& out);

} // namespace hints
