#include "longdivision/QVImageMaster.h"

#include "platform/gfx/Image.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "playground/views/Fonts.h"

#include <string_view>

namespace zm {

namespace {

std::shared_ptr<const gfx::Image> stretchable(std::string_view name, gfx::CapInsets insets) {
    const std::shared_ptr<const gfx::Image> image = ui::imageNamed(name);
    return image ? image->resizable(insets) : nullptr;
}

ui::TitleTextAttributes boldTitles(float size, core::Color color, core::Color shadow,
                                   std::optional<core::Size> shadowOffset) {
    return {fontNamed("HelveticaNeue-Bold", size), color, shadow, shadowOffset};
}

} // namespace

std::shared_ptr<const gfx::Image> QVImageMaster::unselectedSegmentImage() {
    return stretchable("segmentNotSelected.png", {14, 5, 14, 5});
}

std::shared_ptr<const gfx::Image> QVImageMaster::goButtonBackgroundImage() {
    return stretchable("goButton", {18, 5, 18, 5});
}

std::shared_ptr<const gfx::Image> QVImageMaster::whiteButtonBackgroundImage() {
    return stretchable("whiteButton", {22, 5, 22, 5});
}

std::shared_ptr<const gfx::Image> QVImageMaster::paperBackgroundResizable() {
    return stretchable("paperBackgroundResizable", {40, 40, 40, 40});
}

std::shared_ptr<const gfx::Image> QVImageMaster::paperBackgroundImage() {
    return stretchable("paperBackgroundNoBlue", {159, 239, 159, 239});
}

std::shared_ptr<const gfx::Image> QVImageMaster::paperBackgroundNoLinesImage() {
    return stretchable("paperBackgroundNoLinesResizable", {40, 40, 40, 40});
}

std::shared_ptr<const gfx::Image> QVImageMaster::blackBackButtonImage() {
    return stretchable("blackBackButton.png", {14, 16, 15, 6});
}

std::shared_ptr<const gfx::Image> QVImageMaster::bigSegmentImage() {
    return stretchable("bigSegment.png", {0, 10, 0, 10});
}

std::shared_ptr<ui::Button> QVImageMaster::makeGoButton() {
    auto button = ui::Button::create({0, 0, 110, 70});
    button->setTitle("\u2713");
    button->titleLabel().setFont(gfx::Font::system(44));
    button->setTitleColor(core::Color::white());
    button->setBackgroundImage(goButtonBackgroundImage());
    return button;
}

void QVImageMaster::setLongDivisionStyle() {
    using ui::AppearanceClass;
    using ui::ControlState;
    ui::Appearance& look = ui::Appearance::shared();
    const AppearanceClass toolbar = AppearanceClass::Toolbar;
    const AppearanceClass segmented = AppearanceClass::SegmentedControl;
    look.setBackgroundImage({toolbar, {}, ControlState::Normal}, ui::imageNamed("toolbarSlice"));
    look.setBackgroundImage({AppearanceClass::BarButtonItem, toolbar, ControlState::Normal},
                            unselectedSegmentImage());
    look.setBackgroundImage({segmented, toolbar, ControlState::Normal}, unselectedSegmentImage());
    look.setBackgroundImage({segmented, {}, ControlState::Selected},
                            stretchable("segmentSelected.png", {15, 5, 15, 5}));

    // Small bold titles: on a phone only for the segmented controls of toolbars, on a tablet for all.
    const std::optional<AppearanceClass> titled =
        ui::Device::current().isTablet() ? std::nullopt : std::optional(toolbar);
    look.setTitleTextAttributes({segmented, titled, ControlState::Selected},
                                boldTitles(12, core::Color::black(), core::Color::white(1, 0.31f), core::Size{0, 1}));
    look.setTitleTextAttributes({segmented, titled, ControlState::Normal},
                                boldTitles(12, core::Color::white(), core::Color::black().withAlpha(0.31f), {}));
    const ui::TitleTextAttributes large =
        boldTitles(18, core::Color::white(), core::Color::black().withAlpha(0.31f), core::Size{0, 1});
    if (!ui::Device::current().isTablet())
        look.setTitleTextAttributes({segmented, {}, ControlState::Normal}, large);
    ui::TitleTextAttributes disabled = large;
    disabled.color = core::Color::white(1, 0.3f);
    look.setTitleTextAttributes({segmented, {}, ControlState::Disabled}, disabled);

    look.setDividerImage({segmented, {}, ControlState::Normal}, ui::imageNamed("bigDividerImage"));
    look.setBackgroundImage({segmented, {}, ControlState::Normal}, bigSegmentImage());
}

} // namespace zm
