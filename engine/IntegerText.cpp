#include "engine/IntegerText.h"

#include "engine/Errors.h"

namespace formulon::engine {

namespace {

[[noreturn]] void RaiseNotInteger(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid integer value");
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v;
}

} // namespace

std::int32_t StrToInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        RaiseNotInteger(text);
    // Accumulate the magnitude; anything past 2^31 cannot fit.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            RaiseNotInteger(text);
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit)
            RaiseNotInteger(text);
    }
    if (!negative && magnitude == kLimit)
        RaiseNotInteger(text);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

bool TryStrToInt(const std::string& text, std::int32_t& value) {
    try {
        value = StrToInt(text);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

} // namespace formulon::engine
