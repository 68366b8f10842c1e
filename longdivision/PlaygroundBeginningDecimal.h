#pragma once

#include "playground/Playground.h"

#include <memory>

namespace zm {

class LDPlaygroundMain;
class LDPlaygroundView;

// The modal step that comes first when the divisor has a decimal point: both points are slid right
// until the divisor is a whole number.
class PlaygroundBeginningDecimal : public Playground {
public:
    PlaygroundBeginningDecimal(LDPlaygroundView& playgroundView, std::shared_ptr<LDPlaygroundMain> mainPlayground);

    const std::shared_ptr<LDPlaygroundMain>& mainPlayground() const { return m_mainPlayground; }

private:
    std::shared_ptr<LDPlaygroundMain> m_mainPlayground;
};

} // namespace zm
