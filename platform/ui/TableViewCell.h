#pragma once

#include "platform/ui/View.h"

#include <functional>
#include <string>

namespace ui {

class ImageView;
class Label;
template <class> class ShownCells;

// One row of a table view: an optional image at the left, a title, in the value style a value at the
// right, and an accessory at the right edge. Custom content goes into the content view, which leaves
// room for the accessory. Cells that scroll out of sight wait to be handed out again for other rows.
class TableViewCell : public View {
public:
    enum class Style {
        Default, // a title
        Value,   // a title at the left and a value at the right
    };
    enum class Accessory { None, DisclosureIndicator, DetailDisclosureButton, Checkmark };
    // Whether the cell shows that a finger is on it, or that it is selected.
    enum class SelectionStyle { None, Default };

    static constexpr float kDefaultHeight = 44;

    static std::shared_ptr<TableViewCell> create(Style style = Style::Default,
                                                 std::string reuseIdentifier = {});
    ~TableViewCell() override;

    Style style() const { return m_style; }
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    View& contentView() const { return *m_contentView; }
    Label& textLabel() const { return *m_textLabel; }
    // Shown in the value style only.
    Label& detailTextLabel() const { return *m_detailTextLabel; }
    // Shown while it has an image.
    ImageView& imageView() const { return *m_imageView; }

    Accessory accessoryType() const { return m_accessory; }
    void setAccessoryType(Accessory accessory);
    // A view of the owner's in place of the accessory (a switch).
    const std::shared_ptr<View>& accessoryView() const { return m_accessoryView; }
    void setAccessoryView(std::shared_ptr<View> view);

    SelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(SelectionStyle style);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted, bool animated = false);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected, bool animated = false);

    // Before the cell is handed out again: highlight and selection are cleared and it is opaque again.
    virtual void prepareForReuse();

protected:
    TableViewCell(Style style, std::string reuseIdentifier);

    void layoutSubviews() override;
    void draw(gfx::Canvas& canvas) override;

private:
    friend class TableView;
    template <class> friend class ShownCells;
    class AccessoryMark;

    void updateLook(bool animated);

    Style m_style;
    std::string m_reuseIdentifier;
    std::shared_ptr<View> m_contentView;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Label> m_detailTextLabel;
    std::shared_ptr<ImageView> m_imageView;
    std::shared_ptr<AccessoryMark> m_mark;
    std::shared_ptr<View> m_accessoryView;
    Accessory m_accessory = Accessory::None;
    SelectionStyle m_selectionStyle = SelectionStyle::Default;
    bool m_highlighted = false;
    bool m_selected = false;
    // Set by the table view that shows the cell: the detail disclosure button was tapped.
    std::function<void()> m_accessoryTapped;
};

} // namespace ui
