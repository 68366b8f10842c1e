#pragma once

#include "platform/ui/CollectionViewCell.h"

#include <memory>

namespace ui {
class Label;
}

namespace zm {

class DeleteMe;
class FlatPillButton;

// A cell of the problem-set lists: it shows its number ("1:" for the first row), and in edit mode a
// red background with a delete button, whose tap asks the delegate to delete the cell's row. Its parts
// come from the interface file; the delete button is held here while it is out of the cell.
//
// Main thread only.
class DeleteableCollectionViewCell : public ui::CollectionViewCell {
public:
    static std::shared_ptr<DeleteableCollectionViewCell> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;

    // Shows the delete button on top and the red background, or neither.
    void setEditing(bool editing);
    unsigned myIndex() const { return m_myIndex; }
    void setMyIndex(unsigned row);
    // The delete button's action.
    void hitDelete();

    const std::shared_ptr<FlatPillButton>& deleteButton() const { return m_deleteButton; }
    const std::shared_ptr<ui::View>& mainView() const { return m_mainView; }
    const std::shared_ptr<ui::Label>& numberLabel() const { return m_numberLabel; }
    std::shared_ptr<DeleteMe> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<DeleteMe> delegate) { m_delegate = std::move(delegate); }

protected:
    DeleteableCollectionViewCell();

private:
    std::shared_ptr<FlatPillButton> m_deleteButton;
    std::shared_ptr<ui::View> m_mainView;
    std::shared_ptr<ui::Label> m_numberLabel;
    unsigned m_myIndex = 0;
    std::weak_ptr<DeleteMe> m_delegate;
};

} // namespace zm
