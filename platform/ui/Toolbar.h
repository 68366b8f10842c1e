#pragma once

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/View.h"

#include <vector>

namespace ui {

class Button;

// A bar of bar button items, laid out from left to right: buttons as wide as their titles, fixed spaces
// of their width, and flexible spaces sharing what is left. A tap on a button runs its item's action.
class Toolbar : public View {
public:
    static constexpr float kHeight = 44;

    static std::shared_ptr<Toolbar> create(const core::Rect& frame = {});
    ~Toolbar() override;

    const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<BarButtonItem>> items);

    const core::Color& tintColor() const { return m_tintColor; }
    void setTintColor(const core::Color& color);

    // The button that shows an item of the bar; nullptr for spaces and items of other bars.
    Button* buttonFor(const BarButtonItem& item) const;

protected:
    explicit Toolbar(const core::Rect& frame);

    void layoutSubviews() override;
    void draw(gfx::Canvas& canvas) override;

private:
    friend class BarButtonItem;

    void updateButtons();
    void release();
    // An item moved to another bar.
    void forget(const BarButtonItem& item);

    std::vector<std::shared_ptr<BarButtonItem>> m_items;
    std::vector<std::shared_ptr<Button>> m_buttons; // one per item; nullptr for spaces
    core::Color m_tintColor = core::Color::rgb255(0, 122, 255);
};

} // namespace ui
