#include "platform/ui/CollectionView.h"

#include "platform/core/Log.h"
#include "platform/ui/Outlets.h"

#include <algorithm>

namespace ui {

int CollectionViewDataSource::numberOfSections(CollectionView&) {
    return 1;
}

void CollectionViewDelegate::didSelectItem(CollectionView&, const IndexPath&) {}

void CollectionViewDelegate::didHighlightItem(CollectionView&, const IndexPath&) {}

void CollectionViewDelegate::didUnhighlightItem(CollectionView&, const IndexPath&) {}

std::optional<core::Size> CollectionViewDelegate::sizeForItem(CollectionView&, const IndexPath&) {
    return std::nullopt;
}

std::shared_ptr<CollectionView> CollectionView::create(const core::Rect& frame) {
    auto view = std::shared_ptr<CollectionView>(new CollectionView(frame));
    setUp(view);
    return view;
}

CollectionView::CollectionView(const core::Rect& frame)
    : ScrollView(frame) {
    m_cells.onUnhighlight([this](const IndexPath& path) {
        if (const std::shared_ptr<CollectionViewDelegate> delegate = m_delegate.lock())
            delegate->didUnhighlightItem(*this, path);
    });
}

void CollectionView::setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource) {
    m_dataSource = std::move(dataSource);
    reloadData();
}

void CollectionView::setDelegate(std::weak_ptr<CollectionViewDelegate> delegate) {
    ScrollView::setDelegate(delegate);
    m_delegate = std::move(delegate);
    invalidateLayout();
}

void CollectionView::setFlowLayout(const FlowLayout& layout) {
    m_flow = layout;
    invalidateLayout();
}

void CollectionView::registerCell(std::string identifier, CellFactory factory) {
    m_cells.registerFactory(std::move(identifier), std::move(factory));
}

std::shared_ptr<CollectionViewCell> CollectionView::dequeueReusableCell(std::string_view identifier,
                                                                        const IndexPath& indexPath) {
    std::shared_ptr<CollectionViewCell> cell = m_cells.dequeue(identifier);
    if (!cell) {
        core::log(core::LogLevel::Error, "collection view: no cell registered for \"" +
                                             std::string(identifier) + "\" (item " +
                                             std::to_string(indexPath.item) + ")");
        return nullptr;
    }
    if (const std::optional<core::Rect> frame = frameForItem(indexPath))
        placeCell(*cell, *frame);
    return cell;
}

void CollectionView::invalidateLayout() {
    m_layout.reset();
    setNeedsLayout();
}

void CollectionView::reloadData() {
    m_cells.recycleAll();
    m_selected.reset();
    invalidateLayout();
}

const FlowLayout::Result& CollectionView::layout() {
    if (m_layout && m_layoutSize == bounds().size)
        return *m_layout;
    std::vector<int> counts;
    const std::shared_ptr<CollectionViewDataSource> source = m_dataSource.lock();
    if (source) {
        const int sections = std::max(0, source->numberOfSections(*this));
        for (int section = 0; section < sections; ++section)
            counts.push_back(std::max(0, source->numberOfItems(*this, section)));
    }
    const std::shared_ptr<CollectionViewDelegate> delegate = m_delegate.lock();
    std::function<std::optional<core::Size>(const IndexPath&)> sizeOf;
    if (delegate)
        sizeOf = [this, &delegate](const IndexPath& path) { return delegate->sizeForItem(*this, path); };
    m_layoutSize = bounds().size;
    m_layout = m_flow.layOut(counts, m_layoutSize, sizeOf);
    setContentSize(m_layout->contentSize);
    return *m_layout;
}

int CollectionView::numberOfSections() {
    return int(layout().frames.size());
}

int CollectionView::numberOfItems(int section) {
    const FlowLayout::Result& result = layout();
    return section >= 0 && size_t(section) < result.frames.size() ? int(result.frames[size_t(section)].size())
                                                                  : 0;
}

std::optional<core::Rect> CollectionView::frameForItem(const IndexPath& indexPath) {
    return layout().frame(indexPath);
}

std::vector<IndexPath> CollectionView::indexPathsForVisibleItems() {
    const FlowLayout::Result& result = layout();
    std::vector<IndexPath> visible;
    for (size_t section = 0; section < result.frames.size(); ++section) {
        for (size_t item = 0; item < result.frames[section].size(); ++item) {
            if (isInSight(result.frames[section][item], bounds()))
                visible.push_back({int(section), int(item)});
        }
    }
    return visible;
}

std::vector<std::shared_ptr<CollectionViewCell>> CollectionView::visibleCells() {
    updateVisibleCells();
    return m_cells.all();
}

std::shared_ptr<CollectionViewCell> CollectionView::cellForItem(const IndexPath& indexPath) {
    updateVisibleCells();
    return m_cells.at(indexPath);
}

std::optional<IndexPath> CollectionView::indexPathForCell(const CollectionViewCell& cell) const {
    return m_cells.indexPathOf(cell);
}

