#include "platform/gfx/Text.h"

#include "platform/gfx/TextEngine.h"

#include <algorithm>

namespace gfx {

void AttributedText::append(std::string text, const Font& font, std::optional<core::Color> color) {
    m_runs.push_back({std::move(text), font, color});
}

std::string AttributedText::plainText() const {
    std::string text;
    for (const TextRun& run : m_runs) {
        text += run.text;
    }
    return text;
}

bool AttributedText::isEmpty() const {
    return std::ranges::all_of(m_runs, [](const TextRun& run) { return run.text.empty(); });
}

core::Size measureText(std::string_view text, const Font& font) {
    return measureText(AttributedText(std::string(text), font));
}

core::Size measureText(const AttributedText& text, float maxWidth, const TextStyle& style) {
    auto lock = detail::lockText();
    return detail::TextLayout(text, maxWidth, kUnlimitedWidth, style).size();
}

} // namespace gfx
