#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace ui {
class DynamicAnimator;
class ImageView;
} // namespace ui

namespace zm {

// The layer of soft light discs between the background and the screens. Bubbles of random size,
// alpha and blur are scattered evenly over the layer's four quarters; a burst gives each a small push
// in a random direction (one that has drifted out of the layer is sent back towards its middle), and
// they drift on at their speed until the next burst. The numbers come from BubbleTuning.
//
// Main thread only.
class BubbleView : public ui::View {
public:
    // A layer already filled with bubbles.
    static std::shared_ptr<BubbleView> create(const core::Rect& frame);
    ~BubbleView() override;

    // Makes all bubbles anew, with a new animator (the pushes so far are dropped) and new tilt effects.
    void reset();
    // Makes one bubble and puts it on top.
    void addBubble();
    // Scatters the bubbles, handing out the quarters in turn.
    void positionBubbles();
    // One burst of pushes.
    void pushBubbles();

    // In the order they were made.
    const std::vector<std::shared_ptr<ui::ImageView>>& bubbles() const { return m_bubbles; }
    const ui::DynamicAnimator& animator() const { return *m_animator; }
    const std::shared_ptr<ui::MotionEffect>& horiMotionEffect() const { return m_horiMotionEffect; }
    const std::shared_ptr<ui::MotionEffect>& vertMotionEffect() const { return m_vertMotionEffect; }

protected:
    explicit BubbleView(const core::Rect& frame);

    // Makes the bubbles anew for a new size. The view tree asks for a layout pass whenever a subview
    // comes or goes, so rebuilding on every pass would rebuild the bubbles for ever.
    void layoutSubviews() override;

private:
    std::vector<std::shared_ptr<ui::ImageView>> m_bubbles;
    std::unique_ptr<ui::DynamicAnimator> m_animator;
    std::shared_ptr<ui::MotionEffect> m_horiMotionEffect;
    std::shared_ptr<ui::MotionEffect> m_vertMotionEffect;
    core::Size m_builtSize; // the size the bubbles were made for
};

} // namespace zm
