#pragma once

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShownCells.h"
#include "platform/ui/TableViewCell.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Label;
class TableView;

// Answers what a table view shows.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;

    virtual int numberOfSections(TableView& tableView);
    virtual int numberOfRows(TableView& tableView, int section) = 0;
    // The cell for a row, usually dequeued or made anew; nullptr leaves the row empty.
    virtual std::shared_ptr<TableViewCell> cellForRow(TableView& tableView, const IndexPath& indexPath) = 0;
    // The texts above and below a section; empty for none.
    virtual std::string titleForHeader(TableView& tableView, int section);
    virtual std::string titleForFooter(TableView& tableView, int section);
};

// Told what happens to the rows, and asked for their heights. Every operation is optional.
class TableViewDelegate : public ScrollViewDelegate {
public:
    // Heights; nothing for the table's own.
    virtual std::optional<float> heightForRow(TableView& tableView, const IndexPath& indexPath);
    virtual std::optional<float> heightForHeader(TableView& tableView, int section);
    // A view in place of the header title; nullptr for the title.
    virtual std::shared_ptr<View> viewForHeader(TableView& tableView, int section);
    // The row to select when the finger lifts on `indexPath` (itself unless overridden); nothing selects
    // no row.
    virtual std::optional<IndexPath> willSelectRow(TableView& tableView, const IndexPath& indexPath);
    virtual void didSelectRow(TableView& tableView, const IndexPath& indexPath);
    virtual void didDeselectRow(TableView& tableView, const IndexPath& indexPath);
    // A cell is about to come into sight.
    virtual void willDisplayCell(TableView& tableView, TableViewCell& cell, const IndexPath& indexPath);
    // The detail disclosure button of a row was tapped.
    virtual void accessoryButtonTapped(TableView& tableView, const IndexPath& indexPath);
};

// How rows and sections come and go in an update.
enum class RowAnimation {
    None,
    Fade,
    Top, // sliding from (or to) above while fading
};

// A vertical list of rows in sections, each row shown by a cell that the data source hands out; in the
// grouped style the sections stand apart on a grey ground under their header and footer titles. Only
// rows in sight have cells; cells that scroll away wait under their reuse identifier.
//
// A finger on a row highlights it (after the scroll view's content-touch delay); lifting the finger on
// it selects it, one row at a time, unless the delegate's willSelectRow answers no row. Selected rows
// stay selected until deselected (a screen usually deselects at once, animated). A row whose cell takes
// no touches is neither highlighted nor selected.
//
// Updates: reloadData reads everything again; reloadRows hands out new cells for some rows; between
// beginUpdates and endUpdates, rows and sections are inserted and deleted (deletions by their old index
// paths, insertions by their new ones), and endUpdates moves the rows that stay to their new places,
// fading (or sliding) the others in and out. An update that does not match the data source's new counts
// is logged and shown by a reload.
class TableView : public ScrollView {
public:
    enum class Style { Plain, Grouped };
    enum class ScrollPosition { None, Top, Middle, Bottom };

    static std::shared_ptr<TableView> create(const core::Rect& frame = {}, Style style = Style::Plain);

    Style style() const { return m_style; }
    void setStyle(Style style);

    const std::weak_ptr<TableViewDataSource>& dataSource() const { return m_dataSource; }
    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource);
    const std::weak_ptr<TableViewDelegate>& tableDelegate() const { return m_delegate; }
    // The delegate is also the scroll view's delegate.
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate);

    float rowHeight() const { return m_rowHeight; }
    void setRowHeight(float height);

    // Cells: a cell waiting under `identifier`, prepared for reuse, or one from the identifier's factory;
    // nullptr when there is neither (the data source then makes one).
    void registerCell(std::string identifier, ReusePool<TableViewCell>::Factory factory);
    std::shared_ptr<TableViewCell> dequeueReusableCell(std::string_view identifier);

    void reloadData();
    void reloadRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation = RowAnimation::None);
    void beginUpdates();
    void endUpdates();
    // Outside beginUpdates/endUpdates each is an update of its own.
    void insertRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation);
    void deleteRows(const std::vector<IndexPath>& indexPaths, RowAnimation animation);
    void insertSections(const std::set<int>& sections, RowAnimation animation);
    void deleteSections(const std::set<int>& sections, RowAnimation animation);

    int numberOfSections();
    int numberOfRows(int section);
    // Where a row lies in the content; nothing for a row that does not exist.
    std::optional<core::Rect> rectForRow(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForRowAtPoint(core::Point point);
    std::vector<IndexPath> indexPathsForVisibleRows();
    std::vector<std::shared_ptr<TableViewCell>> visibleCells();
    // The cell of a row in sight; nullptr for one out of sight.
    std::shared_ptr<TableViewCell> cellForRow(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const;
    void scrollToRow(const IndexPath& indexPath, ScrollPosition position, bool animated);

    // Selection from code tells the delegate nothing.
    std::optional<IndexPath> indexPathForSelectedRow() const { return m_selected; }
    void selectRow(const IndexPath& indexPath, bool animated, ScrollPosition position = ScrollPosition::None);
    void deselectRow(const IndexPath& indexPath, bool animated);

    void connectOutlets(Outlets& outlets) override;

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    TableView(const core::Rect& frame, Style style);

    void layoutSubviews() override;
    void contentOffsetDidChange() override;

private:
    struct SectionLayout {
        float top = 0;
        core::Rect header; // empty when none
        std::vector<core::Rect> rows;
        core::Rect footer;
    };
    struct Layout {
        std::vector<SectionLayout> sections;
        float height = 0;
    };
    struct PendingUpdate {
        std::set<IndexPath> deletedRows;
        std::set<IndexPath> insertedRows;
        std::set<int> deletedSections;
        std::set<int> insertedSections;
        RowAnimation animation = RowAnimation::None;
    };

    const Layout& layout();
    void invalidateLayout();
    void updateVisibleCells();
    void updateSupplements();
    std::shared_ptr<TableViewCell> showCell(const IndexPath& path, const core::Rect& frame);
    void applyUpdate(const PendingUpdate& update, const Layout& old);
    std::optional<IndexPath> rowUnder(const Touch& touch);

    Style m_style;
    std::weak_ptr<TableViewDataSource> m_dataSource;
    std::weak_ptr<TableViewDelegate> m_delegate;
    float m_rowHeight = TableViewCell::kDefaultHeight;
    std::optional<Layout> m_layout;
    float m_layoutWidth = 0;
    ShownCells<TableViewCell> m_cells;                // the rows in sight
    std::vector<std::shared_ptr<View>> m_supplements; // headers and footers
    std::vector<std::shared_ptr<Label>> m_titleLabels; // those of them made from the titles
    int m_updateDepth = 0;
    PendingUpdate m_pending;
    std::optional<Layout> m_updateBase; // the layout on screen when the update began
    std::optional<IndexPath> m_selected;
};

} // namespace ui
