#include "shell/intro/AlgebraCell.h"

#include "platform/core/Localization.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"

namespace zm {

std::shared_ptr<AlgebraCell> AlgebraCell::create() {
    return std::shared_ptr<AlgebraCell>(new AlgebraCell);
}

AlgebraCell::AlgebraCell()
    : ui::CollectionViewCell({}) {}

void AlgebraCell::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("bigLabel", m_bigLabel);
    outlets.weak("smallLabel", m_smallLabel);
    ui::CollectionViewCell::connectOutlets(outlets);
}

std::shared_ptr<FirstIntroCell> FirstIntroCell::create() {
    return std::shared_ptr<FirstIntroCell>(new FirstIntroCell);
}

void FirstIntroCell::awakeFromNib() {
    if (const std::shared_ptr<ui::Label> big = bigLabel())
        big->setText(core::localized("Welcome"));
    if (const std::shared_ptr<ui::Label> small = smallLabel())
        small->setText(core::localized("Let's explore the rules of algebra using touch gestures."));
}

std::shared_ptr<LastIntroCell> LastIntroCell::create() {
    return std::shared_ptr<LastIntroCell>(new LastIntroCell);
}

void LastIntroCell::awakeFromNib() {
    if (const std::shared_ptr<ui::Label> big = bigLabel())
        big->setText(core::localized("Good luck & have fun!"));
}

} // namespace zm
