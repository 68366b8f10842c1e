#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

// The player of topics without a demonstration: it stops as soon as it starts (whatever gesture the
// base began for an open modal playground is dropped), and the finger goes straight home.
class CancelExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

protected:
    void findNextStep() override;
};

} // namespace zm
