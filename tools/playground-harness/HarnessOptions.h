#pragma once

#include "platform/core/Result.h"
#include "platform/host/ScriptPlayer.h"

#include <span>
#include <string>

namespace zm {

// The command line of the playground harness:
//   playground-harness [--device phone|tablet] [--scale 1|2] [--headless --out DIR [--script FILE]]
//   EXPRESSION
// Without --headless the expression opens in a window, played with the mouse.
struct HarnessOptions : host::HarnessRunOptions {
    std::string expression;

    static core::Result<HarnessOptions> parse(std::span<const std::string> arguments);
    static const char* usage();
};

} // namespace zm
