#include "components/NZTextStylePicker/NZTextStylePickerViewController.h"

#include "components/NZTextStylePicker/NZColourBlockView.h"
#include "components/NZTextStylePicker/NZTextStylePickerClasses.h"
#include "components/NZTextStylePicker/NZUpDownControl.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/Switch.h"
#include "platform/ui/ViewAnimation.h"

#include <cmath>

namespace zm {

namespace {

// How the rows look while the default style is on.
constexpr float kDimmedAlpha = 0.4f;

} // namespace

std::shared_ptr<NZTextStylePickerViewController> NZTextStylePickerViewController::textStylePickerViewController() {
    return fromInterfaceFile<NZTextStylePickerViewController>("NZTextStylePickerViewController");
}

std::shared_ptr<NZTextStylePickerViewController> NZTextStylePickerViewController::create() {
    return std::shared_ptr<NZTextStylePickerViewController>(new NZTextStylePickerViewController);
}

std::shared_ptr<NZTextStylePickerViewController> NZTextStylePickerViewController::self() {
    return std::static_pointer_cast<NZTextStylePickerViewController>(shared_from_this());
}

void NZTextStylePickerViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.strong("defaultSettingsCell", m_defaultSettingsCell);
    outlets.strong("sizeCell", m_sizeCell);
    outlets.strong("fontCell", m_fontCell);
    outlets.strong("colourCell", m_colourCell);
    outlets.strong("applyAsDefaultCell", m_applyAsDefaultCell);
    outlets.strong("defaultSettingsSwitch", m_defaultSettingsSwitch);
    outlets.strong("fontSizeControl", m_fontSizeControl);
    outlets.strong("fontNameLabel", m_fontNameLabel);
    outlets.strong("colourView", m_colourView);
    outlets.strong("doneButtonItem", m_doneButtonItem);
    TableViewController::connectOutlets(outlets);
}

std::function<void()> NZTextStylePickerViewController::actionNamed(std::string_view name) {
    const std::weak_ptr<NZTextStylePickerViewController> weak = self();
    const auto run = [weak](void (NZTextStylePickerViewController::*action)()) {
        return [weak, action] {
            if (const auto picker = weak.lock())
                ((*picker).*action)();
        };
    };
    if (name == "doneAction")
        return run(&NZTextStylePickerViewController::doneAction);
    if (name == "defaultTextSettingsAction:")
        return run(&NZTextStylePickerViewController::defaultTextSettingsAction);
    if (name == "fontSizeValueChanged:")
        return run(&NZTextStylePickerViewController::fontSizeValueChanged);
    return TableViewController::actionNamed(name);
}

void NZTextStylePickerViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    setTitle("Text Style");
    if (m_fontSizeControl) {
        m_fontSizeControl->setMinimumAllowedValue(kMinimumFontSize);
        m_fontSizeControl->setMaximumAllowedValue(kMaximumFontSize);
    }
    updateFontColourSelections();
    m_tableLayout.clear();
    for (const std::vector<std::shared_ptr<ui::TableViewCell>>& section :
         {std::vector{m_defaultSettingsCell}, std::vector{m_sizeCell, m_fontCell, m_colourCell},
          std::vector{m_applyAsDefaultCell}}) {
        std::vector<std::shared_ptr<ui::TableViewCell>> rows;
        for (const std::shared_ptr<ui::TableViewCell>& cell : section)
            if (cell)
                rows.push_back(cell);
        if (!rows.empty())
            m_tableLayout.push_back(std::move(rows));
    }
    // A tablet shows the picker beside what it styles; a phone needs a way back.
    if (!ui::Device::current().isTablet())
        setRightBarButtonItem(m_doneButtonItem);
}

// Selections.

void NZTextStylePickerViewController::updateFontColourSelections() {
    if (m_fontNameLabel)
        m_fontNameLabel->setText(m_selectedFont ? std::string(m_selectedFont->name()) : std::string());
    if (m_fontSizeControl && m_selectedFont)
        m_fontSizeControl->setValue(std::int32_t(std::trunc(m_selectedFont->pointSize())));
}

void NZTextStylePickerViewController::fontSizeValueChanged() {
    if (!m_fontSizeControl)
        return;
    const auto size = float(m_fontSizeControl->value());
    m_selectedFont = m_selectedFont ? m_selectedFont->withSize(size) : gfx::Font::system(size);
    if (const auto delegate = m_delegate.lock())
        delegate->userSelectedFont(*this, *m_selectedFont);
}

void NZTextStylePickerViewController::colourSelectTableViewController(NZColourSelectTableViewController&,
                                                                      const core::Color& colour) {
    m_selectedTextColour = colour;
    if (m_colourView)
        m_colourView->setColour(colour);
    if (const auto delegate = m_delegate.lock())
        delegate->userSelectedTextColor(*this, colour);
}

void NZTextStylePickerViewController::fontSelectTableViewController(NZFontSelectTableViewController&,
                                                                    const gfx::Font& font) {
    m_selectedFont = font;
    if (m_fontNameLabel)
        m_fontNameLabel->setText(std::string(font.name()));
    if (const auto delegate = m_delegate.lock())
        delegate->userSelectedFont(*this, font);
}

void NZTextStylePickerViewController::defaultTextSettingsAction() {
    m_defaultSettingsSwitchValue = m_defaultSettingsSwitch && m_defaultSettingsSwitch->isOn();
    const auto delegate = m_delegate.lock();
    if (m_defaultSettingsSwitchValue) {
        if (delegate)
            delegate->textStylePickerViewControllerSelectedDefaultStyle(*this);
        disableTextOptionCells();
    } else {
        if (delegate)
            delegate->textStylePickerViewControllerSelectedCustomStyle(*this);
        enableTextOptionCells();
    }
    updateFontColourSelections();
}

