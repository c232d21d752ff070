#include "quiz/core/FormulaTokens.h"

#include "engine/Functions.h"

#include <algorithm>

namespace {

bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

bool IsNameLetter(char c) {
    return (c >= 'a' && c <= 'z' && c != 'y' && c != 'z') || (c >= 'A' && c <= 'Z');
}

TTokenKind SingleKind(char latin, unsigned char typed) {
    switch (latin) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
        return TTokenKind::Op;
    case '(':
        return TTokenKind::Open;
    case ')':
        return TTokenKind::Close;
    case '|':
        return TTokenKind::Bar;
    case ',':
        return TTokenKind::Comma;
    case ':':
        return TTokenKind::Colon;
    case 'y':
    case 'z':
        return TTokenKind::Var;
    default:
        return IsRussianLetter(typed) ? TTokenKind::Russian : TTokenKind::Other;
    }
}

// Cuts the text, look-alikes read as Latin letters.
class TLexer {
public:
    explicit TLexer(const std::string& typed) : typed_(typed), latin_(typed) {
        for (char& c : latin_)
            if (const char l = LatinLookalike(static_cast<unsigned char>(c)))
                c = l;
    }

    std::vector<TFormulaToken> Tokens() {
        std::vector<TFormulaToken> tokens;
        tokens.reserve(latin_.size());
        for (std::size_t i = 0; i < latin_.size();) {
            if (latin_[i] == ' ') {
                ++i;
                continue;
            }
            tokens.push_back(Next(i));
        }
        return tokens;
    }

private:
    // The token that starts at 'i'; 'i' moves past it.
    TFormulaToken Next(std::size_t& i) {
        const char c = latin_[i];
        if (IsNumberChar(c))
            return Run(i, TTokenKind::Number, IsNumberChar);
        if (IsNameLetter(c))
            return Run(i, TTokenKind::Word, IsNameLetter);
        TFormulaToken token;
        token.Kind = SingleKind(c, static_cast<unsigned char>(typed_[i]));
        Take(token, i);
        ++i;
        return token;
    }

    // A run of characters of one class from 'i'; blanks inside it are
    // skipped, blanks after it are left.
    TFormulaToken Run(std::size_t& i, TTokenKind kind, bool (*inRun)(char)) {
        TFormulaToken token;
        token.Kind = kind;
        Take(token, i++);
        for (std::size_t next = NonBlank(i); next < latin_.size() && inRun(latin_[next]);
             next = NonBlank(i)) {
            Take(token, next);
            i = next + 1;
        }
        if (kind == TTokenKind::Number) {
            const auto points = std::count(token.Text.begin(), token.Text.end(), '.');
            token.Malformed = points > 1 || points == static_cast<long>(token.Text.size());
        }
        return token;
    }

    std::size_t NonBlank(std::size_t i) const {
        while (i < latin_.size() && latin_[i] == ' ')
            ++i;
        return i;
    }

    void Take(TFormulaToken& token, std::size_t i) const {
        const int place = static_cast<int>(i) + 1;
        if (token.Text.empty())
            token.At = place;
        token.Last = place;
        token.Text += latin_[i];
        if (token.RussianAt == 0 && latin_[i] != typed_[i])
            token.RussianAt = place;
    }

    const std::string& typed_;
    std::string latin_;
};

} // namespace

char LatinLookalike(unsigned char c) {
    switch (c) {
    case 0xE0: // а
        return 'a';
    case 0xE5: // е
        return 'e';
    case 0xEE: // о
        return 'o';
    case 0xF0: // р
        return 'p';
    case 0xF1: // с
        return 'c';
    case 0xF3: // у
        return 'y';
    case 0xF5: // х
        return 'x';
    default:
        return 0;
    }
}

bool IsRussianLetter(unsigned char c) {
    return c >= 0xC0 || c == 0xA8 || c == 0xB8; // А..я, Ё, ё
}

bool IsKnownFunctionName(std::string_view name) {
    return formulon::engine::FindBuiltInFunction(name) != nullptr;
}

TFormulaTokens::TFormulaTokens(const std::string& typed) : typed_(typed) {
    tokens_ = TLexer(typed).Tokens();
    end_.At = end_.Last = static_cast<int>(typed.size()) + 1;
}

int TFormulaTokens::MatchingClose(int i, int within) const {
    int depth = 0;
    for (int j = i; j < Count() && j <= i + within; ++j) {
        if ((*this)[j].Kind == TTokenKind::Open)
            ++depth;
        else if ((*this)[j].Kind == TTokenKind::Close && --depth == 0)
            return j;
    }
    return -1;
}

std::string TFormulaTokens::Joined(int from, int to) const {
    std::string text;
    for (int j = from; j < to; ++j)
        text += (*this)[j].Text;
    return text;
}
