// Short texts hold at most 255 single-byte characters; a longer text keeps
// its first 255 when it is stored.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace formulon::engine {

inline constexpr std::size_t kShortTextMax = 255;

inline std::string ShortText(std::string_view text) {
    return std::string(text.substr(0, kShortTextMax));
}

} // namespace formulon::engine
