// A typed answer cut into tokens for the hint rules. Blanks are skipped;
// a Russian letter that looks like a Latin one is read as that letter, so
// that "сos(у)" is still a call of cos with y.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TTokKind { Number, Var, Word, Op, Open, Close, Bar, Comma, Colon, Russian, Other, End };

struct TAnswerToken {
    TTokKind Kind = TTokKind::End;
    int At = 0;       // 0-based index of its first character in the typed answer
    std::string Text; // as read: Latin letters for the look-alikes
    bool Is(TTokKind kind, std::string_view text = {}) const {
        return Kind == kind && (text.empty() || Text == text);
    }
};

class TAnswerTokens {
public:
    explicit TAnswerTokens(const std::string& typed);

    // Token i, or an End token at the end of the text past the last one.
    const TAnswerToken& operator[](int i) const;
    int Count() const { return static_cast<int>(tokens_.size()); }
    const std::string& Typed() const { return typed_; }

    // Index of the ')' that closes the '(' at token i within the next
    // 'within' tokens, or -1.
    int MatchingClose(int i, int within) const;
    // Tokens [from, to) as read, without blanks.
    std::string Joined(int from, int to) const;

private:
    std::string typed_;
    std::vector<TAnswerToken> tokens_;
    TAnswerToken end_;
};

// The Latin letter a Russian letter (code page 1251) looks like, or 0.
char LatinLookalike(unsigned char c);
bool IsRussianLetter(unsigned char c);
bool IsKnownFunctionName(std::string_view name);
