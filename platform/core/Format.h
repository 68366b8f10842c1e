#pragma once

#include <cstdarg>
#include <string>

namespace core {

// printf-style formatting into a string, always with the C locale's number text (a "." before
// decimals, no grouping) whatever locale the process runs under. Texts are passed with "%s".
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string formatList(const char* pattern, va_list arguments) __attribute__((format(printf, 1, 0)));

// The UTF-8 text of one Unicode code point; a value that is no code point (a surrogate or above
// U+10FFFF) gives U+FFFD.
std::string utf8(char32_t codePoint);

} // namespace core
