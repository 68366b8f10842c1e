#include "components/SettingsKit/STKKeyedControls.h"

namespace zm {

std::shared_ptr<STKSwitch> STKSwitch::create(const core::Rect& frame) {
    return std::shared_ptr<STKSwitch>(new STKSwitch(frame));
}

std::shared_ptr<STKSlider> STKSlider::create(const core::Rect& frame) {
    return std::shared_ptr<STKSlider>(new STKSlider(frame));
}

std::shared_ptr<STKTextField> STKTextField::create(const core::Rect& frame) {
    return std::shared_ptr<STKTextField>(new STKTextField(frame));
}

} // namespace zm
