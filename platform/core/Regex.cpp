#include "platform/core/Regex.h"

// PCRE2 rather than std::regex: libstdc++'s matcher recurses once per character and can overflow
// the stack on long texts, and it knows nothing of UTF-8; PCRE2 matches UTF-8 with bounded effort.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace core {

namespace {

// Bounds the work of one search so that a pathological pattern fails instead of hanging.
constexpr uint32_t kMatchLimit = 10'000'000;
constexpr uint32_t kDepthLimit = 10'000;

struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextDeleter {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};

// Length of the UTF-8 character that starts at `position` (1 at the end or on a stray byte).
size_t characterLength(std::string_view text, size_t position) {
    size_t length = 1;
    while (position + length < text.size() &&
           (static_cast<unsigned char>(text[position + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

} // namespace

struct Regex::Code {
    pcre2_code* code = nullptr;
    ~Code() { pcre2_code_free(code); }
};

Regex::Regex(std::shared_ptr<const Code> code, size_t groupCount)
    : m_code(std::move(code))
    , m_groupCount(groupCount) {}

Result<Regex> Regex::make(std::string_view pattern, RegexOptions options) {
    uint32_t flags = PCRE2_UTF;
    if (options.caseInsensitive)
        flags |= PCRE2_CASELESS;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), flags,
                                     &errorCode, &errorOffset, nullptr);
    if (!code) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(errorCode, message, sizeof message);
        return Error{std::string(kRegexErrorDomain),
                     errorCode,
                     "the pattern \"" + std::string(pattern) + "\" is invalid at offset " +
                         std::to_string(errorOffset) + ": " + reinterpret_cast<const char*>(message),
                     {}};
    }
    auto owner = std::make_shared<Code>();
    owner->code = code;
    uint32_t captures = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &captures);
    return Regex(std::move(owner), captures);
}

std::string_view Regex::Match::group(std::string_view text, size_t index) const {
    if (index >= groups.size() || !groups[index].found())
        return {};
    return text.substr(groups[index].location, groups[index].length);
}

std::vector<Regex::Match> Regex::matches(std::string_view text) const {
    std::vector<Match> found;
    const std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern(m_code->code, nullptr));
    const std::unique_ptr<pcre2_match_context, MatchContextDeleter> context(
        pcre2_match_context_create(nullptr));
    pcre2_set_match_limit(context.get(), kMatchLimit);
    pcre2_set_depth_limit(context.get(), kDepthLimit);

    const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    size_t offset = 0;
    uint32_t flags = 0;
    while (offset <= text.size()) {
        const int result =
            pcre2_match(m_code->code, subject, text.size(), offset, flags, data.get(), context.get());
        if (result == PCRE2_ERROR_NOMATCH && flags != 0) {
            // No non-empty match where the empty one was: step over one character and go on.
            flags = 0;
            offset += characterLength(text, offset);
            continue;
        }
        if (result < 0)
            break;
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(data.get());
        Match match;
        match.groups.resize(m_groupCount + 1);
        for (size_t i = 0; i < match.groups.size() && i < static_cast<size_t>(result); ++i) {
            if (vector[2 * i] != PCRE2_UNSET)
                match.groups[i] = {vector[2 * i], vector[2 * i + 1] - vector[2 * i]};
        }
        found.push_back(std::move(match));
        offset = vector[1];
        // After an empty match, look for a non-empty one at the same place before moving on.
        flags = vector[0] == vector[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
    }
    return found;
}

std::optional<Regex::Match> Regex::firstMatch(std::string_view text) const {
    std::vector<Match> all = matches(text);
    if (all.empty())
        return std::nullopt;
    return std::move(all.front());
}

std::string Regex::replaceAll(std::string_view text, std::string_view replacementTemplate) const {
    std::string result;
    size_t copied = 0;
    for (const Match& match : matches(text)) {
        result.append(text.substr(copied, match.range().location - copied));
        for (size_t i = 0; i < replacementTemplate.size(); ++i) {
            const char c = replacementTemplate[i];
            if (c == '\\' && i + 1 < replacementTemplate.size()) {
                result += replacementTemplate[++i];
                continue;
            }
            const auto isDigit = [&](size_t at) {
                return at < replacementTemplate.size() && replacementTemplate[at] >= '0' &&
                       replacementTemplate[at] <= '9';
            };
            if (c != '$' || !isDigit(i + 1)) {
                result += c;
                continue;
            }
            // The longest run of digits that still names a group.
            size_t group = static_cast<size_t>(replacementTemplate[++i] - '0');
            while (isDigit(i + 1)) {
                const size_t longer = group * 10 + static_cast<size_t>(replacementTemplate[i + 1] - '0');
                if (longer > m_groupCount)
                    break;
                group = longer;
                ++i;
            }
            result.append(match.group(text, group));
        }
        copied = match.range().location + match.range().length;
    }
    result.append(text.substr(copied));
    return result;
}

} // namespace core
