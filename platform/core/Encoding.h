#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Byte and text encodings: hexadecimal, base64, percent escapes, UTF-8 validity.

namespace core {

using Bytes = std::vector<uint8_t>;

std::string_view asText(const Bytes& bytes);
Bytes asBytes(std::string_view text);

// Two digits per byte.
std::string hexString(std::string_view bytes, bool upperCase = false);
std::string hexString(const Bytes& bytes, bool upperCase = false);

// Standard alphabet with "=" padding, no line breaks.
std::string base64Encode(std::string_view bytes);
std::string base64Encode(const Bytes& bytes);
// Whitespace anywhere is skipped; anything else outside the alphabet, a length that is not a
// multiple of four, or padding before the end gives nothing. The empty text is the empty data.
std::optional<Bytes> base64Decode(std::string_view text);

// Characters that URL query values may carry unescaped besides ASCII letters and digits.
inline constexpr std::string_view kUrlUnreservedMarks = "-._~";

// Every byte of the UTF-8 text other than an ASCII letter, a digit or one of `keep` becomes "%XX"
// with upper-case hexadecimal digits.
std::string percentEscape(std::string_view text, std::string_view keep = kUrlUnreservedMarks);
// Replaces every "%XX"; nothing when an escape is malformed or the result is not UTF-8.
std::optional<std::string> percentUnescape(std::string_view text);

bool isValidUtf8(std::string_view text);

} // namespace core
