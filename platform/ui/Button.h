#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/EdgeInsets.h"

#include <map>
#include <optional>
#include <string>

namespace ui {

class Label;

// A push button: a title (shown by its title label) and a background image, each chosen by the
// control state. A look set for a state is used in exactly that state; a state without one uses the
// normal state's. The title sits in the bounds less the content insets and then the title insets,
// centred.
class Button : public Control {
public:
    static std::shared_ptr<Button> create(const core::Rect& frame = {});

    void setTitle(std::string title, ControlState state = ControlState::Normal);
    // The title set for exactly `state`, if any.
    std::optional<std::string> title(ControlState state) const;
    // The title shown now.
    std::string currentTitle() const;

    void setTitleColor(const core::Color& color, ControlState state = ControlState::Normal);
    // The title colour set for exactly `state`, if any.
    std::optional<core::Color> titleColor(ControlState state) const;
    // The title colour shown now (white when none applies).
    core::Color currentTitleColor() const;

    void setBackgroundImage(std::shared_ptr<const gfx::Image> image,
                            ControlState state = ControlState::Normal);
    std::shared_ptr<const gfx::Image> backgroundImage(ControlState state) const;
    std::shared_ptr<const gfx::Image> currentBackgroundImage() const;

    // The label that shows the title: its font, fitting and alignment are the button's to set; its text
    // and colour follow the state.
    Label& titleLabel() const { return *m_titleLabel; }

    const EdgeInsets& contentEdgeInsets() const { return m_contentInsets; }
    void setContentEdgeInsets(const EdgeInsets& insets);
    const EdgeInsets& titleEdgeInsets() const { return m_titleInsets; }
    void setTitleEdgeInsets(const EdgeInsets& insets);
    // Where the title label goes.
    core::Rect titleRect() const;

    core::Size sizeThatFits(core::Size size) const;

protected:
    explicit Button(const core::Rect& frame);

    void layoutSubviews() override;
    void draw(gfx::Canvas& canvas) override;
    void stateDidChange() override;

private:
    template <class T> static const T* lookUp(const std::map<unsigned, T>& looks, ControlState state);
    void updateTitle();

    std::map<unsigned, std::string> m_titles;
    std::map<unsigned, core::Color> m_titleColors;
    std::map<unsigned, std::shared_ptr<const gfx::Image>> m_backgroundImages;
    std::shared_ptr<Label> m_titleLabel;
    EdgeInsets m_contentInsets;
    EdgeInsets m_titleInsets;
};

} // namespace ui
