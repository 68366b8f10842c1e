#pragma once

#include "platform/core/Operation.h"

namespace zm {

// A step of a demonstrated gesture that takes time: it begins its work on the main queue (at once when
// it is started there) and ends later, when that work calls `finish`, so the gesture's queue waits for
// it without any thread sleeping. A cancelled operation that was not started never begins.
class CustomOperation : public core::Operation {
protected:
    void start() final;
    // Runs on the main queue; must lead to `finish`.
    virtual void begin() = 0;
};

} // namespace zm
