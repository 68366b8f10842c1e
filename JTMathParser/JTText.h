#pragma once

#include <string>
#include <string_view>

namespace zm {

// Code point used for every byte that does not start a well-formed UTF-8 sequence.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point that starts at `position` and moves `position` past it. A
// malformed or truncated sequence gives kReplacementCharacter and consumes one byte, so
// reading always makes progress. Precondition: position < text.size().
char32_t decodeUtf8(std::string_view text, std::size_t& position);

void appendUtf8(std::string& text, char32_t codePoint);

// The text with ASCII letters in lower case. Function names are compared this way; the
// only non-ASCII names the tokenizer reads (π, ϕ, τ) are lower case already.
std::string lowercased(std::string_view text);

} // namespace zm
