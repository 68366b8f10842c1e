#pragma once

#include "platform/ui/GestureRecognizer.h"

namespace ui {

// Recognises a tap: the required number of fingers land and lift without moving more than a few points;
// with several taps required, the lift of the last tap (as the window counts taps) is recognised.
class TapGestureRecognizer : public GestureRecognizer {
public:
    static std::shared_ptr<TapGestureRecognizer> create(Action action = {});

    int numberOfTapsRequired() const { return m_tapsRequired; }
    void setNumberOfTapsRequired(int taps) { m_tapsRequired = std::max(1, taps); }
    size_t numberOfTouchesRequired() const { return m_touchesRequired; }
    void setNumberOfTouchesRequired(size_t touches) { m_touchesRequired = std::max<size_t>(1, touches); }

protected:
    explicit TapGestureRecognizer(Action action = {})
        : GestureRecognizer(std::move(action)) {}

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void reset() override;

private:
    struct Start {
        const Touch* touch;
        core::Point location; // in window coordinates
    };

    std::vector<Start> m_starts;
    size_t m_lifted = 0;
    int m_tapsRequired = 1;
    size_t m_touchesRequired = 1;
};

} // namespace ui
