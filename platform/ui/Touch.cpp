#include "platform/ui/Touch.h"

#include "platform/ui/View.h"

#include <algorithm>

namespace ui {

namespace {

core::Point fromWindow(core::Point point, const View* view) {
    return view ? view->convertPointFromView(point, nullptr) : point;
}

} // namespace

core::Point Touch::locationInView(const View* view) const {
    return fromWindow(m_location, view);
}

core::Point Touch::previousLocationInView(const View* view) const {
    return fromWindow(m_previousLocation, view);
}

bool contains(const TouchSet& touches, const Touch* touch) {
    return touch && std::any_of(touches.begin(), touches.end(),
                                [touch](const std::shared_ptr<Touch>& each) { return each.get() == touch; });
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
