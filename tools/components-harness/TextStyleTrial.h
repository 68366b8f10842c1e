#pragma once

#include "components/NZTextStylePicker/NZTextStylePickerViewController.h"
#include "platform/ui/ViewController.h"

#include <iosfwd>
#include <memory>

namespace ui {
class Label;
class NavigationController;
} // namespace ui

namespace zm {

// The text-style picker on trial, in a navigation controller of its own beside a sample text that
// follows the picker's reports: the default style while it is on, else the chosen font, size and
// colour. Each report is written to the log.
class TextStyleTrial : public ui::ViewController, public NZTextStylePickerViewControllerDelegate {
public:
    static std::shared_ptr<TextStyleTrial> create(std::ostream& log);

    void userSelectedFont(NZTextStylePickerViewController& picker, const gfx::Font& font) override;
    void userSelectedTextColor(NZTextStylePickerViewController& picker, const core::Color& colour) override;
    void replaceDefaultStyleWithFont(NZTextStylePickerViewController& picker, const std::optional<gfx::Font>& font,
                                     const std::optional<core::Color>& colour) override;
    void textStylePickerViewControllerIsDone(NZTextStylePickerViewController& picker) override;
    void textStylePickerViewControllerSelectedDefaultStyle(NZTextStylePickerViewController& picker) override;
    void textStylePickerViewControllerSelectedCustomStyle(NZTextStylePickerViewController& picker) override;

protected:
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;

private:
    struct Style {
        gfx::Font font;
        core::Color colour;
    };

    explicit TextStyleTrial(std::ostream& log)
        : m_log(log) {}

    void showSample();

    std::ostream& m_log;
    Style m_default{gfx::Font::system(24), core::Color::black()};
    Style m_custom = m_default;
    bool m_usesDefault = true;
    std::shared_ptr<ui::Label> m_sample;
    std::shared_ptr<ui::NavigationController> m_pickerNavigation;
};

} // namespace zm
