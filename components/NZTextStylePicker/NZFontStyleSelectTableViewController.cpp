#include "components/NZTextStylePicker/NZFontStyleSelectTableViewController.h"

#include "components/NZTextStylePicker/NZTextStylePickerClasses.h"
#include "platform/core/Collation.h"
#include "platform/core/Log.h"
#include "platform/gfx/FontRegistry.h"
#include "platform/ui/Label.h"

#include <cassert>

namespace zm {

namespace {

constexpr std::string_view kCellIdentifier = "FontStyleSelectTableCell";
constexpr float kSampleSize = 16;

} // namespace

std::shared_ptr<NZFontStyleSelectTableViewController> NZFontStyleSelectTableViewController::fromInterfaceFile() {
    return zm::fromInterfaceFile<NZFontStyleSelectTableViewController>("NZFontStyleSelectTableViewController");
}

std::shared_ptr<NZFontStyleSelectTableViewController> NZFontStyleSelectTableViewController::create() {
    return std::shared_ptr<NZFontStyleSelectTableViewController>(new NZFontStyleSelectTableViewController);
}

void NZFontStyleSelectTableViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    assert(!m_fontFamilyName.empty() && "self.fontFamilyName != nil");
    if (m_fontFamilyName.empty())
        core::log(core::LogLevel::Error, "font face list opened without a family: it lists nothing");
    if (title().empty())
        setTitle(m_fontFamilyName);
    m_fontNames = gfx::FontRegistry::fontNames(m_fontFamilyName);
    core::sortLocalizedCaseInsensitive(m_fontNames);
}

int NZFontStyleSelectTableViewController::numberOfRows(ui::TableView&, int) {
    return int(m_fontNames.size());
}

std::shared_ptr<ui::TableViewCell> NZFontStyleSelectTableViewController::cellForRow(ui::TableView& tableView,
                                                                                  const ui::IndexPath& indexPath) {
    std::shared_ptr<ui::TableViewCell> cell = tableView.dequeueReusableCell(kCellIdentifier);
    if (!cell)
        cell = ui::TableViewCell::create(ui::TableViewCell::Style::Default, std::string(kCellIdentifier));
    const std::string& name = m_fontNames[size_t(indexPath.row())];
    cell->textLabel().setText(name);
    cell->textLabel().setFont(gfx::Font::named(name, kSampleSize).value_or(gfx::Font::system(kSampleSize)));
    const bool current = m_selectedFont && m_selectedFont->name() == name;
    cell->setAccessoryType(current ? ui::TableViewCell::Accessory::Checkmark : ui::TableViewCell::Accessory::None);
    return cell;
}

void NZFontStyleSelectTableViewController::didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) {
    const std::optional<gfx::Font> font = gfx::Font::named(m_fontNames[size_t(indexPath.row())], kChosenFaceSize);
    if (!font)
        return;
    m_selectedFont = font;
    if (const auto delegate = m_delegate.lock())
        delegate->fontStyleSelectTableViewController(*this, *font);
    // Only the chosen row is drawn anew: an earlier mark stays until the list is drawn again.
    tableView.reloadRows({indexPath}, ui::RowAnimation::Fade);
}

} // namespace zm
