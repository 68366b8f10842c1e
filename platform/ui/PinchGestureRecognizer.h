#pragma once

#include "platform/ui/GestureRecognizer.h"

namespace ui {

// Recognises two fingers moving apart or together. It begins once their distance has changed by a few
// points; the scale is their distance divided by the distance when it began (so 1 at the start). It
// ends when a finger lifts.
class PinchGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<PinchGestureRecognizer> create(Action action = {});

    float scale() const { return m_scale; }
    void setScale(float scale);

protected:
    explicit PinchGestureRecognizer(Action action = {})
        : GestureRecognizer(std::move(action)) {}

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;

private:
    float distance() const; // between the first two touches, in window coordinates

    float m_startDistance = 0;
    float m_scale = 1;
};

} // namespace ui
