#pragma once

#include "platform/ui/GestureRecognizer.h"

#include <limits>

namespace ui {

// Recognises fingers dragging: it begins once the centre of between the minimum and the maximum number
// of fingers has moved a few points, reports every move as Changed and ends when fewer fingers than the
// minimum remain. The translation is measured from where the gesture began.
class PanGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<PanGestureRecognizer> create(Action action = {});

    size_t minimumNumberOfTouches() const { return m_minimumTouches; }
    void setMinimumNumberOfTouches(size_t touches) { m_minimumTouches = std::max<size_t>(1, touches); }
    size_t maximumNumberOfTouches() const { return m_maximumTouches; }
    void setMaximumNumberOfTouches(size_t touches) { m_maximumTouches = touches; }

    // In `view`'s coordinates (the window's for nullptr): how far the fingers moved since the gesture
    // began, and how fast they moved lately (points per second).
    core::Point translationInView(const View* view) const;
    // Makes the translation so far count as `translation` in `view`'s coordinates.
    void setTranslation(core::Point translation, const View* view);
    core::Point velocityInView(const View* view) const;

protected:
    explicit PanGestureRecognizer(Action action = {})
        : GestureRecognizer(std::move(action)) {}

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;
    // Whether a pan may begin once the fingers have moved by `movement` (window coordinates); when not,
    // the recogniser fails and leaves the touches to others. Any movement by default.
    virtual bool canBegin(core::Point movement) const;

private:
    core::Point centroid() const; // of the touches, in window coordinates
    void rebase();

    size_t m_minimumTouches = 1;
    size_t m_maximumTouches = std::numeric_limits<size_t>::max();
    core::Point m_origin; // window coordinates of the centroid where the translation is zero
    core::Point m_lastCentroid;
    core::Point m_velocity;
    double m_lastTime = 0;
    size_t m_lastCount = 0;
};

} // namespace ui
