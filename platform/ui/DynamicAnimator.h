#pragma once

#include "platform/core/Geometry.h"
#include "platform/ui/AnimationEngine.h"

#include <memory>
#include <vector>

namespace ui {

class View;

// Moves views like bodies in space: an instantaneous push changes an item's speed at once, and every
// frame each item moves on at its speed, with nothing to slow it down and no collisions.
//
// Main thread only; items are held weakly. It moves them while an animation engine runs.
class DynamicAnimator : private FrameObserver {
public:
    // Items move in their superviews' coordinates.
    DynamicAnimator() = default;
    ~DynamicAnimator() override;
    DynamicAnimator(const DynamicAnimator&) = delete;
    DynamicAnimator& operator=(const DynamicAnimator&) = delete;

    // Pushes `item` once in the direction `angle` (radians; 0 points right, angles grow clockwise on
    // screen). A push of magnitude 1 changes the speed of a 100 x 100 point item by 100 points a
    // second; a larger item takes proportionally less speed from the same push.
    void addPush(const std::shared_ptr<View>& item, float angle, float magnitude);

    // Points a second; zero for an item that was never pushed.
    core::Point velocity(const View& item) const;

private:
    struct Item {
        std::weak_ptr<View> view;
        core::Point velocity;
    };

    void advance(double elapsed) override;

    std::vector<Item> m_items;
    bool m_observing = false;
};

} // namespace ui
