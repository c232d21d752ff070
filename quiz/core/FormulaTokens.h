// A typed formula cut into tokens: the one lexer that the reading, the
// hints, the step words and the practice preview share. It never refuses:
// whatever the text holds becomes a token of some kind, and a reader
// decides what it can use.
//
// Blanks are skipped, also inside a number or a name, as the engine drops
// them before it reads ("1 . 5" is 1.5, "si n" is sin). A Russian letter
// that looks like a Latin one is read as that letter, so that "сos(у)" is
// still a call of cos with y; the token remembers where it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TTokenKind {
    Number,  // digits and points, well formed or not
    Var,     // y or z
    Word,    // Latin letters other than y and z: a name
    Op,      // + - * / ^
    Open,    // (
    Close,   // )
    Bar,     // |
    Comma,   // ,
    Colon,   // :
    Russian, // a Russian letter that looks like no Latin one
    Other,   // any other character, one a token
    End,     // past the last character
};

struct TFormulaToken {
    TTokenKind Kind = TTokenKind::End;
    int At = 0;       // 1-based place of its first character in the typed text
    int Last = 0;     // 1-based place of its last character
    std::string Text; // as read: no blanks, Latin letters for the look-alikes
    // A number without a digit or with a second point.
    bool Malformed = false;
    // The place of the first Russian letter read as a Latin one, 0 for none.
    int RussianAt = 0;

    bool Is(TTokenKind kind, std::string_view text = {}) const {
        return Kind == kind && (text.empty() || Text == text);
    }
};

class TFormulaTokens {
public:
    explicit TFormulaTokens(const std::string& typed);

    // Token i, or the End token (one past the text) for any i past the last.
    const TFormulaToken& operator[](int i) const {
        return i >= 0 && i < Count() ? tokens_[static_cast<std::size_t>(i)] : end_;
    }
    int Count() const { return static_cast<int>(tokens_.size()); }
    const std::string& Typed() const { return typed_; }

    // Index of the ')' that closes the '(' at token i within the next
    // 'within' tokens, or -1.
    int MatchingClose(int i, int within) const;
    // Tokens [from, to) as read, without blanks.
    std::string Joined(int from, int to) const;

private:
    std::string typed_;
    std::vector<TFormulaToken> tokens_;
    TFormulaToken end_;
};

// The Latin letter a Russian letter (code page 1251) looks like, or 0.
char LatinLookalike(unsigned char c);
bool IsRussianLetter(unsigned char c);
// Whether 'name' is one of the engine's built-in functions.
bool IsKnownFunctionName(std::string_view name);
