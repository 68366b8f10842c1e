#pragma once

#include "platform/gfx/Font.h"
#include "playground/views/ExprView.h"

#include <string>
#include <vector>

namespace zm {

// A number drawn as runs of labels. In "Georgia" the figures 6 and 8 rise above the others, so runs
// of only those two are set lower by the spacing unit to sit on the same line as the rest.
class NumberLabel : public ExprView {
public:
    static std::shared_ptr<NumberLabel> create(const std::string& text, const gfx::Font& font);

    const std::vector<std::shared_ptr<GenericLabel>>& labels() const { return m_labels; }
    const gfx::Font& font() const { return m_font; }

    // Whether a run in this label's font is set lower: "Georgia", not empty, only 6s and 8s.
    bool adjustableString(const std::string& run) const;

    ViewList getViewList() const override;
    GenericViewList getGenericSubviews() const override;
    float getWidth() const override;
    float getHeight() const override;
    // The runs' boxes, the lowered ones taken back up to the line.
    core::Rect getHitbox() const override;
    // The top-left corner of the hit box; the origin without runs.
    core::Point getTopLeft() const override;
    // Laid out from the top-left corner, run after run.
    void moveTo(core::Point point, Anchor anchor) override;

private:
    NumberLabel(const gfx::Font& font)
        : m_font(font) {}

    std::vector<std::shared_ptr<GenericLabel>> m_labels;
    gfx::Font m_font;
};

} // namespace zm
