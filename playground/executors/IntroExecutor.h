#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

// The players of the tutorial's demonstration slides: they never count their expression as done and
// play only progress moves, so each slide's demonstration repeats until the slide cancels it.
class IntroExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

protected:
    bool isExprDone() const override { return false; }
    void mixStep() override;
    void failStep() override;

    // The tutorial's fraction, "(5*2)/2".
    static constexpr const char* kFractionText = "(5*2)/2";
    // The finger rests this long at the end of a drawn line before it lifts.
    static constexpr double kLineHold = 1.0;
};

} // namespace zm
