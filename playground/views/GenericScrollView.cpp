#include "playground/views/GenericScrollView.h"

namespace zm {

std::shared_ptr<GenericScrollView> GenericScrollView::create(const core::Rect& frame) {
    std::shared_ptr<GenericScrollView> scrollView(new GenericScrollView(frame));
    setUp(scrollView);
    scrollView->setDelaysContentTouches(false);
    scrollView->setDelegate(std::shared_ptr<ui::ScrollViewDelegate>(
        scrollView, static_cast<ui::ScrollViewDelegate*>(scrollView.get())));
    return scrollView;
}

GenericScrollView::GenericScrollView(const core::Rect& frame)
    : ui::ScrollView(frame) {}

core::Point GenericScrollView::locationOf(const ui::TouchSet& touches) const {
    return touches.empty() ? core::Point{} : touches.front()->locationInView(this);
}

void GenericScrollView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    if (auto owner = m_owner.lock())
        owner->touchingInScrollView(locationOf(touches));
}

void GenericScrollView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    if (auto owner = m_owner.lock())
        owner->touchingInScrollView(locationOf(touches));
}

void GenericScrollView::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    if (auto owner = m_owner.lock())
        owner->tappedInScrollView(locationOf(touches));
}

void GenericScrollView::scrollViewDidScroll(ui::ScrollView&) {
    if (auto owner = m_owner.lock())
        owner->scrolled();
}

} // namespace zm
