#pragma once

#include "platform/ui/ScrollView.h"
#include "playground/views/GenericView.h"

#include <memory>

namespace zm {

// What a `GenericScrollView` reports to the playground that owns it.
class GenericScrollViewOwner {
public:
    virtual ~GenericScrollViewOwner() = default;

    // A finger is down or moving at the point, in the scroll view's own coordinates.
    virtual void touchingInScrollView(core::Point point) = 0;
    // A finger lifted at the point without having scrolled.
    virtual void tappedInScrollView(core::Point point) = 0;
    // The content moved.
    virtual void scrolled() = 0;
};

// The scroll view of the factor-pair playground: a strip its owner fills and places itself. Every
// touch on it goes to the owner at once (content touches are never delayed); it takes no part in
// expression layout (it is never moved by anchor and contains no expression view).
class GenericScrollView : public ui::ScrollView, public GenericView, private ui::ScrollViewDelegate {
public:
    static std::shared_ptr<GenericScrollView> create(const core::Rect& frame);

    void setPlaygroundFact(std::weak_ptr<GenericScrollViewOwner> owner) { m_owner = std::move(owner); }

    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;

    void moveTo(core::Point, Anchor) override {}
    core::Point getTopLeft() const override { return {}; }
    bool containsPoint(core::Point) const override { return false; }
    bool containsView(const IGenericView*) const override { return false; }
    ViewList getViewList() const override { return {sharedPlatformView()}; }

protected:
    explicit GenericScrollView(const core::Rect& frame);

    ui::View& platformView() override { return *this; }

private:
    void scrollViewDidScroll(ui::ScrollView& scrollView) override;
    // The point of any one of the touches.
    core::Point locationOf(const ui::TouchSet& touches) const;

    std::weak_ptr<GenericScrollViewOwner> m_owner;
};

} // namespace zm
