#include "playground/Playground.h"

#include "playground/PlaygroundView.h"

namespace zm {

Playground::Playground(PlaygroundView& playgroundView)
    : m_playgroundView(std::static_pointer_cast<PlaygroundView>(playgroundView.shared_from_this())) {}

void Playground::clear() {
    for (const std::shared_ptr<ui::View>& view : getConcreteViews())
        view->removeFromSuperview();
}

} // namespace zm
