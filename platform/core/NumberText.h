#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reading numbers from the front of a text the way the platform's string conversions do: leading
// blanks are skipped, an optional sign and the longest numeric prefix are read, and whatever follows
// is ignored. A text without a number reads as 0. Writing numbers as the shortest text that reads
// back to the same value.

namespace core {

// Decimal digits after an optional sign; saturates at the 32-bit limits. "-" and "x1" read as 0.
int32_t intValue(std::string_view text);
// As intValue, 64-bit.
int64_t integerValue(std::string_view text);
// [sign] digits [. digits] [(e|E) [sign] digits], or [sign] . digits ...; no hexadecimal, no
// infinity or nan words. Too large a magnitude gives an infinity, too small a zero.
double doubleValue(std::string_view text);
float floatValue(std::string_view text);
// True when, after blanks, a sign and leading zeros, the text goes on with "Y", "y", "T", "t" or a
// digit 1 to 9 ("YES", "true", "007").
bool boolValue(std::string_view text);

// The shortest decimal text that reads back to the same value ("0.1", "100", "1e+21", "-0",
// "nan", "inf", "-inf").
std::string numberText(double value);
std::string numberText(float value);

} // namespace core
