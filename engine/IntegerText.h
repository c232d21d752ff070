// Integer conversion for game times, champion times and the checksum.
#pragma once

#include <cstdint>
#include <string>

namespace formulon::engine {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal
// digits after '$', 'x' or '0x'; nothing may follow, and the value must fit
// 32 bits. Anything else raises EConvertError
// "'<text>' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);

// The same conversion without the error: false when the text is not an
// integer text, 'value' then untouched.
bool TryStrToInt(const std::string& text, std::int32_t& value);

// Plain decimal digits, '-' only when negative.
std::string IntToStr(std::int64_t value);

} // namespace formulon::engine
