// Number texts, the failure marker and the error register: the conventions
// every engine step and the answer check rely on.
#pragma once

#include <limits>
#include <string>
#include <string_view>

namespace formulon::engine {

// The engine computes in the 80-bit extended format.
using Extended = long double;
#if defined(__x86_64__) || defined(__i386__)
static_assert(std::numeric_limits<Extended>::digits == 64,
              "the engine needs the x87 extended format (64-bit significand)");
#endif

// Returned by a failing engine step in place of a number text.
inline const std::string FailureMarker = "~";

inline bool IsFailureMarker(std::string_view text) {
    return text == FailureMarker;
}

// A value as number text: decimal comma, at most 15 significant digits,
// scientific form below 0,0001 and from 10^15 on.
std::string RenderNumber(Extended value);

// The value of a number text; raises EConvertError
// "'<text>' is not a valid floating point value" for a text outside the
// grammar or beyond the extended range. Leaves no floating-point flag set.
Extended ParseNumber(const std::string& text);

// The register that carries the most recent engine message to the verdict
// window. Holds at most 255 characters.
class TErrorRegister {
public:
    void Set(std::string_view message);
    void Clear() { text_.clear(); }
    const std::string& Read() const { return text_; }
    bool Empty() const { return text_.empty(); }

private:
    std::string text_;
};

extern TErrorRegister LastErrorText;

} // namespace formulon::engine
