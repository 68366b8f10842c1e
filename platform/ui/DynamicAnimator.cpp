#include "platform/ui/DynamicAnimator.h"

#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

namespace ui {

DynamicAnimator::~DynamicAnimator() {
    if (m_observing) {
        if (AnimationEngine* engine = AnimationEngine::current())
            engine->removeFrameObserver(*this);
    }
}

void DynamicAnimator::addPush(const std::shared_ptr<View>& item, float angle, float magnitude) {
    if (!item)
        return;
    // The push of magnitude 1 gives a 100 x 100 item (10,000 square points, density 1) 100 points a second.
    const core::Size size = item->bounds().size;
    const float area = std::max(size.width * size.height, 1.0f);
    const float change = magnitude * 100 * 10'000 / area;
    auto found = std::find_if(m_items.begin(), m_items.end(),
                              [&](const Item& entry) { return entry.view.lock() == item; });
    if (found == m_items.end())
        found = m_items.insert(m_items.end(), Item{item, {}});
    found->velocity.x += change * std::cos(angle);
    found->velocity.y += change * std::sin(angle);
    if (!m_observing) {
        if (AnimationEngine* engine = AnimationEngine::current()) {
            engine->addFrameObserver(*this);
            m_observing = true;
        }
    }
}

core::Point DynamicAnimator::velocity(const View& item) const {
    for (const Item& entry : m_items) {
        if (entry.view.lock().get() == &item)
            return entry.velocity;
    }
    return {};
}

void DynamicAnimator::advance(double elapsed) {
    std::erase_if(m_items, [](const Item& entry) { return entry.view.expired(); });
    if (m_items.empty()) {
        if (AnimationEngine* engine = AnimationEngine::current())
            engine->removeFrameObserver(*this);
        m_observing = false;
        return;
    }
    for (const Item& entry : m_items) {
        const std::shared_ptr<View> view = entry.view.lock();
        const core::Point center = view->center();
        view->setCenter({static_cast<float>(center.x + entry.velocity.x * elapsed),
                         static_cast<float>(center.y + entry.velocity.y * elapsed)});
    }
}

} // namespace ui
