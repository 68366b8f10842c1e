#pragma once

#include "platform/ui/CollectionViewCell.h"
#include "platform/ui/FlowLayout.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShownCells.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class CollectionView;

// Answers what a collection view shows.
class CollectionViewDataSource {
public:
    virtual ~CollectionViewDataSource() = default;

    virtual int numberOfSections(CollectionView& collectionView);
    virtual int numberOfItems(CollectionView& collectionView, int section) = 0;
    // The cell for an item, usually from CollectionView::dequeueReusableCell; nullptr shows nothing.
    virtual std::shared_ptr<CollectionViewCell> cellForItem(CollectionView& collectionView,
                                                            const IndexPath& indexPath) = 0;
};

// Told what happens to the items, and asked for their sizes. Every operation is optional.
class CollectionViewDelegate : public ScrollViewDelegate {
public:
    virtual void didSelectItem(CollectionView& collectionView, const IndexPath& indexPath);
    // A finger came down on the item, and left it (lifted, moved off, or taken by scrolling).
    virtual void didHighlightItem(CollectionView& collectionView, const IndexPath& indexPath);
    virtual void didUnhighlightItem(CollectionView& collectionView, const IndexPath& indexPath);
    // The size of an item; nothing for the layout's item size.
    virtual std::optional<core::Size> sizeForItem(CollectionView& collectionView, const IndexPath& indexPath);
};

// A scroll view of items laid out in a flow (see FlowLayout), each shown by a cell that the data source
// hands out. Only the items in sight have cells: a cell that scrolls away waits under its reuse
// identifier until dequeueReusableCell hands it out for another item.
//
// A finger on an item highlights it (after the scroll view's content-touch delay); lifting the finger
// on it selects it, one item at a time; scrolling, or moving off the item, only takes the highlight
// away.
//
// The data source's counts are read when the layout is made: on the first layout, after reloadData and
// when the view changes size.
class CollectionView : public ScrollView {
public:
    using CellFactory = std::function<std::shared_ptr<CollectionViewCell>()>;

    static std::shared_ptr<CollectionView> create(const core::Rect& frame = {});

    const std::weak_ptr<CollectionViewDataSource>& dataSource() const { return m_dataSource; }
    void setDataSource(std::weak_ptr<CollectionViewDataSource> dataSource);
    const std::weak_ptr<CollectionViewDelegate>& collectionDelegate() const { return m_delegate; }
    // The delegate is also the scroll view's delegate.
    void setDelegate(std::weak_ptr<CollectionViewDelegate> delegate);

    const FlowLayout& flowLayout() const { return m_flow; }
    void setFlowLayout(const FlowLayout& layout);

    // Cells: made by `factory` for `identifier` (a prototype of an interface file, or code).
    void registerCell(std::string identifier, CellFactory factory);
    // A cell waiting for reuse under `identifier`, prepared for reuse, or a new one; nullptr (and a log
    // line) for an identifier that nothing was registered for.
    std::shared_ptr<CollectionViewCell> dequeueReusableCell(std::string_view identifier,
                                                            const IndexPath& indexPath);

    // Reads the data source again and hands out fresh cells.
    void reloadData();
    int numberOfSections();
    int numberOfItems(int section);

    // The items whose frames lie (partly) in sight, in order.
    std::vector<IndexPath> indexPathsForVisibleItems();
    std::vector<std::shared_ptr<CollectionViewCell>> visibleCells();
    // The cell showing an item in sight; nullptr for one out of sight.
    std::shared_ptr<CollectionViewCell> cellForItem(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForCell(const CollectionViewCell& cell) const;
    // The item under a point of the content, or nothing.
    std::optional<IndexPath> indexPathForItemAtPoint(core::Point point);
    // Where the layout puts an item, in content coordinates; nothing for an item that does not exist.
    std::optional<core::Rect> frameForItem(const IndexPath& indexPath);

    enum class ScrollPosition { None, Top, CenteredVertically, Bottom, Left, CenteredHorizontally, Right };
    // Brings an item to `position` as far as the content allows.
    void scrollToItem(const IndexPath& indexPath, ScrollPosition position, bool animated);

    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows);
    std::optional<IndexPath> indexPathForSelectedItem() const { return m_selected; }
    // Selecting from code tells the delegate nothing.
    void selectItem(const IndexPath& indexPath);
    void deselectItem(const IndexPath& indexPath);

    void connectOutlets(Outlets& outlets) override;

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    explicit CollectionView(const core::Rect& frame);

    void layoutSubviews() override;
    void contentOffsetDidChange() override;

private:
    // The layout, made now when it is out of date.
    const FlowLayout::Result& layout();
    void invalidateLayout();
    // Gives the items in sight their cells and takes them from the items out of sight.
    void updateVisibleCells();

    std::weak_ptr<CollectionViewDataSource> m_dataSource;
    std::weak_ptr<CollectionViewDelegate> m_delegate;
    FlowLayout m_flow;
    std::optional<FlowLayout::Result> m_layout;
    core::Size m_layoutSize;                // the view's size the layout was made for
    ShownCells<CollectionViewCell> m_cells; // the items in sight
    bool m_allowsSelection = true;
    std::optional<IndexPath> m_selected;
};

} // namespace ui
