#pragma once

#include "platform/ui/CollectionViewCell.h"

#include <memory>

namespace ui {
class Label;
}

namespace zm {

// A slide of the tutorial with a big and a small line of text, both placed by the interface file.
class AlgebraCell : public ui::CollectionViewCell {
public:
    static std::shared_ptr<AlgebraCell> create();

    void connectOutlets(ui::Outlets& outlets) override;

    std::shared_ptr<ui::Label> bigLabel() const { return m_bigLabel.lock(); }
    std::shared_ptr<ui::Label> smallLabel() const { return m_smallLabel.lock(); }

protected:
    AlgebraCell();

private:
    std::weak_ptr<ui::Label> m_bigLabel;
    std::weak_ptr<ui::Label> m_smallLabel;
};

// The first slide: a welcome.
class FirstIntroCell : public AlgebraCell {
public:
    static std::shared_ptr<FirstIntroCell> create();
    void awakeFromNib() override;

protected:
    FirstIntroCell() = default;
};

// The last slide: good wishes.
class LastIntroCell : public AlgebraCell {
public:
    static std::shared_ptr<LastIntroCell> create();
    void awakeFromNib() override;

protected:
    LastIntroCell() = default;
};

} // namespace zm
