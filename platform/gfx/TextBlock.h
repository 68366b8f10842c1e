#pragma once

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"
#include "platform/gfx/Text.h"

#include <memory>

namespace gfx {

namespace detail {
class TextLayout;
}

// Text laid out once into lines of one width, then measured and drawn as often as needed: a long text
// shown piece by piece as it scrolls breaks its lines once, and each piece draws only the lines that
// reach it (see Canvas::drawText).
//
// Any thread; one block is used by one thread at a time.
class TextBlock {
public:
    // Lines no wider than `width` (unlimited: lines break only at line feeds), as many as the text needs
    // unless the style limits them. Runs without a colour of their own take `color`.
    TextBlock(const AttributedText& text, float width, const TextStyle& style = {},
              const core::Color& color = core::Color::black());
    ~TextBlock();
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    // The size of its lines, as measureText answers it.
    core::Size size() const { return m_size; }
    // The top of the caret before the character at byte `index` of the text (its size for the end),
    // in the block's own coordinates, after wrapping and alignment.
    core::Point caretAt(size_t index) const;
    // The byte index of the caret position nearest to `point`, on the line the point is on (the first
    // or the last line for points above or below the text).
    size_t indexAt(core::Point point) const;

private:
    friend class Canvas;

    std::unique_ptr<detail::TextLayout> m_layout;
    core::Size m_size;
};

} // namespace gfx
