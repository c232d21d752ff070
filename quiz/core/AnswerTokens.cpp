#include "quiz/core/AnswerTokens.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

bool IsNameLetter(char c) {
    return (c >= 'a' && c <= 'z' && c != 'y' && c != 'z') || (c >= 'A' && c <= 'Z');
}

TTokKind SingleKind(char c) {
    switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
        return TTokKind::Op;
    case '(':
        return TTokKind::Open;
    case ')':
        return TTokKind::Close;
    case '|':
        return TTokKind::Bar;
    case ',':
        return TTokKind::Comma;
    case ':':
        return TTokKind::Colon;
    case 'y':
    case 'z':
        return TTokKind::Var;
    default:
        return IsRussianLetter(static_cast<unsigned char>(c)) ? TTokKind::Russian : TTokKind::Other;
    }
}

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
    static constexpr std::string_view kNames[] = {"sin", "cos", "tan", "atn",
                                                  "log", "sqr", "exp", "abs"};
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

TAnswerTokens::TAnswerTokens(const std::string& typed) : typed_(typed) {
    std::string latin = typed;
    for (char& c : latin)
        if (const char l = LatinLookalike(static_cast<unsigned char>(c)))
            c = l;
    const int size = static_cast<int>(latin.size());
    for (int i = 0; i < size;) {
        const char c = latin[static_cast<std::size_t>(i)];
        int end = i + 1;
        TTokKind kind = SingleKind(c);
        if (c == ' ') {
            ++i;
            continue;
        }
        if (IsDigit(c)) {
            kind = TTokKind::Number;
            while (end < size && IsDigit(latin[static_cast<std::size_t>(end)]))
                ++end;
        } else if (IsNameLetter(c)) {
            kind = TTokKind::Word;
            while (end < size && IsNameLetter(latin[static_cast<std::size_t>(end)]))
                ++end;
        }
        tokens_.push_back(
            {kind, i,
             latin.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(end - i))});
        i = end;
    }
    end_.At = size;
}

const TAnswerToken& TAnswerTokens::operator[](int i) const {
    if (i < 0 || i >= Count())
        return end_;
    return tokens_[static_cast<std::size_t>(i)];
}

int TAnswerTokens::MatchingClose(int i, int within) const {
    int depth = 0;
    for (int j = i; j < Count() && j <= i + within; ++j) {
        if ((*this)[j].Kind == TTokKind::Open)
            ++depth;
        else if ((*this)[j].Kind == TTokKind::Close && --depth == 0)
            return j;
    }
    return -1;
}

std::string TAnswerTokens::Joined(int from, int to) const {
    std::string text;
    for (int j = from; j < to; ++j)
        text += (*this)[j].Text;
    return text;
}
