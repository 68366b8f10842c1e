#include "shell/intro/BoldMarkup.h"

#include "platform/core/Regex.h"

#include <cassert>

namespace zm {

namespace {

constexpr std::string_view kOpening = "<b>";
constexpr std::string_view kClosing = "</b>";

const core::Regex& markPattern() {
    static const core::Regex pattern = [] {
        core::Result<core::Regex> made = core::Regex::make("<b>(.*?)</b>", {.caseInsensitive = true});
        assert(made);
        return std::move(made).value();
    }();
    return pattern;
}

} // namespace

gfx::AttributedText boldMarkupText(std::string_view text, const gfx::Font& plain, const gfx::Font& marked) {
    gfx::AttributedText result;
    size_t cursor = 0;
    for (const core::Regex::Match& match : markPattern().matches(text)) {
        const core::Regex::Range range = match.range();
        if (cursor < range.location)
            result.append(std::string(text.substr(cursor, range.location - cursor)), plain);
        const size_t innerLength = range.length - kOpening.size() - kClosing.size();
        if (innerLength > 0)
            result.append(std::string(text.substr(range.location + kOpening.size(), innerLength)), marked);
        cursor = range.location + range.length;
    }
    if (cursor < text.size())
        result.append(std::string(text.substr(cursor)), plain);
    return result;
}

} // namespace zm
