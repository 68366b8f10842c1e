#pragma once

#include "platform/core/Color.h"
#include "platform/gfx/Text.h"
#include "platform/gfx/TextBlock.h"
#include "platform/ui/View.h"

#include <map>
#include <memory>

namespace ui {

// Text of any length, wrapped to the view's width and drawn in bands across it. Only the bands near
// the part that shows exist: a picture of the whole of a long text would be too large to make (its
// pixels past what a picture can hold) and to keep, and each band draws only the lines that reach it.
// The view draws nothing until it is told what shows.
//
// Main thread only.
class TiledTextView : public View {
public:
    // The height of a band, in points.
    static constexpr float kTileHeight = 256;

    // The text keeps `inset` from every edge of the view.
    static std::shared_ptr<TiledTextView> create(float inset);

    // Runs without a colour of their own take `color`.
    void setText(gfx::AttributedText text, const gfx::TextStyle& style, const core::Color& color);
    // The height of the text wrapped to a view of `width`, insets included.
    float heightForWidth(float width);
    // The text laid out for a view of `width` (insets left out), laid out again only when the width or
    // the text changes.
    const gfx::TextBlock& laidOut(float width);
    // The part of the view that shows, in its own coordinates: bands are made near it and dropped away
    // from it.
    void setVisibleRect(const core::Rect& rect);

protected:
    explicit TiledTextView(float inset);

    void layoutSubviews() override;

private:
    class Tile;

    void placeTiles();

    float m_inset;
    gfx::AttributedText m_text;
    gfx::TextStyle m_style;
    core::Color m_color = core::Color::black();
    std::unique_ptr<gfx::TextBlock> m_laidOut;
    float m_laidOutWidth = 0;
    core::Rect m_visibleRect;
    std::map<int, std::shared_ptr<Tile>> m_tiles; // by index from the top
};

} // namespace ui
