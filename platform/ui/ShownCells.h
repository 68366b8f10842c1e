#pragma once

// What collection and table views share: the cells shown for the index paths in sight, the cells
// waiting to be handed out again, and the finger that highlights one of them.

#include "platform/ui/IndexPath.h"
#include "platform/ui/ReusePool.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {

// Puts a cell on its frame by centre and size, so that a cell that is scaled or moving (a highlight, an
// update) keeps its transform.
inline void placeCell(View& cell, const core::Rect& frame) {
    cell.setBounds({cell.bounds().origin, frame.size});
    cell.setCenter({frame.midX(), frame.midY()});
}

// Whether a cell's frame shows in the visible area (touching edges do not count).
inline bool isInSight(const core::Rect& frame, const core::Rect& visible) {
    return !frame.intersected(visible).isEmpty();
}

// The cells a collection or table view shows, by index path, and those that went out of sight and wait
// under their reuse identifier. The view decides which index paths are in sight and where their cells
// go; this keeps the cells in step with that, and follows the one finger whose cell is highlighted.
//
// `Cell` is a view with reuseIdentifier(), prepareForReuse(), setHighlighted(bool) and setSelected(bool)
// that lets ShownCells set its reuse identifier. Owned by its view, main thread only.
template <class Cell> class ShownCells {
public:
    using Factory = typename ReusePool<Cell>::Factory;
    using ByIndexPath = std::map<IndexPath, std::shared_ptr<Cell>>;

    void registerFactory(std::string identifier, Factory factory) {
        m_pool.registerFactory(std::move(identifier), std::move(factory));
    }

    // A cell waiting under `identifier`, prepared for reuse, or a new one from the identifier's factory;
    // nullptr when there is neither.
    std::shared_ptr<Cell> dequeue(std::string_view identifier) {
        const bool reused = m_pool.hasIdle(identifier);
        std::shared_ptr<Cell> cell = m_pool.take(identifier);
        if (!cell)
            return nullptr;
        cell->m_reuseIdentifier = std::string(identifier);
        if (reused)
            cell->prepareForReuse();
        return cell;
    }

    const ByIndexPath& byIndexPath() const { return m_cells; }

    std::shared_ptr<Cell> at(const IndexPath& path) const {
        const auto found = m_cells.find(path);
        return found != m_cells.end() ? found->second : nullptr;
    }

    std::optional<IndexPath> indexPathOf(const Cell& cell) const {
        for (const auto& [path, shown] : m_cells) {
            if (shown.get() == &cell)
                return path;
        }
        return std::nullopt;
    }

    std::vector<std::shared_ptr<Cell>> all() const {
        std::vector<std::shared_ptr<Cell>> cells;
        for (const auto& [path, cell] : m_cells)
            cells.push_back(cell);
        return cells;
    }

    // Records `cell` as the one showing `path`, beneath `owner`'s other subviews, so that what the view
    // lays over its cells (headers, indicators) stays on top.
    void show(View& owner, const IndexPath& path, std::shared_ptr<Cell> cell) {
        owner.insertSubview(cell, 0);
        m_cells[path] = std::move(cell);
    }

    // Takes a cell off screen to wait for reuse; it must no longer be recorded for an index path.
    void recycle(const std::shared_ptr<Cell>& cell) {
        cell->removeFromSuperview();
        m_pool.recycle(cell, cell->reuseIdentifier());
    }

    // Recycles the cell of `path`, if one shows it; its highlight ends. Answers whether there was one.
    bool recycle(const IndexPath& path) {
        // Ending the highlight may call out to a delegate that changes the cells: look the path up after.
        if (m_highlighted == path)
            endHighlight();
        const auto found = m_cells.find(path);
        if (found == m_cells.end())
            return false;
        const std::shared_ptr<Cell> cell = std::move(found->second);
        m_cells.erase(found);
        recycle(cell);
        return true;
    }

    void recycleAll() {
        endHighlight();
        for (const auto& [path, cell] : std::exchange(m_cells, {}))
            recycle(cell);
    }

    // Gives the cells their new index paths after rows or items came and went; `moves` maps each old
    // path that stays to its new one; the highlight ends. Answers the cells that leave, still on screen
    // for the view to animate out and recycle.
    std::vector<std::shared_ptr<Cell>> remap(const std::map<IndexPath, IndexPath>& moves) {
        endHighlight();
        std::vector<std::shared_ptr<Cell>> leaving;
        ByIndexPath staying;
        for (auto& [path, cell] : m_cells) {
            if (const auto move = moves.find(path); move != moves.end())
                staying[move->second] = std::move(cell);
            else
                leaving.push_back(std::move(cell));
        }
        m_cells = std::move(staying);
        return leaving;
    }

    // Brings the cells in step with the index paths in sight, as `inSight()` answers them in order:
    // cells out of sight are recycled, those still in sight go to `frameOf(path)`, and each path newly
    // in sight is handed to `make(path, frame)`, which shows a cell for it or leaves it empty. Does
    // nothing while the cells are held (see Hold).
    template <class InSight, class FrameOf, class Make>
    void update(InSight&& inSight, FrameOf&& frameOf, Make&& make) {
        // A data source that asks for cells while it hands one out must not start a second round.
        if (m_held)
            return;
        const Hold hold(*this);
        const std::vector<IndexPath> visible = inSight();
        for (const auto& [path, cell] : ByIndexPath(m_cells)) {
            if (!std::binary_search(visible.begin(), visible.end(), path))
                recycle(path);
        }
        for (const IndexPath& path : visible) {
            const core::Rect frame = frameOf(path);
            if (const auto shown = m_cells.find(path); shown != m_cells.end())
                placeCell(*shown->second, frame);
            else
                make(path, frame);
        }
    }

    // While one lives, update() leaves the cells where they are (an update animates them meanwhile).
    class Hold {
    public:
        explicit Hold(ShownCells& cells)
            : m_cells(cells)
            , m_wasHeld(std::exchange(cells.m_held, true)) {}
        ~Hold() { m_cells.m_held = m_wasHeld; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ShownCells& m_cells;
        bool m_wasHeld;
    };

    // The finger on a cell that may become a selection.
    const Touch* trackedTouch() const { return m_trackedTouch; }
    const std::optional<IndexPath>& highlighted() const { return m_highlighted; }
    // Whether `touches` carry the finger followed.
    bool follows(const TouchSet& touches) const { return contains(touches, m_trackedTouch); }

    // Follows `touch` and highlights the cell of `path`; false, changing nothing, while another finger is
    // followed or when no cell shows `path`.
    bool beginHighlight(const Touch& touch, const std::optional<IndexPath>& path) {
        if (m_trackedTouch || !path)
            return false;
        const auto shown = m_cells.find(*path);
        if (shown == m_cells.end())
            return false;
        m_trackedTouch = &touch;
        m_highlighted = path;
        shown->second->setHighlighted(true);
        return true;
    }

    // Stops following the finger and takes the highlight away; `unhighlighted` hears of it.
    void endHighlight() {
        m_trackedTouch = nullptr;
        if (!m_highlighted)
            return;
        const IndexPath path = *std::exchange(m_highlighted, std::nullopt);
        if (const std::shared_ptr<Cell> cell = at(path))
            cell->setHighlighted(false);
        if (m_unhighlighted)
            m_unhighlighted(path);
    }

    // Told whenever a highlight ends: the finger lifted, moved off or was taken, or the cell went away.
    void onUnhighlight(std::function<void(const IndexPath&)> unhighlighted) {
        m_unhighlighted = std::move(unhighlighted);
    }

private:
    ReusePool<Cell> m_pool;
    ByIndexPath m_cells;
    bool m_held = false;
    const Touch* m_trackedTouch = nullptr;
    std::optional<IndexPath> m_highlighted;
    std::function<void(const IndexPath&)> m_unhighlighted;
};

} // namespace ui
