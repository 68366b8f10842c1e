#include "tools/components-harness/TextStyleTrial.h"

#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include <algorithm>
#include <ostream>

namespace zm {

namespace {

constexpr float kInset = 16;

std::ostream& operator<<(std::ostream& out, const gfx::Font& font) {
    return out << font.name() << " " << font.pointSize();
}

} // namespace

std::shared_ptr<TextStyleTrial> TextStyleTrial::create(std::ostream& log) {
    auto trial = std::shared_ptr<TextStyleTrial>(new TextStyleTrial(log));
    trial->setTitle("Text style");
    return trial;
}

void TextStyleTrial::viewDidLoad() {
    ui::View& root = *view();
    root.setBackgroundColor(core::Color::rgb255(235, 238, 242));
    m_sample = ui::Label::create();
    m_sample->setText("3x + 5 = 20\nThe quick brown fox");
    m_sample->setNumberOfLines(0);
    m_sample->setTextAlignment(gfx::TextAlignment::Center);
    root.addSubview(m_sample);
    showSample();

    const std::shared_ptr<NZTextStylePickerViewController> picker =
        NZTextStylePickerViewController::textStylePickerViewController();
    picker->setDelegate(std::static_pointer_cast<TextStyleTrial>(shared_from_this()));
    picker->setSelectedFont(m_custom.font);
    picker->setSelectedTextColour(m_custom.colour);
    picker->setDefaultSettingsSwitchValue(m_usesDefault);
    m_pickerNavigation = ui::NavigationController::create(picker);
    addChildViewController(m_pickerNavigation);
    root.addSubview(m_pickerNavigation->view());
    m_pickerNavigation->didMoveToParentViewController(this);
}

void TextStyleTrial::viewDidLayoutSubviews() {
    // The picker at the right, as wide as a tablet's popover where there is room.
    const core::Rect area = view()->bounds();
    const float pickerWidth = std::min(360.0f, area.width() * 0.6f);
    const float sampleWidth = area.width() - pickerWidth;
    m_sample->setFrame({kInset, kInset, std::max(0.0f, sampleWidth - 2 * kInset), std::max(0.0f, area.height() - 2 * kInset)});
    m_pickerNavigation->view()->setFrame({sampleWidth, 0, pickerWidth, area.height()});
}

void TextStyleTrial::showSample() {
    const Style& style = m_usesDefault ? m_default : m_custom;
    m_sample->setFont(style.font);
    m_sample->setTextColor(style.colour);
}

void TextStyleTrial::userSelectedFont(NZTextStylePickerViewController&, const gfx::Font& font) {
    m_log << "text style: font " << font << "\n";
    m_custom.font = font;
    showSample();
}

void TextStyleTrial::userSelectedTextColor(NZTextStylePickerViewController&, const core::Color& colour) {
    m_log << "text style: colour " << colour.description() << "\n";
    m_custom.colour = colour;
    showSample();
}

void TextStyleTrial::replaceDefaultStyleWithFont(NZTextStylePickerViewController&, const std::optional<gfx::Font>& font,
                                                 const std::optional<core::Color>& colour) {
    m_default = {font.value_or(m_default.font), colour.value_or(m_default.colour)};
    m_log << "text style: default " << m_default.font << ", " << m_default.colour.description() << "\n";
    m_usesDefault = true;
    showSample();
}

void TextStyleTrial::textStylePickerViewControllerIsDone(NZTextStylePickerViewController&) {
    m_log << "text style: done\n";
    if (ui::NavigationController* navigation = navigationController())
        navigation->popViewController(true);
}

void TextStyleTrial::textStylePickerViewControllerSelectedDefaultStyle(NZTextStylePickerViewController&) {
    m_log << "text style: default style\n";
    m_usesDefault = true;
    showSample();
}

void TextStyleTrial::textStylePickerViewControllerSelectedCustomStyle(NZTextStylePickerViewController&) {
    m_log << "text style: custom style\n";
    m_usesDefault = false;
    showSample();
}

} // namespace zm
