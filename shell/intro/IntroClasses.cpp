#include "shell/intro/IntroClasses.h"

#include "platform/ui/ClassRegistry.h"
#include "shell/intro/CustomPageControlView.h"
#include "shell/intro/IntroViewController.h"
#include "shell/intro/PlayIntroCollectionViewCell.h"

namespace zm {

void registerIntroClasses(ui::ClassRegistry& registry) {
    registry.registerClass<IntroViewController, ui::ViewController>(
        "IntroViewController", "ViewController", [] { return IntroViewController::create(); });
    registry.registerClass<CustomPageControlView, ui::View>(
        "CustomPageControlView", "View", [] { return CustomPageControlView::createFromInterfaceFile(); });
    registry.registerClass<FirstIntroCell, ui::CollectionViewCell>("FirstIntroCell", "CollectionViewCell",
                                                                   [] { return FirstIntroCell::create(); });
    registry.registerClass<LastIntroCell, ui::CollectionViewCell>("LastIntroCell", "CollectionViewCell",
                                                                  [] { return LastIntroCell::create(); });
    registry.registerClass<DemoSuccessCell, ui::CollectionViewCell>("DemoSuccessCell", "CollectionViewCell",
                                                                    [] { return DemoSuccessCell::create(); });
    registry.registerClass<DemoFailCell, ui::CollectionViewCell>("DemoFailCell", "CollectionViewCell",
                                                                 [] { return DemoFailCell::create(); });
}

} // namespace zm
