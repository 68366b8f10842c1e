#include "platform/ui/PlatformClasses.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace ui {

using namespace property;

void registerTextClasses(ClassRegistry& registry) {
    registry.registerClass<TextField, Control>("TextField", "Control", [] { return TextField::create(); });
    registry.registerProperty<TextField>("TextField", "text", text(&TextField::setText));
    registry.registerProperty<TextField>("TextField", "placeholder", text(&TextField::setPlaceholder));
    registry.registerProperty<TextField>("TextField", "font", font(&TextField::setFont));
    registry.registerProperty<TextField>("TextField", "textColor", color(&TextField::setTextColor));
    registry.registerProperty<TextField>("TextField", "textAlignment",
                                         alignment(&TextField::setTextAlignment));
    registry.registerProperty<TextField>("TextField", "secureTextEntry",
                                         flag(&TextField::setSecureTextEntry));
    registry.registerProperty<TextField>("TextField", "adjustsFontSizeToFitWidth",
                                         flag(&TextField::setAdjustsFontSizeToFitWidth));
    registry.registerProperty<TextField>("TextField", "minimumFontSize",
                                         number(&TextField::setMinimumFontSize));
    registry.registerProperty<TextField>(
        "TextField", "returnKeyType",
        choice(&TextField::setReturnKeyType, {{"default", ReturnKeyType::Default},
                                              {"go", ReturnKeyType::Go},
                                              {"next", ReturnKeyType::Next},
                                              {"search", ReturnKeyType::Search},
                                              {"send", ReturnKeyType::Send},
                                              {"done", ReturnKeyType::Done}}));

    registry.registerClass<TextView, ScrollView>("TextView", "ScrollView", [] { return TextView::create(); });
    registry.registerProperty<TextView>("TextView", "text", text(&TextView::setText));
    registry.registerProperty<TextView>("TextView", "font", font(&TextView::setFont));
    registry.registerProperty<TextView>("TextView", "textColor", color(&TextView::setTextColor));
    registry.registerProperty<TextView>("TextView", "textAlignment", alignment(&TextView::setTextAlignment));
    registry.registerProperty<TextView>("TextView", "editable", flag(&TextView::setEditable));
}

} // namespace ui
