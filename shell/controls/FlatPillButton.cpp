#include "shell/controls/FlatPillButton.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"

namespace zm {

std::shared_ptr<FlatPillButton> FlatPillButton::create(const core::Rect& frame) {
    std::shared_ptr<FlatPillButton> button(new FlatPillButton(frame));
    button->setTitleColor(core::Color::black(), ui::ControlState::Normal);
    button->setTitleColor(core::Color::white(), ui::ControlState::Highlighted);
    button->setTitleEdgeInsets({0, 8, 0, 8});
    return button;
}

std::shared_ptr<FlatPillButton> FlatPillButton::createFromInterfaceFile() {
    return std::shared_ptr<FlatPillButton>(new FlatPillButton({}));
}

FlatPillButton::FlatPillButton(const core::Rect& frame)
    : Button(frame) {
    setContentMode(ui::ContentMode::Redraw);
}

void FlatPillButton::setBold(bool bold) {
    m_bold = bold;
    setNeedsDisplay();
}

void FlatPillButton::setThin(bool thin) {
    m_thin = thin;
    setNeedsDisplay();
}

float FlatPillButton::lineWidth() const {
    if (m_bold)
        return 3;
    return m_thin ? 1 : 2;
}

void FlatPillButton::draw(gfx::Canvas& canvas) {
    // The colours go by the state as one value: highlighted and selected together count as neither.
    auto colorOr = [](std::optional<core::Color> color) { return color.value_or(core::Color::black()); };
    core::Color outline = colorOr(titleColor(ui::ControlState::Normal));
    core::Color fill = core::Color::clear();
    switch (state()) {
    case ui::ControlState::Highlighted:
    case ui::ControlState::Selected:
        fill = core::Color::white(1, 0.4f);
        break;
    case ui::ControlState::Disabled:
        outline = colorOr(titleColor(ui::ControlState::Disabled));
        fill = outline;
        break;
    default:
        break;
    }

    const float width = lineWidth();
    const float radius = bounds().height() / 2;
    canvas.save();
    canvas.setStrokeColor(outline);
    canvas.setLineWidth(width);
    canvas.strokePath(gfx::Path::roundedRect(bounds().insetBy(width, width), radius));
    canvas.restore();

    if (isHighlighted()) {
        canvas.save();
        canvas.setFillColor(fill);
        canvas.fillPath(gfx::Path::roundedRect(bounds().insetBy(2.5f * width, 2.5f * width), radius));
        canvas.restore();
    }
}

} // namespace zm
