#include "platform/core/Format.h"

#include <clocale>
#include <cstdio>

#include <locale.h>

namespace core {

namespace {

// Switches the calling thread to the C locale for as long as it lives.
class CLocaleScope {
public:
    CLocaleScope()
        : m_previous(cLocale() ? uselocale(cLocale()) : nullptr) {}
    ~CLocaleScope() {
        if (m_previous)
            uselocale(m_previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t cLocale() {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
        return locale;
    }

    locale_t m_previous;
};

} // namespace

std::string format(const char* pattern, ...) {
    va_list arguments;
    va_start(arguments, pattern);
    std::string text = formatList(pattern, arguments);
    va_end(arguments);
    return text;
}

std::string formatList(const char* pattern, va_list arguments) {
    const CLocaleScope cLocale;
    char buffer[256];
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(buffer, sizeof buffer, pattern, copy);
    va_end(copy);
    if (length < 0)
        return {};
    if (static_cast<size_t>(length) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(length));
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, pattern, arguments);
    return text;
}

std::string utf8(char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

} // namespace core
