#include "shell/app/Bundle.h"

#include "platform/core/FileLocations.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/Device.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/PlatformClasses.h"
#include "playground/PlaygroundView.h"
#include "shell/container/BackgroundView.h"
#include "shell/controls/FlatPillButton.h"
#include "shell/home/HomeViewController.h"
#include "shell/info/InfoClasses.h"
#include "shell/intro/IntroClasses.h"
#include "shell/playground/PlaygroundScreenClasses.h"
#include "shell/screens/BackArrowView.h"

namespace zm {

gfx::ImageLibrary& bundleImages() {
    return ui::bundleImages();
}

std::shared_ptr<const gfx::Image> imageNamed(std::string_view name) {
    return ui::imageNamed(name);
}

void registerShellClasses(ui::ClassRegistry& registry) {
    registry.registerClass<BackgroundView, ui::View>("BackgroundView", "View",
                                                     [] { return BackgroundView::create(); });
    registry.registerClass<BackArrowView, ui::View>("BackArrowView", "View",
                                                    [] { return BackArrowView::create(); });
    registry.registerClass<FlatPillButton, ui::Button>(
        "FlatPillButton", "Button", [] { return FlatPillButton::createFromInterfaceFile(); });
    registry.registerProperty<FlatPillButton>("FlatPillButton", "bold",
                                              ui::property::flag(&FlatPillButton::setBold));
    registry.registerProperty<FlatPillButton>("FlatPillButton", "thin",
                                              ui::property::flag(&FlatPillButton::setThin));
    // The playground host of the home cards, made the way interface files make it.
    registry.registerClass<PlaygroundView, ui::View>("PlaygroundView", "View",
                                                     [] { return PlaygroundView::create({}); });
    registry.registerClass<HomeViewController, ui::ViewController>(
        "HomeViewController", "ViewController", [] { return HomeViewController::create(); });
    registerInfoClasses(registry);
    registerIntroClasses(registry);
    registerPlaygroundScreenClasses(registry);
}

void installBundle() {
    registerShellClasses(ui::ClassRegistry::shared());
    ui::InterfaceLoader::setShared({core::FileLocations::shared().resources / "interface",
                                    ui::Device::current().idiom, &bundleImages()});
}

} // namespace zm
