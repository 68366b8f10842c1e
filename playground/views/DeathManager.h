#pragma once

#include "playground/views/Baggage.h"

#include <vector>

namespace zm {

// Keeps the views that died with the last move on screen while they fly to where they were absorbed
// and fade, until the next move replaces them.
class DeathManager {
public:
    // The dying views of a new move; those of the move before are let go.
    void acceptCondemned(std::vector<CondemnedPair> condemned) { m_condemned = std::move(condemned); }
    const std::vector<CondemnedPair>& condemned() const { return m_condemned; }

    // Every platform view of the dying views, in order: the playground keeps them among its views.
    ViewList getViewList() const;
    // Sends each dying view to its end position and fades it out. Sent inside the playground's settle
    // animation, so both are animated with the rest of the move.
    void animateDead();

private:
    std::vector<CondemnedPair> m_condemned;
};

} // namespace zm
