#pragma once

#include "components/SettingsKit/STKSpecifier.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"

#include <string>

namespace zm {

// Controls that remember the settings key they edit, so that one change handler serves every row of
// a kind.

class STKSwitch : public ui::Switch {
public:
    static std::shared_ptr<STKSwitch> create(const core::Rect& frame);
    std::string key;

private:
    using ui::Switch::Switch;
};

class STKSlider : public ui::Slider {
public:
    static std::shared_ptr<STKSlider> create(const core::Rect& frame);
    std::string key;

private:
    using ui::Slider::Slider;
};

// The keyboard settings are kept for a touch keyboard; the desktop's keyboard has no kinds.
class STKTextField : public ui::TextField {
public:
    static std::shared_ptr<STKTextField> create(const core::Rect& frame);
    std::string key;
    STKKeyboardType keyboardType = STKKeyboardType::Default;
    STKAutocapitalizationType autocapitalizationType = STKAutocapitalizationType::None;
    STKAutocorrectionType autocorrectionType = STKAutocorrectionType::Default;

private:
    using ui::TextField::TextField;
};

} // namespace zm
