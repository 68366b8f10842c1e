#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <optional>

namespace zm {

// A colour swatch: the bounds filled with one colour, with rounded corners.
class NZColourBlockView : public ui::View {
public:
    static constexpr float kDefaultCornerRadius = 7;

    static std::shared_ptr<NZColourBlockView> create(const core::Rect& frame = {});

    // The fill; black while none is set.
    const std::optional<core::Color>& colour() const { return m_colour; }
    void setColour(std::optional<core::Color> colour);
    float cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(float radius);

protected:
    explicit NZColourBlockView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    std::optional<core::Color> m_colour;
    float m_cornerRadius = kDefaultCornerRadius;
};

} // namespace zm
