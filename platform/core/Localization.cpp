#include "platform/core/Localization.h"

#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/Format.h"
#include "platform/core/Log.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>

namespace core {

namespace {

Error stringsError(size_t line, const std::string& what) {
    return Error{std::string(kStringsErrorDomain), 1, "line " + std::to_string(line) + ": " + what, {}};
}

// UTF-16 with a byte-order mark becomes UTF-8; unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    auto unit = [&](size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        text += utf8(c);
    }
    return text;
}

std::string decodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE"))
        return utf8FromUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return utf8FromUtf16(bytes.substr(2), true);
    return std::string(bytes);
}

class StringsReader {
public:
    explicit StringsReader(std::string_view text)
        : m_text(text) {}

    Result<StringsTable> read() {
        StringsTable table;
        for (;;) {
            if (auto error = skipSpaceAndComments())
                return *error;
            if (atEnd())
                return table;
            Result<std::string> key = readString();
            if (!key)
                return key.error();
            if (auto error = skipSpaceAndComments())
                return *error;
            std::string value;
            if (peek() == '=') {
                ++m_position;
                if (auto error = skipSpaceAndComments())
                    return *error;
                Result<std::string> read = readString();
                if (!read)
                    return read.error();
                value = std::move(read).value();
                if (auto error = skipSpaceAndComments())
                    return *error;
            } else {
                value = key.value();
            }
            if (peek() != ';')
                return stringsError(m_line, "expected \";\" after the entry for \"" + key.value() + "\"");
            ++m_position;
            table.insert_or_assign(std::move(key).value(), std::move(value));
        }
    }

private:
    bool atEnd() const { return m_position >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_position]; }

    char take() {
        const char c = m_text[m_position++];
        if (c == '\n')
            ++m_line;
        return c;
    }

    std::optional<Error> skipSpaceAndComments() {
        while (!atEnd()) {
            if (std::isspace(static_cast<unsigned char>(peek()))) {
                take();
            } else if (m_text.substr(m_position).starts_with("//")) {
                while (!atEnd() && peek() != '\n')
                    take();
            } else if (m_text.substr(m_position).starts_with("/*")) {
                const size_t start = m_line;
                m_position += 2;
                while (!atEnd() && !m_text.substr(m_position).starts_with("*/"))
                    take();
                if (atEnd())
                    return stringsError(start, "a comment is never closed");
                m_position += 2;
            } else {
                break;
            }
        }
        return std::nullopt;
    }

    static bool isWordCharacter(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '+' || c == '/' ||
               c == ':' || c == '.' || c == '-';
    }

    Result<std::string> readString() {
        if (peek() != '"') {
            std::string word;
            while (!atEnd() && isWordCharacter(peek()))
                word += take();
            if (word.empty())
                return stringsError(m_line, atEnd() ? "the file ends inside an entry"
                                                    : std::string("unexpected \"") + peek() + "\"");
            return word;
        }
        const size_t start = m_line;
        take();
        std::string text;
        for (;;) {
            if (atEnd())
                return stringsError(start, "a quoted text is never closed");
            const char c = take();
            if (c == '"')
                return text;
            if (c != '\\') {
                text += c;
                continue;
            }
            if (atEnd())
                return stringsError(start, "a quoted text is never closed");
            if (auto error = readEscape(text))
                return *error;
        }
    }

    std::optional<Error> readEscape(std::string& text) {
        const char c = take();
        switch (c) {
        case 'n':
            text += '\n';
            return std::nullopt;
        case 't':
            text += '\t';
            return std::nullopt;
        case 'r':
            text += '\r';
            return std::nullopt;
        case 'u':
        case 'U': {
            std::optional<char32_t> unit = readHex4();
            if (!unit)
                return stringsError(m_line, "\\U needs four hexadecimal digits");
            char32_t codePoint = *unit;
            // A surrogate pair is written as two escapes.
            if (codePoint >= 0xD800 && codePoint <= 0xDBFF && m_text.substr(m_position, 2).size() == 2 &&
                m_text[m_position] == '\\' &&
                (m_text[m_position + 1] == 'U' || m_text[m_position + 1] == 'u')) {
                const size_t saved = m_position;
                m_position += 2;
                const std::optional<char32_t> low = readHex4();
                if (low && *low >= 0xDC00 && *low <= 0xDFFF)
                    codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (*low - 0xDC00);
                else
                    m_position = saved;
            }
            text += utf8(codePoint);
            return std::nullopt;
        }
        default:
            break;
        }
        if (c >= '0' && c <= '7') {
            unsigned value = static_cast<unsigned>(c - '0');
            for (int i = 0; i < 2 && peek() >= '0' && peek() <= '7'; ++i)
                value = value * 8 + static_cast<unsigned>(take() - '0');
            text += static_cast<char>(value & 0xFF);
            return std::nullopt;
        }
        // \" \\ \' and any other character stand for themselves.
        text += c;
        return std::nullopt;
    }

    std::optional<char32_t> readHex4() {
        char32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            if (atEnd() || !std::isxdigit(static_cast<unsigned char>(peek())))
                return std::nullopt;
            const char c = take();
            value = value * 16 +
                    static_cast<char32_t>(std::isdigit(static_cast<unsigned char>(c))
                                              ? c - '0'
                                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
        }
        return value;
    }

    std::string_view m_text;
    size_t m_position = 0;
    size_t m_line = 1;
};

