#pragma once

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace ui {

// A screen that is a table: its view is a table view of the chosen style that fills it, with the screen
// as data source and delegate, or the table of its interface file. Subclasses answer the rows.
class TableViewController : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    // The table: the view, made on first use; nullptr when the view was replaced by one that is no table.
    TableView* tableView();

protected:
    explicit TableViewController(TableView::Style style = TableView::Style::Plain);

    void loadView() override;

private:
    TableView::Style m_style;
};

} // namespace ui
