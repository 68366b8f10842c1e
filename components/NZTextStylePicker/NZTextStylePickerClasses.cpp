#include "components/NZTextStylePicker/NZTextStylePickerClasses.h"

#include "components/NZTextStylePicker/NZColourBlockView.h"
#include "components/NZTextStylePicker/NZUpDownControl.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/PlatformClasses.h"

namespace zm {

void registerTextStylePickerClasses() {
    static const bool registered = [] {
        using namespace ui::property;
        ui::ClassRegistry& registry = ui::ClassRegistry::shared();
        registry.registerClass<NZUpDownControl, ui::Control>("NZUpDownControl", "Control",
                                                             [] { return NZUpDownControl::create(); });
        registry.registerProperty<NZUpDownControl>("NZUpDownControl", "value", number(&NZUpDownControl::setValue));
        registry.registerClass<NZColourBlockView, ui::View>("NZColourBlockView", "View",
                                                            [] { return NZColourBlockView::create(); });
        registry.registerProperty<NZColourBlockView>("NZColourBlockView", "cornerRadius",
                                                     number(&NZColourBlockView::setCornerRadius));
        return true;
    }();
    (void)registered;
}

} // namespace zm
