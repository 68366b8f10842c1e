#include "playground/views/GenericView.h"

#include "platform/ui/View.h"
#include "playground/views/AnchorGeometry.h"

namespace zm {

void placeView(ui::View& view, core::Point point, Anchor anchor, core::Size size) {
    std::optional<AnchoredPoint> position = AnchoredPoint{point, anchor};
    while (position) {
        if (position->anchor == AnchorTopLeft) {
            view.setFrame({position->point, size});
            return;
        }
        if (position->anchor == AnchorCenter) {
            view.setCenter(position->point);
            return;
        }
        position = reduceAnchorOnce(*position, size);
    }
}

void moveViewTo(ui::View& view, core::Point point, Anchor anchor) {
    placeView(view, point, anchor, view.frame().size);
}

core::Point viewPointAtPosition(const ui::View& view, Anchor anchor) {
    return pointAtAnchorInRect(view.frame(), anchor);
}

void GenericView::moveTo(core::Point point, Anchor anchor) {
    placeView(platformView(), point, anchor, {getWidth(), getHeight()});
}

void GenericView::moveToVertical(float y, Anchor anchor) {
    moveTo({getPointAtPosition(anchor).x, y}, anchor);
}

core::Point GenericView::getPointAtPosition(Anchor anchor) const {
    return pointAtAnchorInRect(getHitbox(), anchor);
}

float GenericView::getWidth() const {
    return platformView().frame().width();
}

float GenericView::getHeight() const {
    return platformView().frame().height();
}

core::Rect GenericView::getHitbox() const {
    return platformView().frame();
}

core::Point GenericView::getTopLeft() const {
    const core::Rect frame = platformView().frame();
    return {frame.minX(), frame.minY()};
}

bool GenericView::containsPoint(core::Point point) const {
    return platformView().frame().contains(point);
}

void GenericView::clear() {
    for (const std::shared_ptr<ui::View>& view : getViewList())
        view->removeFromSuperview();
}

void GenericView::alterAlpha(float alpha) {
    platformView().setAlpha(alpha);
}

void GenericView::setAlgebraTransformSize(float scale) {
    platformView().setTransform(core::AffineTransform::makeScale(scale, scale));
}

void GenericView::highlight() {
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->setColor(kHighlightColor);
}

void GenericView::matchHoverHighlight() {
    highlight();
}

std::shared_ptr<IGenericView> GenericView::genericSelf() const {
    return std::shared_ptr<IGenericView>(sharedPlatformView(), const_cast<GenericView*>(this));
}

std::shared_ptr<ui::View> GenericView::sharedPlatformView() const {
    return const_cast<ui::View&>(platformView()).shared_from_this();
}

} // namespace zm
