#include "shell/playground/PlaygroundScreenClasses.h"

#include "platform/ui/ClassRegistry.h"
#include "shell/playground/PlaygroundViewController.h"
#include "shell/progression/CircleDrawerView.h"
#include "shell/progression/TopicProgressionView.h"

namespace zm {

void registerPlaygroundScreenClasses(ui::ClassRegistry& registry) {
    registry.registerClass<TopicProgressionView, ui::View>("TopicProgressionView", "View",
                                                           [] { return TopicProgressionView::create(); });
    registry.registerClass<CircleDrawerView, ui::View>("CircleDrawerView", "View",
                                                       [] { return CircleDrawerView::create(); });
    registry.registerClass<PlaygroundViewController, ui::ViewController>(
        std::string(PlaygroundViewController::kInterfaceName), "ViewController",
        [] { return PlaygroundViewController::create(); });
}

} // namespace zm
