#include "platform/core/Encoding.h"

#include <array>

namespace core {

namespace {

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int base64DigitValue(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

bool isAsciiAlphanumeric(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::string_view asText(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

Bytes asBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string hexString(std::string_view bytes, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

std::string hexString(const Bytes& bytes, bool upperCase) {
    return hexString(asText(bytes), upperCase);
}

std::string base64Encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t group = static_cast<uint8_t>(bytes[i]) << 16 |
                               static_cast<uint8_t>(bytes[i + 1]) << 8 | static_cast<uint8_t>(bytes[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            text += kBase64Alphabet[(group >> shift) & 0x3F];
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
        if (rest == 2)
            group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        text += kBase64Alphabet[(group >> 18) & 0x3F];
        text += kBase64Alphabet[(group >> 12) & 0x3F];
        text += rest == 2 ? kBase64Alphabet[(group >> 6) & 0x3F] : '=';
        text += '=';
    }
    return text;
}

std::string base64Encode(const Bytes& bytes) {
    return base64Encode(asText(bytes));
}

std::optional<Bytes> base64Decode(std::string_view text) {
    std::string digits;
    digits.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c))
            digits += c;
    }
    if (digits.size() % 4 != 0)
        return std::nullopt;
    Bytes bytes;
    bytes.reserve(digits.size() / 4 * 3);
    for (size_t i = 0; i < digits.size(); i += 4) {
        const bool last = i + 4 == digits.size();
        int padding = 0;
        uint32_t group = 0;
        for (size_t j = 0; j < 4; ++j) {
            const char c = digits[i + j];
            int value = 0;
            if (c == '=') {
                // Padding stands only in the last two places of the last group.
                if (!last || j < 2)
                    return std::nullopt;
                ++padding;
            } else {
                value = base64DigitValue(c);
                if (value < 0 || padding > 0)
                    return std::nullopt;
            }
            group = group << 6 | static_cast<uint32_t>(value);
        }
        bytes.push_back(static_cast<uint8_t>(group >> 16));
        if (padding < 2)
            bytes.push_back(static_cast<uint8_t>(group >> 8));
        if (padding < 1)
            bytes.push_back(static_cast<uint8_t>(group));
    }
    return bytes;
}

std::string percentEscape(std::string_view text, std::string_view keep) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (unsigned char c : text) {
        if (isAsciiAlphanumeric(c) ||
            (c < 0x80 && keep.find(static_cast<char>(c)) != std::string_view::npos)) {
            escaped += static_cast<char>(c);
        } else {
            escaped += '%';
            escaped += kDigits[c >> 4];
            escaped += kDigits[c & 0xF];
        }
    }
    return escaped;
}

std::optional<std::string> percentUnescape(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexDigitValue(text[i + 1]);
        const int low = hexDigitValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        plain += static_cast<char>(high << 4 | low);
        i += 2;
    }
    if (!isValidUtf8(plain))
        return std::nullopt;
    return plain;
}

bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length;
        char32_t codePoint;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t j = 1; j < length; ++j) {
            const auto next = static_cast<unsigned char>(text[i + j]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = codePoint << 6 | (next & 0x3F);
        }
        static constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace core
