#include "platform/core/Collation.h"

#include <algorithm>
#include <locale>
#include <stdexcept>

namespace core {

namespace {

// The environment's locale; the classic one when the environment names a locale the system lacks.
const std::locale& userLocale() {
    static const std::locale locale = [] {
        try {
            return std::locale("");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return locale;
}

// The text's characters; a byte that starts no well-formed UTF-8 sequence stands for U+FFFD.
std::wstring decode(std::string_view text) {
    std::wstring characters;
    characters.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool wellFormed = length > 0 && at + length <= text.size();
        for (size_t next = 1; wellFormed && next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            wellFormed = (byte & 0xC0) == 0x80;
            code = (code << 6) | (byte & 0x3F);
        }
        characters.push_back(wellFormed ? wchar_t(code) : L'\uFFFD');
        at += wellFormed ? length : 1;
    }
    return characters;
}

std::wstring folded(std::string_view text) {
    std::wstring characters = decode(text);
    std::use_facet<std::ctype<wchar_t>>(userLocale()).tolower(characters.data(), characters.data() + characters.size());
    return characters;
}

} // namespace

bool localizedCaseInsensitiveLess(std::string_view a, std::string_view b) {
    const std::wstring foldedA = folded(a);
    const std::wstring foldedB = folded(b);
    const int order = std::use_facet<std::collate<wchar_t>>(userLocale())
                          .compare(foldedA.data(), foldedA.data() + foldedA.size(), foldedB.data(),
                                   foldedB.data() + foldedB.size());
    return order != 0 ? order < 0 : a < b;
}

void sortLocalizedCaseInsensitive(std::vector<std::string>& texts) {
    std::sort(texts.begin(), texts.end(),
              [](const std::string& a, const std::string& b) { return localizedCaseInsensitiveLess(a, b); });
}

} // namespace core
