#include "components/NZTextStylePicker/NZFontSelectTableViewController.h"

#include "components/NZTextStylePicker/NZListMarks.h"
#include "components/NZTextStylePicker/NZTextStylePickerClasses.h"
#include "platform/core/Collation.h"
#include "platform/gfx/FontRegistry.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace zm {

namespace {

constexpr std::string_view kCellIdentifier = "FontSelectTableCell";
constexpr int kMarkTag = 1001;
constexpr int kFamilyTag = 1002;
constexpr float kSampleSize = 16;

} // namespace

std::shared_ptr<NZFontSelectTableViewController> NZFontSelectTableViewController::fromInterfaceFile() {
    return zm::fromInterfaceFile<NZFontSelectTableViewController>("NZFontSelectTableViewController");
}

std::shared_ptr<NZFontSelectTableViewController> NZFontSelectTableViewController::create() {
    return std::shared_ptr<NZFontSelectTableViewController>(new NZFontSelectTableViewController);
}

void NZFontSelectTableViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    if (title().empty())
        setTitle("Font");
    m_fontFamilyNames = gfx::FontRegistry::familyNames();
    core::sortLocalizedCaseInsensitive(m_fontFamilyNames);
}

int NZFontSelectTableViewController::numberOfRows(ui::TableView&, int) {
    return int(m_fontFamilyNames.size());
}

std::shared_ptr<ui::TableViewCell> NZFontSelectTableViewController::cellForRow(ui::TableView& tableView,
                                                                             const ui::IndexPath& indexPath) {
    std::shared_ptr<ui::TableViewCell> cell = tableView.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = ui::TableViewCell::create(ui::TableViewCell::Style::Default, std::string(kCellIdentifier));
        const core::Size size = cell->bounds().size;
        auto mark = makeMarkLabel({10, 5, 25, size.height - 5});
        mark->setTag(kMarkTag);
        cell->contentView().addSubview(std::move(mark));
        auto family = ui::Label::create({35, 5, size.width - 70, size.height - 5});
        // As wide as the row, less the room beside it.
        family->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
        family->setTag(kFamilyTag);
        cell->contentView().addSubview(std::move(family));
    }
    const std::string& family = m_fontFamilyNames[size_t(indexPath.row())];
    auto* label = static_cast<ui::Label*>(cell->viewWithTag(kFamilyTag));
    label->setText(family);
    label->setFont(gfx::Font::named(family, kSampleSize).value_or(gfx::Font::system(kSampleSize)));
    cell->setAccessoryType(gfx::FontRegistry::fontNames(family).size() >= 2
                               ? ui::TableViewCell::Accessory::DetailDisclosureButton
                               : ui::TableViewCell::Accessory::None);
    const bool current = m_selectedFont && m_selectedFont->familyName() == family;
    static_cast<ui::Label*>(cell->viewWithTag(kMarkTag))->setText(std::string(current ? kCheckMark : ""));
    return cell;
}

void NZFontSelectTableViewController::didSelectRow(ui::TableView&, const ui::IndexPath& indexPath) {
    // The family's own font, at the size of the font it replaces.
    const float size = m_selectedFont ? m_selectedFont->pointSize() : 0;
    if (const std::optional<gfx::Font> font = gfx::Font::named(m_fontFamilyNames[size_t(indexPath.row())], size))
        choose(*font);
}

void NZFontSelectTableViewController::accessoryButtonTapped(ui::TableView&, const ui::IndexPath& indexPath) {
    const std::shared_ptr<NZFontStyleSelectTableViewController> faces =
        NZFontStyleSelectTableViewController::fromInterfaceFile();
    faces->setFontFamilyName(m_fontFamilyNames[size_t(indexPath.row())]);
    faces->setSelectedFont(m_selectedFont);
    faces->setDelegate(std::static_pointer_cast<NZFontSelectTableViewController>(shared_from_this()));
    if (ui::NavigationController* navigation = navigationController())
        navigation->pushViewController(faces, true);
}

void NZFontSelectTableViewController::fontStyleSelectTableViewController(NZFontStyleSelectTableViewController&,
                                                                         const gfx::Font& font) {
    choose(font);
}

void NZFontSelectTableViewController::choose(const gfx::Font& font) {
    m_selectedFont = font;
    if (const auto delegate = m_delegate.lock())
        delegate->fontSelectTableViewController(*this, font);
    if (ui::TableView* table = isViewLoaded() ? tableView() : nullptr)
        table->reloadData();
}

} // namespace zm