void NZTextStylePickerViewController::replaceDefaultSettings() {
    if (const auto delegate = m_delegate.lock())
        delegate->replaceDefaultStyleWithFont(*this, m_selectedFont, m_selectedTextColour);
    m_defaultSettingsSwitchValue = true;
    if (m_defaultSettingsSwitch)
        m_defaultSettingsSwitch->setOn(true);
    disableTextOptionCells();
}

void NZTextStylePickerViewController::doneAction() {
    if (const auto delegate = m_delegate.lock())
        delegate->textStylePickerViewControllerIsDone(*this);
}

// The option rows.

std::vector<ui::TableViewCell*> NZTextStylePickerViewController::optionCells() const {
    std::vector<ui::TableViewCell*> cells;
    for (const std::shared_ptr<ui::TableViewCell>& cell : {m_sizeCell, m_fontCell, m_colourCell})
        if (cell)
            cells.push_back(cell.get());
    return cells;
}

// The size, font and colour rows fade their content and the apply-as-default row fades whole; dimmed
// rows take no touches and show no disclosure.
void NZTextStylePickerViewController::showOptionCells(bool enabled, bool restoreAccessories) {
    const float alpha = enabled ? 1 : kDimmedAlpha;
    for (ui::TableViewCell* cell : optionCells()) {
        cell->setUserInteractionEnabled(enabled);
        cell->contentView().setAlpha(alpha);
        if (!enabled)
            cell->setAccessoryType(ui::TableViewCell::Accessory::None);
        else if (restoreAccessories && cell != m_sizeCell.get())
            cell->setAccessoryType(ui::TableViewCell::Accessory::DisclosureIndicator);
    }
    if (m_applyAsDefaultCell) {
        m_applyAsDefaultCell->setAlpha(alpha);
        m_applyAsDefaultCell->setUserInteractionEnabled(enabled);
    }
}

void NZTextStylePickerViewController::enableTextOptionCells() {
    ui::animate({}, [this] { showOptionCells(true, true); });
}

void NZTextStylePickerViewController::disableTextOptionCells() {
    ui::animate({}, [this] { showOptionCells(false, false); });
}

// The table.

ui::TableViewCell* NZTextStylePickerViewController::cellAt(const ui::IndexPath& indexPath) const {
    if (indexPath.section < 0 || size_t(indexPath.section) >= m_tableLayout.size())
        return nullptr;
    const std::vector<std::shared_ptr<ui::TableViewCell>>& rows = m_tableLayout[size_t(indexPath.section)];
    if (indexPath.row() < 0 || size_t(indexPath.row()) >= rows.size())
        return nullptr;
    return rows[size_t(indexPath.row())].get();
}

int NZTextStylePickerViewController::numberOfSections(ui::TableView&) {
    return int(m_tableLayout.size());
}

int NZTextStylePickerViewController::numberOfRows(ui::TableView&, int section) {
    return section >= 0 && size_t(section) < m_tableLayout.size() ? int(m_tableLayout[size_t(section)].size()) : 0;
}

std::shared_ptr<ui::TableViewCell> NZTextStylePickerViewController::cellForRow(ui::TableView&,
                                                                             const ui::IndexPath& indexPath) {
    ui::TableViewCell* cell = cellAt(indexPath);
    return cell ? std::static_pointer_cast<ui::TableViewCell>(cell->shared_from_this()) : nullptr;
}

std::optional<float> NZTextStylePickerViewController::heightForRow(ui::TableView&, const ui::IndexPath& indexPath) {
    const ui::TableViewCell* cell = cellAt(indexPath);
    return cell ? std::optional(cell->frame().height()) : std::nullopt;
}

std::optional<ui::IndexPath> NZTextStylePickerViewController::willSelectRow(ui::TableView&,
                                                                          const ui::IndexPath& indexPath) {
    const ui::TableViewCell* cell = cellAt(indexPath);
    if (!cell || cell == m_sizeCell.get() || cell == m_defaultSettingsCell.get())
        return std::nullopt;
    return indexPath;
}

void NZTextStylePickerViewController::didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) {
    const ui::TableViewCell* cell = cellAt(indexPath);
    ui::NavigationController* navigation = navigationController();
    if (cell == m_fontCell.get()) {
        tableView.deselectRow(indexPath, true);
        const std::shared_ptr<NZFontSelectTableViewController> list = NZFontSelectTableViewController::fromInterfaceFile();
        list->setDelegate(self());
        list->setSelectedFont(m_selectedFont);
        if (navigation)
            navigation->pushViewController(list, true);
    } else if (cell == m_colourCell.get()) {
        tableView.deselectRow(indexPath, true);
        const std::shared_ptr<NZColourSelectTableViewController> list =
            NZColourSelectTableViewController::fromInterfaceFile();
        list->setDelegate(self());
        list->setSelectedColour(m_selectedTextColour);
        if (navigation)
            navigation->pushViewController(list, true);
    } else if (cell == m_applyAsDefaultCell.get()) {
        replaceDefaultSettings();
        tableView.deselectRow(indexPath, true);
    }
}

void NZTextStylePickerViewController::willDisplayCell(ui::TableView&, ui::TableViewCell&, const ui::IndexPath&) {
    if (m_colourView)
        m_colourView->setColour(m_selectedTextColour);
    showOptionCells(!m_defaultSettingsSwitchValue, false);
    if (m_defaultSettingsSwitch)
        m_defaultSettingsSwitch->setOn(m_defaultSettingsSwitchValue);
}

} // namespace zm
