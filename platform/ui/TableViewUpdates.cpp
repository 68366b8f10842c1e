#include "platform/core/Log.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewAnimation.h"

#include <algorithm>

namespace ui {

namespace {

constexpr double updateDuration = 0.3;

// Where the rows that stay go in an update: the old positions that survive, paired in order with the new
// positions that were not inserted.
std::map<int, int> survivors(int oldCount, const std::set<int>& removed, int newCount,
                             const std::set<int>& added) {
    std::vector<int> from;
    for (int index = 0; index < oldCount; ++index) {
        if (!removed.contains(index))
            from.push_back(index);
    }
    std::vector<int> to;
    for (int index = 0; index < newCount; ++index) {
        if (!added.contains(index))
            to.push_back(index);
    }
    std::map<int, int> moves;
    for (size_t i = 0; i < std::min(from.size(), to.size()); ++i)
        moves[from[i]] = to[i];
    return moves;
}

} // namespace

void TableView::reloadRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    invalidateLayout();
    std::vector<IndexPath> fresh;
    for (const IndexPath& path : indexPaths) {
        if (m_cells.recycle(path))
            fresh.push_back(path);
    }
    updateVisibleCells();
    if (animation == RowAnimation::None)
        return;
    for (const IndexPath& path : fresh) {
        if (const std::shared_ptr<TableViewCell> cell = m_cells.at(path)) {
            cell->setAlpha(0);
            animate({.duration = updateDuration}, [cell] { cell->setAlpha(1); });
        }
    }
}

void TableView::beginUpdates() {
    if (m_updateDepth++ > 0)
        return;
    m_pending = {};
    m_updateBase = m_layout;
}

void TableView::insertRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    beginUpdates();
    m_pending.insertedRows.insert(indexPaths.begin(), indexPaths.end());
    m_pending.animation = std::max(m_pending.animation, animation);
    endUpdates();
}

void TableView::deleteRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    beginUpdates();
    m_pending.deletedRows.insert(indexPaths.begin(), indexPaths.end());
    m_pending.animation = std::max(m_pending.animation, animation);
    endUpdates();
}

void TableView::insertSections(const std::set<int>& sections, RowAnimation animation) {
    beginUpdates();
    m_pending.insertedSections.insert(sections.begin(), sections.end());
    m_pending.animation = std::max(m_pending.animation, animation);
    endUpdates();
}

void TableView::deleteSections(const std::set<int>& sections, RowAnimation animation) {
    beginUpdates();
    m_pending.deletedSections.insert(sections.begin(), sections.end());
    m_pending.animation = std::max(m_pending.animation, animation);
    endUpdates();
}

void TableView::endUpdates() {
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    const PendingUpdate update = std::exchange(m_pending, {});
    const std::optional<Layout> base = std::exchange(m_updateBase, std::nullopt);
    if (!base) {
        // Nothing was on screen yet: there is nothing to move.
        reloadData();
        return;
    }
    applyUpdate(update, *base);
}

void TableView::applyUpdate(const PendingUpdate& update, const Layout& old) {
    const std::shared_ptr<View> keep = shared_from_this();
    const std::shared_ptr<TableViewDataSource> source = m_dataSource.lock();
    if (!source) {
        reloadData();
        return;
    }
    const int oldSections = int(old.sections.size());
    const int newSections = std::max(0, source->numberOfSections(*this));
    const std::map<int, int> sectionMoves =
        survivors(oldSections, update.deletedSections, newSections, update.insertedSections);

    // The update must lead from the counts on screen to the data source's.
    bool consistent =
        oldSections - int(update.deletedSections.size()) + int(update.insertedSections.size()) == newSections;
    std::map<IndexPath, IndexPath> rowMoves;
    for (const auto& [from, to] : sectionMoves) {
        std::set<int> removed;
        std::set<int> added;
        for (const IndexPath& path : update.deletedRows) {
            if (path.section == from)
                removed.insert(path.row());
        }
        for (const IndexPath& path : update.insertedRows) {
            if (path.section == to)
                added.insert(path.row());
        }
        const int oldRows = int(old.sections[size_t(from)].rows.size());
        const int newRows = std::max(0, source->numberOfRows(*this, to));
        consistent = consistent && oldRows - int(removed.size()) + int(added.size()) == newRows;
        for (const auto& [oldRow, newRow] : survivors(oldRows, removed, newRows, added))
            rowMoves[{from, oldRow}] = {to, newRow};
    }
    if (!consistent) {
        core::log(core::LogLevel::Error,
                  "table view: an update does not match the data source's counts; reloading");
        reloadData();
        return;
    }

    // The cells that stay take their new index paths; the others leave.
    const std::vector<std::shared_ptr<TableViewCell>> leaving = m_cells.remap(rowMoves);
    if (m_selected) {
        const auto move = rowMoves.find(*m_selected);
        m_selected = move != rowMoves.end() ? std::optional(move->second) : std::nullopt;
    }

    invalidateLayout();
    const Layout& laid = layout();
    const RowAnimation animation = update.animation;
    {
        // The cells move below, each as the animation says; nothing else may place them meanwhile.
        const ShownCells<TableViewCell>::Hold hold(m_cells);
        const core::Point low = minimumContentOffset();
        const core::Point high = maximumContentOffset();
        setContentOffset({contentOffset().x, std::clamp(contentOffset().y, low.y, high.y)});

        // New rows in sight come in from where the animation starts them.
        std::vector<std::shared_ptr<TableViewCell>> arriving;
        for (const IndexPath& path : indexPathsForVisibleRows()) {
            if (m_cells.at(path))
                continue;
            const core::Rect frame = laid.sections[size_t(path.section)].rows[size_t(path.row())];
            const std::shared_ptr<TableViewCell> cell =
                showCell(path, animation == RowAnimation::Top ? frame.offsetBy(0, -frame.height()) : frame);
            if (cell && animation != RowAnimation::None) {
                cell->setAlpha(0);
                arriving.push_back(cell);
            }
        }
        auto settle = [this, &laid, &arriving] {
            for (const auto& [path, cell] : m_cells.byIndexPath())
                placeCell(*cell, laid.sections[size_t(path.section)].rows[size_t(path.row())]);
            for (const std::shared_ptr<TableViewCell>& cell : arriving)
                cell->setAlpha(1);
        };
        if (animation == RowAnimation::None) {
            settle();
            for (const std::shared_ptr<TableViewCell>& cell : leaving)
                m_cells.recycle(cell);
        } else {
            animate(
                {.duration = updateDuration},
                [&] {
                    settle();
                    for (const std::shared_ptr<TableViewCell>& cell : leaving) {
                        cell->setAlpha(0);
                        if (animation == RowAnimation::Top)
                            cell->setCenter({cell->center().x, cell->center().y - cell->bounds().height()});
                    }
                },
                [weak = std::weak_ptr<TableView>(std::static_pointer_cast<TableView>(keep)), leaving](bool) {
                    const std::shared_ptr<TableView> table = weak.lock();
                    if (!table)
                        return;
                    for (const std::shared_ptr<TableViewCell>& cell : leaving)
                        table->m_cells.recycle(cell);
                    table->updateVisibleCells();
                });
        }
    }
    if (animation == RowAnimation::None)
        updateVisibleCells();
}

} // namespace ui
