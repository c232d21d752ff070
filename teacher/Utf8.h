// Strict UTF-8 for the teachers' files and lines: what is not well-formed is
// told, with the place, never guessed at.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Where a text stops being UTF-8: the byte, counted from 1, and its value.
struct TNotUtf8 {
    std::size_t Byte = 0;
    unsigned char Value = 0;
};

// The code points of well-formed UTF-8, or nothing, with 'where' saying where
// it is not: overlong forms, surrogates and code points beyond U+10FFFF are
// not UTF-8 either.
std::optional<std::u32string> DecodeUtf8(std::string_view text, TNotUtf8& where);

// The text with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD, so that it can be shown.
std::string ShownUtf8(std::string_view text);
