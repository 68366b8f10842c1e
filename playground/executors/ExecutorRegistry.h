#pragma once

#include <memory>
#include <string_view>

namespace ui {
class View;
}

namespace zm {

class AIExecutor;
class PlaygroundView;

// The automatic players by class name ("MoveAndTapExecutor", "IntroFaultyAdder", ...), for the screens
// that know a player only by the name a topic gives: a new player of that class on `playgroundView`,
// with the finger resting on `restingView` (none: it appears at the top left of the container) and
// drawn in `containerView`. Null for a name that is no player's.
std::shared_ptr<AIExecutor> makeExecutor(std::string_view className,
                                         const std::shared_ptr<PlaygroundView>& playgroundView,
                                         const std::shared_ptr<ui::View>& restingView,
                                         const std::shared_ptr<ui::View>& containerView);

} // namespace zm
