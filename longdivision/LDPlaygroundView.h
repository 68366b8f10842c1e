#pragma once

#include "playground/PlaygroundView.h"

#include <memory>

namespace ui {
class ClassRegistry;
}

namespace zm {

class LDPlaygroundMain;

// The host of one long division: a playground view that owns a long-division playground instead of
// the expression playground, shows at most one of its two choosers (the multiples chooser and the
// decimal-point shifter) over a dark veil, routes every finger to the open chooser or else to the
// playground, and rebuilds a division from the progress saved in it. White digits on a dark veil, a
// large font, no drawing overlay and no pinch zoom.
//
// It is made only from an interface file (the class "LDPlaygroundView"). Main thread only.
class LDPlaygroundView : public PlaygroundView {
public:
    // The view as an interface file makes it, with the long division's defaults.
    static std::shared_ptr<LDPlaygroundView> create();

    const std::shared_ptr<LDPlaygroundMain>& playgroundMain() const { return m_playgroundMain; }
    void setMainPlayground(std::shared_ptr<PlaygroundMain> playground) override;

    // Starts a division (only an object that is exactly a long division; anything else leaves the view
    // empty): the very object, worked in place, its saved progress restored.
    void setNewProblem(const std::shared_ptr<Expr>& problem, bool demoMode);
    // Closes the open chooser: the playground's delegate hears which one, then the division is laid
    // out and tested for completion.
    void popModalPlayground() override;
    void clear() override;
    void redraw() override;
    void repositionViewsAnimated(bool animated) override;
    void resetPivotPoint() override;
    void setPivotPoint(core::Point point, bool animated) override;
    // Closes any chooser and moves the division to the left edge.
    void forceMoveUpperLeft();

    // One finger at a time, to the open chooser or else to the playground.
    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

protected:
    LDPlaygroundView();

    // The division cannot be zoomed.
    void pinch(ui::PinchGestureRecognizer&) override {}

private:
    std::shared_ptr<LDPlaygroundMain> m_playgroundMain;
};

// Registers the class "LDPlaygroundView" for interface files.
void registerLongDivisionClasses(ui::ClassRegistry& registry);

} // namespace zm
