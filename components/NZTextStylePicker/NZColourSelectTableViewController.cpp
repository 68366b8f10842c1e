#include "components/NZTextStylePicker/NZColourSelectTableViewController.h"

#include "components/NZTextStylePicker/NZColourBlockView.h"
#include "components/NZTextStylePicker/NZListMarks.h"
#include "components/NZTextStylePicker/NZTextStylePickerClasses.h"
#include "platform/ui/Label.h"

namespace zm {

namespace {

constexpr std::string_view kCellIdentifier = "ColourSelectTableCell";
constexpr int kMarkTag = 1001;
constexpr int kSwatchTag = 1002;

} // namespace

std::shared_ptr<NZColourSelectTableViewController> NZColourSelectTableViewController::fromInterfaceFile() {
    return zm::fromInterfaceFile<NZColourSelectTableViewController>("NZColourSelectTableViewController");
}

std::shared_ptr<NZColourSelectTableViewController> NZColourSelectTableViewController::create() {
    return std::shared_ptr<NZColourSelectTableViewController>(new NZColourSelectTableViewController);
}

void NZColourSelectTableViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    if (title().empty())
        setTitle("Text Colour");
    using namespace core::colors;
    m_availableColours = {black(), darkGray(), gray(), lightGray(), blue(),  red(),
                          green(), cyan(),     orange(), purple(),  brown()};
}

int NZColourSelectTableViewController::numberOfRows(ui::TableView&, int) {
    return int(m_availableColours.size());
}

std::shared_ptr<ui::TableViewCell> NZColourSelectTableViewController::cellForRow(ui::TableView& tableView,
                                                                               const ui::IndexPath& indexPath) {
    std::shared_ptr<ui::TableViewCell> cell = tableView.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = ui::TableViewCell::create(ui::TableViewCell::Style::Default, std::string(kCellIdentifier));
        const core::Size size = cell->bounds().size;
        auto mark = makeMarkLabel({15, 5, 25, size.height - 10});
        mark->setTag(kMarkTag);
        cell->contentView().addSubview(std::move(mark));
        auto swatch = NZColourBlockView::create({55, 5, size.width - 85, size.height - 10});
        // As wide as the row, less the room beside it.
        swatch->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
        swatch->setTag(kSwatchTag);
        cell->contentView().addSubview(std::move(swatch));
    }
    const core::Color& colour = m_availableColours[size_t(indexPath.row())];
    static_cast<NZColourBlockView*>(cell->viewWithTag(kSwatchTag))->setColour(colour);
    static_cast<ui::Label*>(cell->viewWithTag(kMarkTag))->setText(std::string(m_selectedColour == colour ? kCheckMark : ""));
    return cell;
}

void NZColourSelectTableViewController::didSelectRow(ui::TableView& tableView, const ui::IndexPath& indexPath) {
    const core::Color colour = m_availableColours[size_t(indexPath.row())];
    m_selectedColour = colour;
    if (const auto delegate = m_delegate.lock())
        delegate->colourSelectTableViewController(*this, colour);
    tableView.reloadData();
}

} // namespace zm
