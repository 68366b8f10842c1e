#include "platform/ui/TableViewController.h"

namespace ui {

TableViewController::TableViewController(TableView::Style style)
    : m_style(style) {}

TableView* TableViewController::tableView() {
    return dynamic_cast<TableView*>(view().get());
}

void TableViewController::loadView() {
    if (!nibName().empty()) {
        ViewController::loadView();
        if (tableView())
            return;
        // The file failed to load (logged), or holds no table: the screen still gets its table.
    }
    auto table = TableView::create({}, m_style);
    table->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    auto self = std::static_pointer_cast<TableViewController>(shared_from_this());
    table->setDataSource(self);
    table->setDelegate(self);
    setView(std::move(table));
}

} // namespace ui
