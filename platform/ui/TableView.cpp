#include "platform/ui/TableView.h"

#include "platform/gfx/Text.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"

#include <algorithm>
#include <utility>

namespace ui {

namespace {

constexpr float titleInset = 15;
constexpr float groupedGap = 18; // above a grouped section without a header title
constexpr float groupedFooterGap = 10;
const core::Color titleColor = core::Color::rgb255(109, 109, 114);
const core::Color groupedBackground = core::Color::rgb255(239, 239, 244);

gfx::Font titleFont() {
    return gfx::Font::system(13);
}

float titleHeight(const std::string& title, float width) {
    return gfx::measureText(gfx::AttributedText(title, titleFont()), std::max(1.0f, width - 2 * titleInset))
        .height;
}

// Where a title label stands in the space `frame` of its heading or footnote.
core::Rect titleFrame(const core::Rect& frame) {
    return frame.insetBy(titleInset, 0).isNull() ? frame : frame.insetBy(titleInset, 0);
}

std::shared_ptr<Label> titleLabel(const std::string& text, const core::Rect& frame, bool footer) {
    auto label = Label::create(titleFrame(frame));
    label->setText(text);
    label->setFont(titleFont());
    label->setTextColor(titleColor);
    label->setNumberOfLines(footer ? 0 : 1);
    return label;
}

} // namespace

int TableViewDataSource::numberOfSections(TableView&) {
    return 1;
}

std::string TableViewDataSource::titleForHeader(TableView&, int) {
    return {};
}

std::string TableViewDataSource::titleForFooter(TableView&, int) {
    return {};
}

std::optional<float> TableViewDelegate::heightForRow(TableView&, const IndexPath&) {
    return std::nullopt;
}

std::optional<float> TableViewDelegate::heightForHeader(TableView&, int) {
    return std::nullopt;
}

std::shared_ptr<View> TableViewDelegate::viewForHeader(TableView&, int) {
    return nullptr;
}

std::optional<IndexPath> TableViewDelegate::willSelectRow(TableView&, const IndexPath& indexPath) {
    return indexPath;
}

void TableViewDelegate::didSelectRow(TableView&, const IndexPath&) {}

void TableViewDelegate::didDeselectRow(TableView&, const IndexPath&) {}

void TableViewDelegate::willDisplayCell(TableView&, TableViewCell&, const IndexPath&) {}

void TableViewDelegate::accessoryButtonTapped(TableView&, const IndexPath&) {}

std::shared_ptr<TableView> TableView::create(const core::Rect& frame, Style style) {
    auto view = std::shared_ptr<TableView>(new TableView(frame, style));
    setUp(view);
    return view;
}

TableView::TableView(const core::Rect& frame, Style style)
    : ScrollView(frame) {
    setStyle(style);
    setAlwaysBounceVertical(true);
}

void TableView::setStyle(Style style) {
    m_style = style;
    setBackgroundColor(style == Style::Grouped ? groupedBackground : core::Color::white());
    invalidateLayout();
}

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource) {
    m_dataSource = std::move(dataSource);
    reloadData();
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate) {
    ScrollView::setDelegate(delegate);
    m_delegate = std::move(delegate);
    invalidateLayout();
}

void TableView::setRowHeight(float height) {
    m_rowHeight = std::max(0.0f, height);
    invalidateLayout();
}

