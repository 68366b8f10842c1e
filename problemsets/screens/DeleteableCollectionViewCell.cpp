#include "problemsets/screens/DeleteableCollectionViewCell.h"

#include "platform/core/Format.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "problemsets/screens/DeleteMe.h"
#include "shell/controls/FlatPillButton.h"

namespace zm {

std::shared_ptr<DeleteableCollectionViewCell> DeleteableCollectionViewCell::create() {
    return std::shared_ptr<DeleteableCollectionViewCell>(new DeleteableCollectionViewCell);
}

DeleteableCollectionViewCell::DeleteableCollectionViewCell()
    : ui::CollectionViewCell({}) {}

void DeleteableCollectionViewCell::connectOutlets(ui::Outlets& outlets) {
    outlets.strong("deleteButton", m_deleteButton);
    outlets.strong("mainView", m_mainView);
    outlets.strong("numberLabel", m_numberLabel);
    ui::CollectionViewCell::connectOutlets(outlets);
}

std::function<void()> DeleteableCollectionViewCell::actionNamed(std::string_view name) {
    if (name == "hitDelete:")
        return [this] { hitDelete(); };
    return ui::CollectionViewCell::actionNamed(name);
}

void DeleteableCollectionViewCell::setEditing(bool editing) {
    if (m_deleteButton) {
        if (editing)
            addSubview(m_deleteButton);
        else
            m_deleteButton->removeFromSuperview();
    }
    if (m_mainView)
        m_mainView->setBackgroundColor(editing ? core::Color::rgba(1, 0, 0) : core::Color::clear());
}

void DeleteableCollectionViewCell::setMyIndex(unsigned row) {
    m_myIndex = row;
    if (m_numberLabel)
        m_numberLabel->setText(core::format("%u:", row + 1));
}

void DeleteableCollectionViewCell::hitDelete() {
    if (const std::shared_ptr<DeleteMe> listener = delegate())
        listener->deleteMeAtIndex(m_myIndex);
}

} // namespace zm
