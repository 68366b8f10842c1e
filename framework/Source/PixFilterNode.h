#pragma once

#include "framework/Source/PixInput.h"
#include "framework/Source/PixOutput.h"

namespace zm {

// Whatever stands in a chain as one filter: a target of the source before it and a source for the
// targets after it. Filters and filter groups are nodes; groups and pipelines hold their members so.
class PixFilterNode : public PixOutput, public PixInput {
public:
    // Both sides ask these; a node answers as the source it is.
    bool shouldIgnoreUpdatesToThisTarget() const override { return PixOutput::shouldIgnoreUpdatesToThisTarget(); }
    bool enabled() const override { return PixOutput::enabled(); }
    // Asked as a target, it passes the request down as a source.
    void conserveMemoryForNextFrame() override { PixOutput::conserveMemoryForNextFrame(); }

protected:
    PixFilterNode() = default;
};

} // namespace zm
