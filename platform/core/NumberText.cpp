#include "platform/core/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace core {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view skipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.substr(i);
}

// Reads [sign] digits, saturating at the limits of Integer.
template <typename Integer> Integer readInteger(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Accumulate towards the side of the sign so that the most negative value is reachable.
    Integer value = 0;
    for (char c : text) {
        if (!isDigit(c))
            break;
        const int digit = c - '0';
        if (negative) {
            if (value < (std::numeric_limits<Integer>::min() + digit) / 10)
                return std::numeric_limits<Integer>::min();
            value = static_cast<Integer>(value * 10 - digit);
        } else {
            if (value > (std::numeric_limits<Integer>::max() - digit) / 10)
                return std::numeric_limits<Integer>::max();
            value = static_cast<Integer>(value * 10 + digit);
        }
    }
    return value;
}

// The length of the decimal number at the front of the text (sign excluded), 0 when there is none.
size_t decimalPrefixLength(std::string_view text) {
    size_t i = 0;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

template <typename Real> Real readReal(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const size_t length = decimalPrefixLength(text);
    if (length == 0)
        return 0;
    Real value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + length, value);
    if (error == std::errc::result_out_of_range) {
        // Tell overflow from underflow by the size of the decimal exponent.
        const std::string_view number = text.substr(0, length);
        const size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && number.size() > e + 1 && number[e + 1] == '-';
        value = tiny ? 0 : std::numeric_limits<Real>::infinity();
    }
    return negative ? -value : value;
}

template <typename Real> std::string shortestText(Real value) {
    if (std::isnan(value))
        return "nan";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace

int32_t intValue(std::string_view text) {
    return readInteger<int32_t>(text);
}

int64_t integerValue(std::string_view text) {
    return readInteger<int64_t>(text);
}

double doubleValue(std::string_view text) {
    return readReal<double>(text);
}

float floatValue(std::string_view text) {
    return readReal<float>(text);
}

bool boolValue(std::string_view text) {
    text = skipBlanks(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    while (!text.empty() && text.front() == '0')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const char c = text.front();
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::string numberText(double value) {
    return shortestText(value);
}

std::string numberText(float value) {
    return shortestText(value);
}

} // namespace core
