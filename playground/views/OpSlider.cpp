#include "playground/views/OpSlider.h"

#include "platform/ui/Device.h"

namespace zm {

namespace {

constexpr float kCatchMargin = 10;

} // namespace

std::shared_ptr<OpSlider> OpSlider::create() {
    return std::shared_ptr<OpSlider>(new OpSlider);
}

OpSlider::OpSlider()
    : ui::Slider({0, 0, ui::Device::current().isTablet() ? 300.0f : 200.0f, kHeight}) {}

bool OpSlider::pointInside(core::Point point, const ui::Event*) const {
    return bounds().insetBy(0, -kCatchMargin).contains(point);
}

} // namespace zm
