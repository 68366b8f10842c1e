#pragma once

#include "platform/core/Geometry.h"
#include "playground/views/IGenericView.h"

#include <memory>

namespace zm {

class PlaygroundView;

// A playground turns touches on the expressions it shows into algebraic steps. The main playground
// holds the problem; the modal ones (distribution, both sides, factor pairs, exponents) open over it
// when a step asks for them, and hand their own step back to it.
//
// A playground lives in one host view, which owns it; it points back to the host without owning it
// and does nothing once the host is gone. Every operation below has a base behaviour a subclass may
// keep. Main thread only.
class Playground : public std::enable_shared_from_this<Playground> {
public:
    explicit Playground(PlaygroundView& playgroundView);
    virtual ~Playground() = default;
    Playground(const Playground&) = delete;
    Playground& operator=(const Playground&) = delete;

    // The host view, or null once it is gone.
    std::shared_ptr<PlaygroundView> playgroundView() const { return m_playgroundView.lock(); }

    // Builds the views at their starting places.
    virtual void drawInitialState() {}
    // Touches, in the host view's coordinates. A move or an end answers whether it took the touch; the
    // base takes no move and every end.
    virtual void touchBegan(core::Point) {}
    virtual bool touchMoved(core::Point) { return false; }
    virtual bool touchEnded(core::Point) { return true; }
    // The automatic player's finger going down and up.
    virtual void executorTouchBegan(core::Point point) { touchBegan(point); }
    virtual void executorTouchEnded(core::Point point) { touchEnded(point); }
    // Every platform view the playground wants shown in its host view.
    virtual ViewList getConcreteViews() { return {}; }
    // Takes those views off the screen.
    virtual void clear();
    // Moves the views from their starting places to where they belong, animated or at once.
    virtual void moveToFinalStateAnimated(bool) {}

private:
    std::weak_ptr<PlaygroundView> m_playgroundView;
};

} // namespace zm
