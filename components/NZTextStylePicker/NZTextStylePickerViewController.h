#pragma once

#include "components/NZTextStylePicker/NZColourSelectTableViewController.h"
#include "components/NZTextStylePicker/NZFontSelectTableViewController.h"
#include "platform/gfx/Font.h"
#include "platform/ui/TableViewController.h"

#include <memory>
#include <optional>
#include <vector>

namespace ui {
class BarButtonItem;
class Label;
class Switch;
} // namespace ui

namespace zm {

class NZColourBlockView;
class NZTextStylePickerViewController;
class NZUpDownControl;

// Hears every choice made on a text-style picker. Every operation is optional.
class NZTextStylePickerViewControllerDelegate {
public:
    virtual ~NZTextStylePickerViewControllerDelegate() = default;

    // The font or its size changed.
    virtual void userSelectedFont(NZTextStylePickerViewController&, const gfx::Font&) {}
    // The colour changed.
    virtual void userSelectedTextColor(NZTextStylePickerViewController&, const core::Color&) {}
    // The current font and colour are to be the default style.
    virtual void replaceDefaultStyleWithFont(NZTextStylePickerViewController&, const std::optional<gfx::Font>&,
                                             const std::optional<core::Color>&) {}
    virtual void textStylePickerViewControllerIsDone(NZTextStylePickerViewController&) {}
    // The default-style switch was turned on, or off.
    virtual void textStylePickerViewControllerSelectedDefaultStyle(NZTextStylePickerViewController&) {}
    virtual void textStylePickerViewControllerSelectedCustomStyle(NZTextStylePickerViewController&) {}
};

// A small table for choosing how text looks: whether the default style is used, and otherwise a size
// (a stepper, 8 to 72 points), a font (the family list) and a colour (the colour list), with a row
// that makes the current choice the default. While the default style is on, the other rows are dimmed
// and take no touches. Every choice goes to the delegate; the picker stores nothing.
//
// Its rows come from the interface file "NZTextStylePickerViewController"; it must sit in a
// navigation controller to open the lists.
//
// Main thread only.
class NZTextStylePickerViewController : public ui::TableViewController,
                                        public NZFontSelectTableViewControllerDelegate,
                                        public NZColourSelectTableViewControllerDelegate {
public:
    static constexpr int kMinimumFontSize = 8;
    static constexpr int kMaximumFontSize = 72;

    // A new picker from its interface file.
    static std::shared_ptr<NZTextStylePickerViewController> textStylePickerViewController();
    // The interface-file way of making one.
    static std::shared_ptr<NZTextStylePickerViewController> create();

    void setDelegate(std::weak_ptr<NZTextStylePickerViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    bool defaultSettingsSwitchValue() const { return m_defaultSettingsSwitchValue; }
    void setDefaultSettingsSwitchValue(bool on) { m_defaultSettingsSwitchValue = on; }
    const std::optional<gfx::Font>& selectedFont() const { return m_selectedFont; }
    void setSelectedFont(std::optional<gfx::Font> font) { m_selectedFont = font; }
    const std::optional<core::Color>& selectedTextColour() const { return m_selectedTextColour; }
    void setSelectedTextColour(std::optional<core::Color> colour) { m_selectedTextColour = colour; }

    // The rows, as the interface file made them (null until the view loads).
    ui::TableViewCell* defaultSettingsCell() const { return m_defaultSettingsCell.get(); }
    ui::TableViewCell* sizeCell() const { return m_sizeCell.get(); }
    ui::TableViewCell* fontCell() const { return m_fontCell.get(); }
    ui::TableViewCell* colourCell() const { return m_colourCell.get(); }
    ui::TableViewCell* applyAsDefaultCell() const { return m_applyAsDefaultCell.get(); }
    ui::Switch* defaultSettingsSwitch() const { return m_defaultSettingsSwitch.get(); }
    NZUpDownControl* fontSizeControl() const { return m_fontSizeControl.get(); }
    ui::Label* fontNameLabel() const { return m_fontNameLabel.get(); }
    NZColourBlockView* colourView() const { return m_colourView.get(); }

    // The font's name in its label, its size (cut to a whole number) on the stepper.
    void updateFontColourSelections();
    // The stepper moved: the same font at the stepper's size.
    void fontSizeValueChanged();
    // The default-style switch was flipped.
    void defaultTextSettingsAction();
    // The apply-as-default row: the delegate hears the current style, which becomes the default.
    void replaceDefaultSettings();
    void doneAction();
    void enableTextOptionCells();
    void disableTextOptionCells();

    void colourSelectTableViewController(NZColourSelectTableViewController& list, const core::Color& colour) override;
    void fontSelectTableViewController(NZFontSelectTableViewController& list, const gfx::Font& font) override;

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;

    int numberOfSections(ui::TableView& tableView) override;
    int numberOfRows(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    std::optional<float> heightForRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    std::optional<ui::IndexPath> willSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void willDisplayCell(ui::TableView& tableView, ui::TableViewCell& cell, const ui::IndexPath& indexPath) override;

protected:
    NZTextStylePickerViewController() = default;

    void viewDidLoad() override;

private:
    // The size, font and colour rows, which the default style dims.
    std::vector<ui::TableViewCell*> optionCells() const;
    void showOptionCells(bool enabled, bool restoreAccessories);
    ui::TableViewCell* cellAt(const ui::IndexPath& indexPath) const;
    std::shared_ptr<NZTextStylePickerViewController> self();

    std::weak_ptr<NZTextStylePickerViewControllerDelegate> m_delegate;
    bool m_defaultSettingsSwitchValue = false;
    std::optional<gfx::Font> m_selectedFont;
    std::optional<core::Color> m_selectedTextColour;
    std::vector<std::vector<std::shared_ptr<ui::TableViewCell>>> m_tableLayout;
    std::shared_ptr<ui::TableViewCell> m_defaultSettingsCell;
    std::shared_ptr<ui::TableViewCell> m_sizeCell;
    std::shared_ptr<ui::TableViewCell> m_fontCell;
    std::shared_ptr<ui::TableViewCell> m_colourCell;
    std::shared_ptr<ui::TableViewCell> m_applyAsDefaultCell;
    std::shared_ptr<ui::Switch> m_defaultSettingsSwitch;
    std::shared_ptr<NZUpDownControl> m_fontSizeControl;
    std::shared_ptr<ui::Label> m_fontNameLabel;
    std::shared_ptr<NZColourBlockView> m_colourView;
    std::shared_ptr<ui::BarButtonItem> m_doneButtonItem;
};

} // namespace zm
