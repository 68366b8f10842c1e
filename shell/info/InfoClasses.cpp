#include "shell/info/InfoClasses.h"

#include "platform/ui/ClassRegistry.h"
#include "shell/info/InfoViewController.h"
#include "shell/info/MoreAppsViewController.h"

namespace zm {

void registerInfoClasses(ui::ClassRegistry& registry) {
    registry.registerClass<InfoViewController, ui::ViewController>(
        "InfoViewController", "ViewController", [] { return InfoViewController::create(); });
    registry.registerClass<MoreAppsViewController, ui::ViewController>(
        "MoreAppsViewController", "ViewController", [] { return MoreAppsViewController::create(); });
}

} // namespace zm
