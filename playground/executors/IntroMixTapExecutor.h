#pragma once

#include "playground/executors/IntroExecutor.h"

namespace zm {

// Shows that terms can be tapped and dragged: on "3*x" it commutes the factors, taps the "*" to
// multiply them and taps the product to split it again, over and over.
class IntroMixTapExecutor : public IntroExecutor {
public:
    using IntroExecutor::IntroExecutor;

    // Whether the last move was a commute.
    bool commuted() const { return m_commuted; }

protected:
    void progressStep() override;

private:
    bool m_commuted = false;
};

} // namespace zm
