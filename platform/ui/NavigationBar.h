#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {

class BarButtonItem;
class Button;
class Label;

// The bar along the top of a navigation controller: the top screen's title in the middle, a back
// button (titled after the screen below) at the left while there is one, and the top screen's right
// bar button.
class NavigationBar : public View {
public:
    static constexpr float kHeight = 44;

    static std::shared_ptr<NavigationBar> create(const core::Rect& frame);

    Label& titleLabel() const { return *m_titleLabel; }
    Button& backButton() const { return *m_backButton; }
    // The button showing the right bar button item (hidden without one).
    Button& rightButton() const { return *m_rightButton; }

    // Shows `title`, a back button titled `backTitle` (none: hidden) and `right`.
    void setItems(const std::string& title, const std::optional<std::string>& backTitle,
                  std::shared_ptr<BarButtonItem> right);

protected:
    explicit NavigationBar(const core::Rect& frame);

    void layoutSubviews() override;
    void draw(gfx::Canvas& canvas) override;

private:
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<Button> m_backButton;
    std::shared_ptr<Button> m_rightButton;
    std::shared_ptr<BarButtonItem> m_rightItem;
};

} // namespace ui
