#include "platform/ui/TiledTextView.h"

#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <cmath>

namespace ui {

// One band of the text, across the whole width of its owner.
class TiledTextView::Tile : public View {
public:
    static std::shared_ptr<Tile> create(TiledTextView& owner) {
        return std::shared_ptr<Tile>(new Tile(owner));
    }

protected:
    explicit Tile(TiledTextView& owner)
        : View({})
        , m_owner(owner) {
        setContentMode(ContentMode::Redraw);
        setUserInteractionEnabled(false);
    }

    void draw(gfx::Canvas& canvas) override {
        const float width = m_owner.bounds().width();
        canvas.drawText(m_owner.laidOut(width), {m_owner.m_inset, m_owner.m_inset - frame().minY()});
    }

private:
    TiledTextView& m_owner; // its superview, which holds it only while it is a subview
};

std::shared_ptr<TiledTextView> TiledTextView::create(float inset) {
    return std::shared_ptr<TiledTextView>(new TiledTextView(inset));
}

TiledTextView::TiledTextView(float inset)
    : View({})
    , m_inset(inset) {}

void TiledTextView::setText(gfx::AttributedText text, const gfx::TextStyle& style, const core::Color& color) {
    m_text = std::move(text);
    m_style = style;
    m_color = color;
    m_laidOut.reset();
    for (const auto& [index, tile] : m_tiles)
        tile->setNeedsDisplay();
}

float TiledTextView::heightForWidth(float width) {
    return laidOut(width).size().height + 2 * m_inset;
}

void TiledTextView::setVisibleRect(const core::Rect& rect) {
    m_visibleRect = rect;
    placeTiles();
}

void TiledTextView::layoutSubviews() {
    View::layoutSubviews();
    placeTiles();
}

const gfx::TextBlock& TiledTextView::laidOut(float width) {
    const float textWidth = std::max(1.0f, width - 2 * m_inset);
    if (!m_laidOut || m_laidOutWidth != textWidth) {
        m_laidOut = std::make_unique<gfx::TextBlock>(m_text, textWidth, m_style, m_color);
        m_laidOutWidth = textWidth;
    }
    return *m_laidOut;
}

void TiledTextView::placeTiles() {
    // What shows, half a band more on either side.
    const core::Rect area = bounds();
    const core::Rect wanted = m_visibleRect.insetBy(0, -kTileHeight / 2).intersected(area);
    int first = 0;
    int last = -1;
    if (!wanted.isEmpty()) {
        first = int(std::floor(wanted.minY() / kTileHeight));
        last = int(std::ceil(wanted.maxY() / kTileHeight)) - 1;
    }
    std::erase_if(m_tiles, [&](const auto& entry) {
        const bool away = entry.first < first || entry.first > last;
        if (away)
            entry.second->removeFromSuperview();
        return away;
    });
    for (int index = first; index <= last; ++index) {
        std::shared_ptr<Tile>& tile = m_tiles[index];
        if (!tile) {
            tile = Tile::create(*this);
            insertSubview(tile, 0); // under the views laid over the text
        }
        // Every band is whole, the last one too: one cut to a fractional height would have its
        // picture stretched over it, a fraction of a pixel off and blurred.
        tile->setFrame({0, float(index) * kTileHeight, area.width(), kTileHeight});
    }
}

} // namespace ui
