#include "teacher/Utf8.h"

namespace {

// Length of the sequence a lead byte starts, and the smallest code point
// it may carry (anything smaller is an overlong form); 0 for a byte that
// cannot start one.
int SequenceLength(unsigned char lead, char32_t& smallest) {
    if (lead < 0x80) {
        smallest = 0;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        smallest = 0x80;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        smallest = 0x800;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        smallest = 0x10000;
        return 4;
    }
    return 0;
}

// The code point of the sequence at 'pos', or nothing when it is not UTF-8.
std::optional<char32_t> DecodeAt(std::string_view text, std::size_t pos, int& length) {
    char32_t smallest = 0;
    const auto lead = static_cast<unsigned char>(text[pos]);
    length = SequenceLength(lead, smallest);
    if (length == 0 || pos + length > text.size())
        return std::nullopt;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return std::nullopt;
    return codePoint;
}

} // namespace

std::optional<std::u32string> DecodeUtf8(std::string_view text, TNotUtf8& where) {
    std::u32string codePoints;
    codePoints.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        int length = 0;
        const std::optional<char32_t> codePoint = DecodeAt(text, pos, length);
        if (!codePoint) {
            where = {pos + 1, static_cast<unsigned char>(text[pos])};
            return std::nullopt;
        }
        codePoints += *codePoint;
        pos += length;
    }
    return codePoints;
}

std::string ShownUtf8(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        int length = 0;
        if (DecodeAt(text, pos, length)) {
            shown.append(text.substr(pos, length));
            pos += length;
        } else {
            shown += "\xEF\xBF\xBD";
            ++pos;
        }
    }
    return shown;
}