void TableView::registerCell(std::string identifier, ReusePool<TableViewCell>::Factory factory) {
    m_cells.registerFactory(std::move(identifier), std::move(factory));
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(std::string_view identifier) {
    return m_cells.dequeue(identifier);
}

void TableView::invalidateLayout() {
    m_layout.reset();
    setNeedsLayout();
}

void TableView::reloadData() {
    m_cells.recycleAll();
    m_selected.reset();
    invalidateLayout();
}

const TableView::Layout& TableView::layout() {
    if (m_layout && m_layoutWidth == bounds().width())
        return *m_layout;
    const std::shared_ptr<TableViewDataSource> source = m_dataSource.lock();
    const std::shared_ptr<TableViewDelegate> delegate = m_delegate.lock();
    const float width = bounds().width();
    const bool grouped = m_style == Style::Grouped;
    Layout result;
    float y = 0;
    const int sections = source ? std::max(0, source->numberOfSections(*this)) : 0;
    for (int section = 0; section < sections; ++section) {
        SectionLayout& laid = result.sections.emplace_back();
        laid.top = y;
        const std::string header = source->titleForHeader(*this, section);
        const std::optional<float> asked =
            delegate ? delegate->heightForHeader(*this, section) : std::nullopt;
        const float headerHeight = asked             ? std::max(0.0f, *asked)
                                   : !header.empty() ? titleHeight(header, width) + (grouped ? 20 : 8)
                                   : grouped         ? groupedGap
                                                     : 0;
        laid.header = {0, y, width, headerHeight};
        y += headerHeight;
        const int rows = std::max(0, source->numberOfRows(*this, section));
        for (int row = 0; row < rows; ++row) {
            const std::optional<float> height =
                delegate ? delegate->heightForRow(*this, {section, row}) : std::nullopt;
            laid.rows.push_back({0, y, width, std::max(0.0f, height.value_or(m_rowHeight))});
            y += laid.rows.back().height();
        }
        const std::string footer = source->titleForFooter(*this, section);
        const float footerHeight =
            !footer.empty() ? titleHeight(footer, width) + 16 : (grouped ? groupedFooterGap : 0);
        laid.footer = {0, y, width, footerHeight};
        y += footerHeight;
    }
    result.height = y;
    m_layoutWidth = width;
    m_layout = std::move(result);
    setContentSize({width, m_layout->height});
    updateSupplements();
    return *m_layout;
}

void TableView::updateSupplements() {
    for (const std::shared_ptr<View>& view : m_supplements)
        view->removeFromSuperview();
    m_supplements.clear();
    // A title label that reads and sits as before is kept, so that a row's update does not draw every
    // heading and footnote again.
    std::vector<std::shared_ptr<Label>> madeBefore = std::exchange(m_titleLabels, {});
    const auto addTitle = [&](const std::string& text, const core::Rect& frame, bool footer) {
        const auto same = std::find_if(madeBefore.begin(), madeBefore.end(), [&](const std::shared_ptr<Label>& old) {
            return old && old->text() == text && old->frame() == titleFrame(frame) &&
                   (old->numberOfLines() == 0) == footer;
        });
        std::shared_ptr<Label> label =
            same != madeBefore.end() ? std::exchange(*same, nullptr) : titleLabel(text, frame, footer);
        m_titleLabels.push_back(label);
        m_supplements.push_back(std::move(label));
    };
    const std::shared_ptr<TableViewDataSource> source = m_dataSource.lock();
    const std::shared_ptr<TableViewDelegate> delegate = m_delegate.lock();
    if (!source || !m_layout)
        return;
    for (size_t section = 0; section < m_layout->sections.size(); ++section) {
        const SectionLayout& laid = m_layout->sections[section];
        if (std::shared_ptr<View> header =
                delegate ? delegate->viewForHeader(*this, int(section)) : nullptr) {
            header->setFrame(laid.header);
            m_supplements.push_back(std::move(header));
        } else if (const std::string title = source->titleForHeader(*this, int(section)); !title.empty()) {
            // The title sits at the bottom of its space, over the rows it heads.
            const float height = titleHeight(title, laid.header.width());
            addTitle(title, {laid.header.minX(), laid.header.maxY() - height - 6, laid.header.width(), height}, false);
        }
        if (const std::string footer = source->titleForFooter(*this, int(section)); !footer.empty())
            addTitle(footer, laid.footer.insetBy(0, 8), true);
    }
    for (const std::shared_ptr<View>& view : m_supplements)
        addSubview(view);
}

int TableView::numberOfSections() {
    return int(layout().sections.size());
}

int TableView::numberOfRows(int section) {
    const Layout& laid = layout();
    return section >= 0 && size_t(section) < laid.sections.size()
               ? int(laid.sections[size_t(section)].rows.size())
               : 0;
}

std::optional<core::Rect> TableView::rectForRow(const IndexPath& indexPath) {
    const Layout& laid = layout();
    if (indexPath.section < 0 || size_t(indexPath.section) >= laid.sections.size())
        return std::nullopt;
    const std::vector<core::Rect>& rows = laid.sections[size_t(indexPath.section)].rows;
    if (indexPath.row() < 0 || size_t(indexPath.row()) >= rows.size())
        return std::nullopt;
    return rows[size_t(indexPath.row())];
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(core::Point point) {
    const Layout& laid = layout();
    for (size_t section = 0; section < laid.sections.size(); ++section) {
        const std::vector<core::Rect>& rows = laid.sections[section].rows;
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].contains(point))
                return IndexPath{int(section), int(row)};
        }
    }
    return std::nullopt;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() {
    const Layout& laid = layout();
    std::vector<IndexPath> visible;
    for (size_t section = 0; section < laid.sections.size(); ++section) {
        const std::vector<core::Rect>& rows = laid.sections[section].rows;
        for (size_t row = 0; row < rows.size(); ++row) {
            if (isInSight(rows[row], bounds()))
                visible.push_back({int(section), int(row)});
        }
    }
    return visible;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() {
    updateVisibleCells();
    return m_cells.all();
}

std::shared_ptr<TableViewCell> TableView::cellForRow(const IndexPath& indexPath) {
    updateVisibleCells();
    return m_cells.at(indexPath);
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const {
    return m_cells.indexPathOf(cell);
}

void TableView::scrollToRow(const IndexPath& indexPath, ScrollPosition position, bool animated) {
    const std::optional<core::Rect> rect = rectForRow(indexPath);
    if (!rect)
        return;
    float y = contentOffset().y;
    const float height = bounds().height();
    switch (position) {
    case ScrollPosition::Top:
        y = rect->minY() - contentInset().top;
        break;
    case ScrollPosition::Middle:
        y = rect->midY() - height / 2;
        break;
    case ScrollPosition::Bottom:
        y = rect->maxY() - height + contentInset().bottom;
        break;
    case ScrollPosition::None:
        scrollRectToVisible(*rect, animated);
        return;
    }
    setContentOffset({contentOffset().x, std::clamp(y, minimumContentOffset().y, maximumContentOffset().y)},
                     animated);
}

void TableView::selectRow(const IndexPath& indexPath, bool animated, ScrollPosition position) {
    if (!rectForRow(indexPath))
        return;
    if (m_selected && *m_selected != indexPath)
        deselectRow(*m_selected, animated);
    m_selected = indexPath;
    if (const std::shared_ptr<TableViewCell> cell = cellForRow(indexPath))
        cell->setSelected(true, animated);
    if (position != ScrollPosition::None)
        scrollToRow(indexPath, position, animated);
}

void TableView::deselectRow(const IndexPath& indexPath, bool animated) {
    if (m_selected == indexPath)
        m_selected.reset();
    if (const std::shared_ptr<TableViewCell> cell = cellForRow(indexPath))
        cell->setSelected(false, animated);
}

void TableView::connectOutlets(Outlets& outlets) {
    outlets.weak("dataSource", m_dataSource);
    outlets.weak("delegate", m_delegate);
    ScrollView::connectOutlets(outlets);
}

void TableView::layoutSubviews() {
    ScrollView::layoutSubviews();
    updateVisibleCells();
}

void TableView::contentOffsetDidChange() {
    ScrollView::contentOffsetDidChange();
    updateVisibleCells();
}

std::shared_ptr<TableViewCell> TableView::showCell(const IndexPath& path, const core::Rect& frame) {
    const std::shared_ptr<TableViewDataSource> source = m_dataSource.lock();
    std::shared_ptr<TableViewCell> cell = source ? source->cellForRow(*this, path) : nullptr;
    if (!cell)
        return nullptr;
    placeCell(*cell, frame);
    cell->setSelected(m_selected == path);
    cell->m_accessoryTapped = [weak = std::weak_ptr<TableView>(
                                   std::static_pointer_cast<TableView>(shared_from_this())),
                               shown = cell.get()] {
        const std::shared_ptr<TableView> table = weak.lock();
        const std::optional<IndexPath> path = table ? table->indexPathForCell(*shown) : std::nullopt;
        if (const std::shared_ptr<TableViewDelegate> delegate = table ? table->m_delegate.lock() : nullptr;
            path && delegate)
            delegate->accessoryButtonTapped(*table, *path);
    };
    if (const std::shared_ptr<TableViewDelegate> delegate = m_delegate.lock())
        delegate->willDisplayCell(*this, *cell, path);
    m_cells.show(*this, path, cell);
    return cell;
}

void TableView::updateVisibleCells() {
    const std::shared_ptr<View> keep = shared_from_this();
    m_cells.update([this] { return indexPathsForVisibleRows(); },
                   [this](const IndexPath& path) { return rectForRow(path).value_or(core::Rect{}); },
                   [this](const IndexPath& path, const core::Rect& frame) { showCell(path, frame); });
}

std::optional<IndexPath> TableView::rowUnder(const Touch& touch) {
    const std::optional<IndexPath> row = indexPathForRowAtPoint(touch.locationInView(this));
    // A cell that takes no touches can be neither highlighted nor selected.
    if (const std::shared_ptr<TableViewCell> cell = row ? cellForRow(*row) : nullptr;
        cell && !cell->isUserInteractionEnabled())
        return std::nullopt;
    return row;
}

void TableView::touchesBegan(const TouchSet& touches, const Event&) {
    if (!touches.empty())
        m_cells.beginHighlight(*touches.front(), rowUnder(*touches.front()));
}

void TableView::touchesMoved(const TouchSet& touches, const Event&) {
    if (m_cells.follows(touches) && m_cells.highlighted() &&
        rowUnder(*m_cells.trackedTouch()) != m_cells.highlighted())
        m_cells.endHighlight();
}

void TableView::touchesEnded(const TouchSet& touches, const Event&) {
    if (!m_cells.follows(touches))
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    const std::optional<IndexPath> tapped = m_cells.highlighted();
    m_cells.endHighlight();
    if (!tapped)
        return;
    const std::shared_ptr<TableViewDelegate> delegate = m_delegate.lock();
    const std::optional<IndexPath> chosen = delegate ? delegate->willSelectRow(*this, *tapped) : tapped;
    if (!chosen || !rectForRow(*chosen))
        return;
    if (m_selected && *m_selected != *chosen) {
        const IndexPath previous = *m_selected;
        deselectRow(previous, false);
        if (delegate)
            delegate->didDeselectRow(*this, previous);
    }
    selectRow(*chosen, false);
    if (delegate)
        delegate->didSelectRow(*this, *chosen);
}

void TableView::touchesCancelled(const TouchSet& touches, const Event&) {
    if (m_cells.follows(touches))
        m_cells.endHighlight();
}

} // namespace ui
