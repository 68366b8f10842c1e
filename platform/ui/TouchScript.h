#pragma once

// Test support: scripted fingers on a window, with their own clock of event times, and a view that
// logs the touch calls it gets.

#include "platform/ui/Window.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace ui::testing {

// Logs "began", "moved", "ended" and "cancelled" as the touch calls come.
class TouchLog : public View {
public:
    static std::shared_ptr<TouchLog> make(const core::Rect& frame) {
        return std::shared_ptr<TouchLog>(new TouchLog(frame));
    }
    void touchesBegan(const TouchSet&, const Event&) override { calls.push_back("began"); }
    void touchesMoved(const TouchSet&, const Event&) override { calls.push_back("moved"); }
    void touchesEnded(const TouchSet&, const Event&) override { calls.push_back("ended"); }
    void touchesCancelled(const TouchSet&, const Event&) override { calls.push_back("cancelled"); }

    std::vector<std::string> calls;

private:
    explicit TouchLog(const core::Rect& frame)
        : View(frame) {}
};

class TouchScript {
public:
    explicit TouchScript(Window& window, double startTime = 100)
        : m_window(window)
        , m_time(startTime) {}

    void down(core::Point point, int finger = 0) { send(finger, TouchPhase::Began, point); }
    void move(core::Point point, int finger = 0) { send(finger, TouchPhase::Moved, point); }
    void up(core::Point point, int finger = 0) { send(finger, TouchPhase::Ended, point); }
    void cancel(core::Point point, int finger = 0) { send(finger, TouchPhase::Cancelled, point); }

    void tap(core::Point point) {
        down(point);
        up(point);
    }
    // Down at `from`, `steps` moves to `to`, up there.
    void drag(core::Point from, core::Point to, int steps = 10) {
        down(from);
        for (int step = 1; step <= steps; ++step) {
            const float share = float(step) / float(steps);
            move({from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share});
        }
        up(to);
    }

    // Several fingers changing at one moment.
    // Events come a frame apart; after a finger lifts, long enough that the next tap starts afresh
    // rather than counting as a second tap.
    void send(std::vector<Window::TouchInput> inputs) {
        m_window.dispatchTouches(inputs, m_time);
        const bool lifted = std::any_of(inputs.begin(), inputs.end(), [](const Window::TouchInput& input) {
            return input.phase == TouchPhase::Ended || input.phase == TouchPhase::Cancelled;
        });
        m_time += lifted ? 1.0 : 1.0 / 60;
    }

    double time() const { return m_time; }

private:
    void send(int finger, TouchPhase phase, core::Point point) { send({{finger, phase, point}}); }

    Window& m_window;
    double m_time;
};

} // namespace ui::testing
