#include "playground/views/NumberLabel.h"

#include "playground/views/AnchorGeometry.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericLabel.h"

#include <algorithm>

namespace zm {

std::shared_ptr<NumberLabel> NumberLabel::create(const std::string& text, const gfx::Font& font) {
    std::shared_ptr<NumberLabel> label(new NumberLabel(font));
    std::string run;
    auto closeRun = [&] {
        if (!run.empty())
            label->m_labels.push_back(GenericLabel::create(run, font));
        run.clear();
    };
    for (char c : text) {
        if (!run.empty() && label->adjustableString(run) != label->adjustableString(std::string(1, c)))
            closeRun();
        run += c;
    }
    closeRun();
    return label;
}

bool NumberLabel::adjustableString(const std::string& run) const {
    return m_font.familyName() == kGeorgia && !run.empty() &&
           std::ranges::all_of(run, [](char c) { return c == '6' || c == '8'; });
}

ViewList NumberLabel::getViewList() const {
    return {m_labels.begin(), m_labels.end()};
}

GenericViewList NumberLabel::getGenericSubviews() const {
    return {m_labels.begin(), m_labels.end()};
}

float NumberLabel::getWidth() const {
    float width = 0;
    for (const std::shared_ptr<GenericLabel>& label : m_labels)
        width += label->getWidth();
    return width;
}

float NumberLabel::getHeight() const {
    float height = 0;
    for (const std::shared_ptr<GenericLabel>& label : m_labels)
        height = std::max(height, label->getHeight());
    return height;
}

core::Rect NumberLabel::getHitbox() const {
    core::Rect hitbox = core::Rect::null();
    for (const std::shared_ptr<GenericLabel>& label : m_labels) {
        const float lift = adjustableString(label->text()) ? space() : 0;
        hitbox = hitbox.united(label->getHitbox().offsetBy(0, -lift));
    }
    return hitbox;
}

core::Point NumberLabel::getTopLeft() const {
    const core::Rect hitbox = getHitbox();
    return hitbox.isNull() ? core::Point{} : core::Point{hitbox.minX(), hitbox.minY()};
}

void NumberLabel::moveTo(core::Point point, Anchor anchor) {
    const std::optional<core::Point> topLeft = topLeftForAnchor(point, anchor, {getWidth(), getHeight()});
    if (!topLeft)
        return;
    float x = topLeft->x;
    for (const std::shared_ptr<GenericLabel>& label : m_labels) {
        const float drop = adjustableString(label->text()) ? space() : 0;
        label->moveTo({x, topLeft->y + drop}, AnchorTopLeft);
        x += label->getWidth();
    }
}

} // namespace zm
