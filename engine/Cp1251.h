// The one place where texts cross between Unicode and code page 1251.
// Engine texts, names in the champions file and all messages are code page
// 1251 byte strings; the user interface and the console tool speak Unicode.
#pragma once

#include <string>
#include <string_view>

namespace formulon::engine {

// Unicode code point of a code page 1251 byte. Every byte has one.
char32_t Cp1251ToUnicode(unsigned char byte);

// Code page 1251 byte of a code point, or -1 when the code page has none.
int UnicodeToCp1251(char32_t codePoint);

// UTF-8 <-> code page 1251. A code point without a byte, and a malformed
// UTF-8 sequence, become '?'; 'lossless' (when given) tells whether any did.
std::string Utf8ToCp1251(std::string_view utf8, bool* lossless = nullptr);
std::string Cp1251ToUtf8(std::string_view cp1251);

} // namespace formulon::engine
