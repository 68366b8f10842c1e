#include "platform/ui/Animation.h"
#include "platform/ui/Layer.h"
#include "platform/ui/ScrollViewParts.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float thickness = 2.5f;
constexpr float margin = 3;
constexpr float minimumLength = 20;
constexpr double fadeDuration = 0.3;
constexpr std::string_view fadeKey = "fade";

// Where a bar lies along its axis, and how long it is: as long a share of the track as the view shows
// of the content, as far along it as the offset is between its limits.
std::pair<float, float> along(float visible, float total, float start, float from, float to, float at) {
    const float length = std::clamp(visible * visible / std::max(total, 1.0f),
                                    std::min(minimumLength, visible), std::max(0.0f, visible - 2 * margin));
    const float share = to > from ? std::clamp((at - from) / (to - from), 0.0f, 1.0f) : 0;
    return {start + margin + share * std::max(0.0f, visible - 2 * margin - length), length};
}

} // namespace

ScrollView::Indicators::Indicators(Layer& host)
    : m_horizontal(Layer::create())
    , m_vertical(Layer::create()) {
    for (const std::shared_ptr<Layer>& bar : {m_horizontal, m_vertical}) {
        bar->setBackgroundColor(core::Color::rgba(0, 0, 0, 0.35f));
        bar->setOpacity(0);
        host.addSublayer(bar);
    }
}

void ScrollView::Indicators::raise(Layer& host) {
    for (const std::shared_ptr<Layer>& bar : {m_horizontal, m_vertical}) {
        bar->removeFromSuperlayer();
        host.addSublayer(bar);
    }
}

void ScrollView::Indicators::place(const ScrollView& view) {
    const core::Rect area = view.bounds();
    const core::Point low = view.minimumContentOffset();
    const core::Point high = view.maximumContentOffset();
    const core::Point offset = view.contentOffset();
    const bool horizontal = view.m_showsHorizontalIndicator && high.x > low.x;
    const bool vertical = view.m_showsVerticalIndicator && high.y > low.y;
    m_horizontal->setHidden(!horizontal);
    m_vertical->setHidden(!vertical);
    const EdgeInsets& inset = view.m_contentInset;
    if (horizontal) {
        const auto [x, length] = along(area.width(), view.m_contentSize.width + inset.left + inset.right,
                                       area.minX(), low.x, high.x, offset.x);
        m_horizontal->setFrame({x, area.maxY() - margin - thickness, length, thickness});
    }
    if (vertical) {
        const auto [y, length] = along(area.height(), view.m_contentSize.height + inset.top + inset.bottom,
                                       area.minY(), low.y, high.y, offset.y);
        m_vertical->setFrame({area.maxX() - margin - thickness, y, thickness, length});
    }
}

void ScrollView::Indicators::show() {
    for (const std::shared_ptr<Layer>& bar : {m_horizontal, m_vertical}) {
        bar->removeAnimation(fadeKey);
        bar->setOpacity(1);
    }
}

void ScrollView::Indicators::fade(double delay) {
    for (const std::shared_ptr<Layer>& bar : {m_horizontal, m_vertical}) {
        if (bar->opacity() == 0)
            continue;
        bar->setOpacity(0);
        if (AnimationEngine::current())
            bar->addAnimation(Animation::basic(LayerProperty::Opacity, 1.0f, 0.0f)
                                  .setDuration(fadeDuration)
                                  .setDelay(delay)
                                  .setFillMode(FillMode::Backwards),
                              std::string(fadeKey));
    }
}

bool ScrollView::Indicators::isShowing() const {
    auto shows = [](const Layer& bar) { return !bar.isHidden() && bar.presentation().opacity > 0; };
    return shows(*m_horizontal) || shows(*m_vertical);
}

} // namespace ui
