#include "platform/ui/Touch.h"

#include "platform/ui/View.h"

namespace ui {

core::Point Touch::windowPointIn(const View* view, core::Point windowPoint) const {
    return view ? view->convertPointFromView(windowPoint, nullptr) : windowPoint;
}

core::Point Touch::locationInView(const View* view) const {
    return windowPointIn(view, m_location);
}

core::Point Touch::previousLocationInView(const View* view) const {
    return windowPointIn(view, m_previousLocation);
}

TouchSet Event::touchesForView(const View& view) const {
    TouchSet touches;
    for (const std::shared_ptr<Touch>& touch : m_allTouches) {
        if (touch->view() == &view)
            touches.push_back(touch);
    }
    return touches;
}

void Responder::touchesBegan(const TouchSet& touches, const Event& event) {
    if (Responder* next = nextResponder())
        next->touchesBegan(touches, event);
}

void Responder::touchesMoved(const TouchSet& touches, const Event& event) {
    if (Responder* next = nextResponder())
        next->touchesMoved(touches, event);
}

void Responder::touchesEnded(const TouchSet& touches, const Event& event) {
    if (Responder* next = nextResponder())
        next->touchesEnded(touches, event);
}

void Responder::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (Responder* next = nextResponder())
        next->touchesCancelled(touches, event);
}

} // namespace ui
