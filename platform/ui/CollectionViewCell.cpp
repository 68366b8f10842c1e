#include "platform/ui/CollectionViewCell.h"

namespace ui {

std::shared_ptr<CollectionViewCell> CollectionViewCell::create(const core::Rect& frame) {
    return std::shared_ptr<CollectionViewCell>(new CollectionViewCell(frame));
}

CollectionViewCell::CollectionViewCell(const core::Rect& frame)
    : View(frame) {}

void CollectionViewCell::prepareForReuse() {
    setHighlighted(false);
    setSelected(false);
}

} // namespace ui