std::optional<IndexPath> CollectionView::indexPathForItemAtPoint(core::Point point) {
    const FlowLayout::Result& result = layout();
    for (size_t section = 0; section < result.frames.size(); ++section) {
        for (size_t item = 0; item < result.frames[section].size(); ++item) {
            if (result.frames[section][item].contains(point))
                return IndexPath{int(section), int(item)};
        }
    }
    return std::nullopt;
}

void CollectionView::scrollToItem(const IndexPath& indexPath, ScrollPosition position, bool animated) {
    const std::optional<core::Rect> frame = frameForItem(indexPath);
    if (!frame)
        return;
    const core::Size size = bounds().size;
    core::Point offset = contentOffset();
    switch (position) {
    case ScrollPosition::Top:
        offset.y = frame->minY() - contentInset().top;
        break;
    case ScrollPosition::CenteredVertically:
        offset.y = frame->midY() - size.height / 2;
        break;
    case ScrollPosition::Bottom:
        offset.y = frame->maxY() - size.height + contentInset().bottom;
        break;
    case ScrollPosition::Left:
        offset.x = frame->minX() - contentInset().left;
        break;
    case ScrollPosition::CenteredHorizontally:
        offset.x = frame->midX() - size.width / 2;
        break;
    case ScrollPosition::Right:
        offset.x = frame->maxX() - size.width + contentInset().right;
        break;
    case ScrollPosition::None:
        scrollRectToVisible(*frame, animated);
        return;
    }
    const core::Point low = minimumContentOffset();
    const core::Point high = maximumContentOffset();
    setContentOffset({std::clamp(offset.x, low.x, high.x), std::clamp(offset.y, low.y, high.y)}, animated);
}

void CollectionView::setAllowsSelection(bool allows) {
    m_allowsSelection = allows;
    if (!allows) {
        m_cells.endHighlight();
        if (m_selected)
            deselectItem(*m_selected);
    }
}

void CollectionView::selectItem(const IndexPath& indexPath) {
    if (m_selected && *m_selected != indexPath)
        deselectItem(*m_selected);
    m_selected = indexPath;
    if (const std::shared_ptr<CollectionViewCell> cell = cellForItem(indexPath))
        cell->setSelected(true);
}

void CollectionView::deselectItem(const IndexPath& indexPath) {
    if (m_selected == indexPath)
        m_selected.reset();
    if (const std::shared_ptr<CollectionViewCell> cell = cellForItem(indexPath))
        cell->setSelected(false);
}

void CollectionView::connectOutlets(Outlets& outlets) {
    outlets.weak("dataSource", m_dataSource);
    outlets.weak("delegate", m_delegate);
    ScrollView::connectOutlets(outlets);
}

void CollectionView::layoutSubviews() {
    ScrollView::layoutSubviews();
    updateVisibleCells();
}

void CollectionView::contentOffsetDidChange() {
    ScrollView::contentOffsetDidChange();
    updateVisibleCells();
}

void CollectionView::updateVisibleCells() {
    const std::shared_ptr<View> keep = shared_from_this();
    const std::shared_ptr<CollectionViewDataSource> source = m_dataSource.lock();
    m_cells.update([this] { return indexPathsForVisibleItems(); },
                   [this](const IndexPath& path) { return layout().frame(path).value_or(core::Rect{}); },
                   [&](const IndexPath& path, const core::Rect& frame) {
                       std::shared_ptr<CollectionViewCell> cell =
                           source ? source->cellForItem(*this, path) : nullptr;
                       if (!cell)
                           return;
                       placeCell(*cell, frame);
                       cell->setSelected(m_selected == path);
                       m_cells.show(*this, path, std::move(cell));
                   });
}

void CollectionView::touchesBegan(const TouchSet& touches, const Event&) {
    if (m_cells.trackedTouch() || touches.empty() || !m_allowsSelection)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    const Touch& touch = *touches.front();
    const std::optional<IndexPath> path = indexPathForItemAtPoint(touch.locationInView(this));
    if (!m_cells.beginHighlight(touch, path))
        return;
    if (const std::shared_ptr<CollectionViewDelegate> delegate = m_delegate.lock())
        delegate->didHighlightItem(*this, *path);
}

void CollectionView::touchesMoved(const TouchSet& touches, const Event&) {
    if (!m_cells.follows(touches) || !m_cells.highlighted())
        return;
    const std::optional<core::Rect> frame = frameForItem(*m_cells.highlighted());
    if (!frame || !frame->contains(m_cells.trackedTouch()->locationInView(this)))
        m_cells.endHighlight();
}

void CollectionView::touchesEnded(const TouchSet& touches, const Event&) {
    if (!m_cells.follows(touches))
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    const std::optional<IndexPath> path = m_cells.highlighted();
    m_cells.endHighlight();
    if (!path)
        return;
    selectItem(*path);
    if (const std::shared_ptr<CollectionViewDelegate> delegate = m_delegate.lock())
        delegate->didSelectItem(*this, *path);
}

void CollectionView::touchesCancelled(const TouchSet& touches, const Event&) {
    if (m_cells.follows(touches))
        m_cells.endHighlight();
}

} // namespace ui
