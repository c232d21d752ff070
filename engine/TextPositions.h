// Formula texts count positions from 1, as the rewriting steps describe
// them: At(text, i) is the i-th character, Piece(text, i, j) is Text[i..j].
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace formulon::engine {

inline char At(const std::string& text, int pos) {
    return text[static_cast<std::size_t>(pos - 1)];
}

// Text[from..to], empty when to < from.
inline std::string_view Piece(const std::string& text, int from, int to) {
    if (to < from)
        return {};
    return std::string_view(text).substr(static_cast<std::size_t>(from - 1),
                                         static_cast<std::size_t>(to - from + 1));
}

} // namespace formulon::engine
