#include "platform/ui/PlatformClasses.h"

#include "platform/gfx/Font.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/WebView.h"

namespace ui {

namespace property {

core::Error expected(std::string_view form) {
    return core::Error{"ui.property", 0, "expected " + std::string(form), {}};
}

core::Result<ControlState> controlState(std::string_view name) {
    static const std::pair<std::string_view, ControlState> states[] = {
        {"normal", ControlState::Normal},
        {"highlighted", ControlState::Highlighted},
        {"disabled", ControlState::Disabled},
        {"selected", ControlState::Selected},
    };
    ControlState state = ControlState::Normal;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('|', start), name.size());
        const std::string_view part = name.substr(start, end - start);
        const auto found = std::find_if(std::begin(states), std::end(states),
                                        [&](const auto& entry) { return entry.first == part; });
        if (found == std::end(states))
            return expected("control states (normal, highlighted, disabled, selected), not \"" +
                            std::string(part) + "\"");
        state = state | found->second;
        start = end + 1;
    }
    return state;
}

core::Status perState(const core::Value& value,
                      const std::function<core::Status(ControlState, const core::Value&)>& apply) {
    const core::Dictionary* states = value.asDictionary();
    if (!states)
        return expected("an object of control states to values");
    for (const core::Dictionary::Entry& entry : states->entries()) {
        core::Result<ControlState> state = controlState(entry.key);
        if (!state)
            return state.error();
        if (core::Status applied = apply(*state, entry.value); !applied)
            return applied;
    }
    return {};
}

namespace {

bool allNumbers(const core::Array& values) {
    return std::all_of(values.begin(), values.end(),
                       [](const core::Value& value) { return value.isNumber(); });
}

} // namespace

core::Result<EdgeInsets> edgeInsets(const core::Value& value) {
    const core::Array* edges = value.asArray();
    if (!edges || edges->size() != 4 || !allNumbers(*edges))
        return expected("[top, left, bottom, right]");
    return EdgeInsets{(*edges)[0].floatValue(), (*edges)[1].floatValue(), (*edges)[2].floatValue(),
                      (*edges)[3].floatValue()};
}

core::Result<core::Size> size(const core::Value& value) {
    const core::Array* sides = value.asArray();
    if (!sides || sides->size() != 2 || !allNumbers(*sides) || (*sides)[0].floatValue() < 0 ||
        (*sides)[1].floatValue() < 0)
        return expected("[width, height]");
    return core::Size{(*sides)[0].floatValue(), (*sides)[1].floatValue()};
}

} // namespace property

