#pragma once

#include "platform/ui/Label.h"
#include "playground/views/GenericView.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>

namespace zm {

// The label every character of an expression is drawn with: white text on nothing, sized to its
// text, taking no touches. Its font size changes by scaling the label first and then setting the new
// font, so that the change can be animated smoothly.
class GenericLabel : public ui::Label, public GenericView {
public:
    static std::shared_ptr<GenericLabel> create(const std::string& text, const gfx::Font& font);

    // Shown enlarged: the pure width is the width without the enlargement.
    bool enlarged() const { return m_enlarged; }
    void setEnlarged(bool enlarged) { m_enlarged = enlarged; }

    // The text colour.
    void setColor(const core::Color& color) override;
    // The label itself: colour and highlights reach it, and `clear` takes it off the screen.
    ViewList getViewList() const override;
    GenericViewList getGenericSubviews() const override;
    float getPureWidth() const override;
    // Drops the enlargement and the scale; the colour stays.
    void dehighlight() override;
    bool isHighlighted() const override;
    // The same face at `size`, the label sized to its text. Animated, the label first scales to the
    // new size over a quarter second and takes the new font only when that has run to its end; an
    // interrupted change leaves the old font and size. At once, it cancels a running change to another
    // size (and leaves one to the same size running).
    void setFontSize(float size, bool animated) override;

protected:
    struct Key {
        explicit Key() = default;
    };

public:
    GenericLabel(Key, const std::string& text, const gfx::Font& font);

protected:
    ui::View& platformView() override { return *this; }

private:
    void takeFont(const gfx::Font& font, core::Size size);
    // The size of the text in `font`.
    core::Size measuredSize(const gfx::Font& font) const;

    std::atomic<bool> m_enlarged = false;
    // The font an animated change is taking the label to.
    std::optional<gfx::Font> m_pendingFont;
};

} // namespace zm
