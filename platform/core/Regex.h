#pragma once

#include "platform/core/Result.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

inline constexpr std::string_view kRegexErrorDomain = "core.regex";

struct RegexOptions {
    bool caseInsensitive = false;
};

// A compiled regular expression over UTF-8 text (Perl syntax: lazy quantifiers, lookahead,
// lookbehind, classes). Positions are byte offsets into the searched text. Immutable once made; one
// expression may be used from several threads at once.
class Regex {
public:
    static Result<Regex> make(std::string_view pattern, RegexOptions options = {});

    struct Range {
        static constexpr size_t kNotFound = static_cast<size_t>(-1);
        size_t location = kNotFound; // kNotFound for a group that took no part in the match
        size_t length = 0;

        bool found() const { return location != kNotFound; }
        friend bool operator==(const Range&, const Range&) = default;
    };

    struct Match {
        std::vector<Range> groups; // groups[0] is the whole match

        Range range() const { return groups[0]; }
        // The text of a group; empty for a group that took no part or does not exist.
        std::string_view group(std::string_view text, size_t index) const;
    };

    size_t groupCount() const { return m_groupCount; }

    // Every match, left to right, none overlapping. A text that is not UTF-8 has no matches, and a
    // search that exceeds the backtracking limit ends there.
    std::vector<Match> matches(std::string_view text) const;
    std::optional<Match> firstMatch(std::string_view text) const;

    // Every match replaced by the template: "$n" stands for the text of group n (the longest run of
    // digits that names a group; a number naming no group stands for nothing), "\" makes the next
    // character literal, and any other "$" is itself — so "$$0" writes "$" and then the match.
    std::string replaceAll(std::string_view text, std::string_view replacementTemplate) const;

private:
    struct Code;
    explicit Regex(std::shared_ptr<const Code> code, size_t groupCount);

    std::shared_ptr<const Code> m_code;
    size_t m_groupCount = 0;
};

} // namespace core