namespace {

using namespace property;

void registerViews(ClassRegistry& registry) {
    registry.registerClass<View>("View", "", [] { return View::create(); });
    registry.registerProperty<View>("View", "backgroundColor", color(&View::setBackgroundColor));
    registry.registerProperty<View>("View", "alpha", number(&View::setAlpha));
    registry.registerProperty<View>("View", "hidden", flag(&View::setHidden));
    registry.registerProperty<View>("View", "tag", number(&View::setTag));
    registry.registerProperty<View>("View", "userInteractionEnabled", flag(&View::setUserInteractionEnabled));
    registry.registerProperty<View>("View", "multipleTouchEnabled", flag(&View::setMultipleTouchEnabled));
    registry.registerProperty<View>("View", "exclusiveTouch", flag(&View::setExclusiveTouch));
    registry.registerProperty<View>("View", "clipsToBounds", flag(&View::setClipsToBounds));
    registry.registerProperty<View>("View", "autoresizesSubviews", flag(&View::setAutoresizesSubviews));
    registry.registerProperty<View>("View", "contentMode",
                                    choice(&View::setContentMode, {{"scaleToFill", ContentMode::ScaleToFill},
                                                                   {"redraw", ContentMode::Redraw}}));

    registry.registerClass<Label, View>("Label", "View", [] { return Label::create(); });
    registry.registerProperty<Label>("Label", "text", text(&Label::setText));
    registry.registerProperty<Label>("Label", "font", font(&Label::setFont));
    registry.registerProperty<Label>("Label", "textColor", color(&Label::setTextColor));
    registry.registerProperty<Label>("Label", "textAlignment", alignment(&Label::setTextAlignment));
    registry.registerProperty<Label>("Label", "numberOfLines", number(&Label::setNumberOfLines));
    registry.registerProperty<Label>("Label", "adjustsFontSizeToFitWidth",
                                     flag(&Label::setAdjustsFontSizeToFitWidth));
    registry.registerProperty<Label>("Label", "minimumScaleFactor", number(&Label::setMinimumScaleFactor));

    registry.registerClass<ActivityIndicatorView, View>("ActivityIndicatorView", "View",
                                                        [] { return ActivityIndicatorView::create(); });
    registry.registerProperty<ActivityIndicatorView>(
        "ActivityIndicatorView", "style",
        choice(&ActivityIndicatorView::setStyle, {{"whiteLarge", ActivityIndicatorView::Style::WhiteLarge},
                                                  {"white", ActivityIndicatorView::Style::White},
                                                  {"gray", ActivityIndicatorView::Style::Gray}}));
    registry.registerProperty<ActivityIndicatorView>("ActivityIndicatorView", "color",
                                                     color(&ActivityIndicatorView::setColor));
    registry.registerProperty<ActivityIndicatorView>("ActivityIndicatorView", "hidesWhenStopped",
                                                     flag(&ActivityIndicatorView::setHidesWhenStopped));
    registry.registerProperty<ActivityIndicatorView>(
        "ActivityIndicatorView", "animating",
        [](ActivityIndicatorView& spinner, const core::Value& value, PropertyContext&) -> core::Status {
            if (value.kind() != core::Value::Kind::Bool)
                return expected("true or false");
            value.boolValue() ? spinner.startAnimating() : spinner.stopAnimating();
            return {};
        });

    registry.registerClass<WebView, View>("WebView", "View", [] { return WebView::create(); });
    registry.registerClass<ImageView, View>("ImageView", "View", [] { return ImageView::create(); });
    registry.registerProperty<ImageView>("ImageView", "image", image(&ImageView::setImage));
    registry.registerProperty<ImageView>("ImageView", "highlightedImage",
                                         image(&ImageView::setHighlightedImage));
}

void registerControls(ClassRegistry& registry) {
    // Controls are abstract: only their subclasses are made.
    registry.registerClass<Control, View>("Control", "View", [] { return std::shared_ptr<Control>(); });
    registry.registerProperty<Control>("Control", "enabled", flag(&Control::setEnabled));
    registry.registerProperty<Control>("Control", "selected", flag(&Control::setSelected));

    registry.registerClass<Button, Control>("Button", "Control", [] { return Button::create(); });
    registry.registerProperty<Button>(
        "Button", "title", [](Button& button, const core::Value& value, PropertyContext&) {
            return perState(value, [&](ControlState state, const core::Value& title) -> core::Status {
                if (!title.asString())
                    return expected("a text");
                button.setTitle(*title.asString(), state);
                return {};
            });
        });
    registry.registerProperty<Button>(
        "Button", "titleColor", [](Button& button, const core::Value& value, PropertyContext& context) {
            return perState(value, [&](ControlState state, const core::Value& entry) -> core::Status {
                core::Result<core::Color> color = context.color(entry);
                if (!color)
                    return color.error();
                button.setTitleColor(*color, state);
                return {};
            });
        });
    registry.registerProperty<Button>(
        "Button", "backgroundImage", [](Button& button, const core::Value& value, PropertyContext& context) {
            return perState(value, [&](ControlState state, const core::Value& entry) -> core::Status {
                core::Result<std::shared_ptr<const gfx::Image>> image = context.image(entry);
                if (!image)
                    return image.error();
                button.setBackgroundImage(*image, state);
                return {};
            });
        });
    registry.registerProperty<Button>(
        "Button", "font",
        [](Button& button, const core::Value& value, PropertyContext& context) -> core::Status {
            core::Result<gfx::Font> font = context.font(value);
            if (!font)
                return font.error();
            button.titleLabel().setFont(*font);
            return {};
        });
    registry.registerProperty<Button>("Button", "contentEdgeInsets", insets(&Button::setContentEdgeInsets));
    registry.registerProperty<Button>("Button", "titleEdgeInsets", insets(&Button::setTitleEdgeInsets));

    registry.registerClass<Slider, Control>("Slider", "Control", [] { return Slider::create(); });
    registry.registerProperty<Slider>("Slider", "minimumValue", number(&Slider::setMinimumValue));
    registry.registerProperty<Slider>("Slider", "maximumValue", number(&Slider::setMaximumValue));
    registry.registerProperty<Slider>(
        "Slider", "value", [](Slider& slider, const core::Value& value, PropertyContext&) -> core::Status {
            if (!value.isNumber())
                return expected("a number");
            slider.setValue(value.floatValue());
            return {};
        });
    registry.registerProperty<Slider>("Slider", "continuous", flag(&Slider::setContinuous));

    registry.registerClass<Switch, Control>("Switch", "Control", [] { return Switch::create(); });
    registry.registerProperty<Switch>("Switch", "on", flag(&Switch::setOn));
    registry.registerProperty<Switch>("Switch", "onTintColor", color(&Switch::setOnTintColor));
    registry.registerProperty<Slider>("Slider", "minimumTrackTintColor",
                                      color(&Slider::setMinimumTrackTintColor));
}

} // namespace

void registerPlatformClasses(ClassRegistry& registry) {
    registerViews(registry);
    registerControls(registry);
    registerScrollingClasses(registry);
    registerTextClasses(registry);
    registerBarClasses(registry);
    registry.registerClass<ViewController>("ViewController", "", [] { return ViewController::create(); });
}

} // namespace ui
