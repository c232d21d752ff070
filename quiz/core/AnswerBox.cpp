#include "quiz/core/AnswerBox.h"

#include "engine/Cp1251.h"

using namespace formulon::engine;

namespace {

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
        text += static_cast<char16_t>(codePoint);
    }
}

// The code point at 'pos', a lone surrogate as itself; advances 'pos'.
char32_t NextCodePoint(std::u16string_view text, std::size_t& pos) {
    const char32_t unit = text[pos++];
    if (IsHighSurrogate(unit) && pos < text.size() && IsLowSurrogate(text[pos]))
        return 0x10000 + ((unit - 0xD800) << 10) + (text[pos++] - 0xDC00);
    return unit;
}

// Full lower case, for every code point whose lower case has a byte in code
// page 1251. Any other code point stays as it is: it has no byte and reads
// as '?' in either case.
void AppendLowerCase(std::u16string& text, char32_t codePoint) {
    if ((codePoint >= U'A' && codePoint <= U'Z') || (codePoint >= 0x0410 && codePoint <= 0x042F))
        codePoint += 0x20;
    else if (codePoint >= 0x0400 && codePoint <= 0x040F)
        codePoint += 0x50;
    else if (codePoint == 0x0490)
        codePoint = 0x0491;
    else if (codePoint == 0x212A) // Kelvin sign
        codePoint = U'k';
    else if (codePoint == 0x0130) { // capital I with dot above: two characters
        text += u'i';
        codePoint = 0x0307;
    }
    AppendUtf16(text, codePoint);
}

std::u16string Cut(std::u16string text) {
    if (text.size() > static_cast<std::size_t>(kAnswerBoxMaxLength))
        text.resize(kAnswerBoxMaxLength);
    return text;
}

} // namespace

std::string AnswerBoxText(std::u32string_view pasted) {
    // The box keeps what fits, even half a surrogate pair, then holds the
    // text in lower case, again only what fits.
    std::u16string boxed;
    for (char32_t codePoint : pasted) {
        AppendUtf16(boxed, codePoint);
        if (boxed.size() >= static_cast<std::size_t>(kAnswerBoxMaxLength))
            break;
    }
    boxed = Cut(std::move(boxed));
    std::u16string lower;
    for (std::size_t pos = 0; pos < boxed.size();)
        AppendLowerCase(lower, NextCodePoint(boxed, pos));
    lower = Cut(std::move(lower));
    std::string text;
    for (std::size_t pos = 0; pos < lower.size();) {
        const char32_t codePoint = NextCodePoint(lower, pos);
        const bool lone = IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint);
        const int byte = lone ? -1 : UnicodeToCp1251(codePoint);
        text += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return text;
}