std::optional<std::string> languageFromLocaleName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty())
        return std::nullopt;
    if (name == "C" || name == "POSIX")
        return "en";
    std::string language;
    std::string region;
    const size_t separator = name.find_first_of("_-");
    for (char c : name.substr(0, separator))
        language += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (separator != std::string_view::npos) {
        for (char c : name.substr(separator + 1))
            region += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    std::string upperLanguage;
    for (char c : language)
        upperLanguage += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (language.empty())
        return std::nullopt;
    if (region.empty() || region == upperLanguage || (language == "en" && region == "US"))
        return language;
    return language + "-" + region;
}

struct MainLocalization {
    std::mutex lock;
    std::shared_ptr<const Localization> localization;
};

MainLocalization& mainLocalization() {
    static MainLocalization instance;
    return instance;
}

} // namespace

Result<StringsTable> parseStringsFile(std::string_view bytes) {
    const std::string text = decodeText(bytes);
    return StringsReader(text).read();
}

std::vector<std::string>
preferredLanguagesFromEnvironment(const std::function<const char*(const char*)>& environment) {
    std::vector<std::string> names;
    if (const char* list = environment("LANGUAGE")) {
        std::string_view rest = list;
        while (!rest.empty()) {
            const size_t colon = rest.find(':');
            names.emplace_back(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    if (const char* lang = environment("LANG"))
        names.emplace_back(lang);

    std::vector<std::string> languages;
    for (const std::string& name : names) {
        const std::optional<std::string> language = languageFromLocaleName(name);
        if (language && std::find(languages.begin(), languages.end(), *language) == languages.end())
            languages.push_back(*language);
    }
    if (languages.empty())
        languages.push_back("en");
    return languages;
}

Localization::Localization(std::filesystem::path bundle, std::vector<std::string> preferredLanguages)
    : m_bundle(std::move(bundle))
    , m_preferredLanguages(std::move(preferredLanguages)) {}

const Localization& Localization::main() {
    MainLocalization& main = mainLocalization();
    const std::lock_guard guard(main.lock);
    if (!main.localization)
        main.localization = std::make_shared<Localization>(FileLocations::shared().resources,
                                                           preferredLanguagesFromEnvironment(&std::getenv));
    return *main.localization;
}

void Localization::setMain(std::shared_ptr<const Localization> localization) {
    MainLocalization& main = mainLocalization();
    const std::lock_guard guard(main.lock);
    main.localization = std::move(localization);
}

std::string Localization::localizedString(std::string_view key, std::string_view value,
                                          std::string_view tableName) const {
    const StringsTable& strings = table(tableName);
    const auto found = strings.find(std::string(key));
    if (found != strings.end())
        return found->second;
    return std::string(value.empty() ? key : value);
}

const StringsTable& Localization::table(std::string_view name) const {
    const std::lock_guard guard(m_lock);
    if (const auto cached = m_tables.find(name); cached != m_tables.end())
        return cached->second;

    std::vector<std::filesystem::path> folders;
    for (const std::string& language : m_preferredLanguages) {
        folders.push_back(m_bundle / (language + ".lproj"));
        if (const size_t dash = language.find('-'); dash != std::string::npos)
            folders.push_back(m_bundle / (language.substr(0, dash) + ".lproj"));
    }
    folders.push_back(m_bundle / "en.lproj");
    folders.push_back(m_bundle / "Base.lproj");
    folders.push_back(m_bundle);

    StringsTable strings;
    const std::string fileName = std::string(name) + ".strings";
    for (const std::filesystem::path& folder : folders) {
        std::error_code code;
        const std::filesystem::path file = folder / fileName;
        if (!std::filesystem::is_regular_file(file, code))
            continue;
        Result<std::string> bytes = readFile(file);
        Result<StringsTable> parsed = bytes ? parseStringsFile(*bytes) : Result<StringsTable>(bytes.error());
        if (parsed) {
            strings = std::move(parsed).value();
            break;
        }
        logf(LogLevel::Error, "strings table %s: %s", file.c_str(), parsed.error().description.c_str());
    }
    return m_tables.emplace(std::string(name), std::move(strings)).first->second;
}

std::string localized(std::string_view key) {
    return Localization::main().localizedString(key);
}

std::string localizedFillingIn(std::string_view pattern, std::string_view value) {
    std::string text = localized(pattern);
    if (const size_t slot = text.find("%@"); slot != std::string::npos)
        text.replace(slot, 2, value);
    return text;
}

} // namespace core
