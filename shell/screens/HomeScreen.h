#pragma once

#include "platform/core/Geometry.h"
#include "shell/screens/TopicViewController.h"

#include <optional>

namespace zm {

// What the container asks of the home screen, the carousel of topics it makes at start-up and on every
// way back home.
class HomeScreen : public TopicViewController {
public:
    // The topic whose card is centred at every layout pass (the first home screen's).
    virtual void setStartingTopic(std::optional<Topic> topic) = 0;
    // The topic of the screen that came back home.
    virtual void setCurrentTopic(std::optional<Topic> topic) = 0;
    // The carousel's position: its scroll offset over its content width.
    virtual float calculatePerc() const = 0;
    // Where the card of `topic` shows its playground, in the home view's coordinates; the null rectangle
    // for a topic the carousel does not list.
    virtual core::Rect playgroundRectForTopic(const Topic& topic) = 0;
    // Moves on from the current topic to the next one and opens it.
    virtual void animateToNextTopic() = 0;
};

} // namespace zm
