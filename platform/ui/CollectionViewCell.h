#pragma once

#include "platform/ui/View.h"

#include <string>

namespace ui {

template <class> class ShownCells;

// One item of a collection view. A cell shows its content in its subviews; the collection view places
// it, highlights it while a finger is on it and selects it when tapped. Cells that scroll out of sight
// wait to be handed out again for other items (prepareForReuse clears what must not carry over).
class CollectionViewCell : public View {
public:
    static std::shared_ptr<CollectionViewCell> create(const core::Rect& frame = {});

    // The identifier the cell was made and is reused under.
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted) { m_highlighted = highlighted; }
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected) { m_selected = selected; }

    // Before the cell is handed out again: highlight and selection are cleared.
    virtual void prepareForReuse();

protected:
    explicit CollectionViewCell(const core::Rect& frame);

private:
    template <class> friend class ShownCells;

    std::string m_reuseIdentifier;
    bool m_highlighted = false;
    bool m_selected = false;
};

} // namespace ui
