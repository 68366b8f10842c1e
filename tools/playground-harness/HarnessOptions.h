#pragma once

#include "platform/core/Result.h"
#include "platform/host/ScriptPlayer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zm {

// The command line of the playground harness:
//   playground-harness [--device phone|tablet] [--scale 1|2] [--headless --out DIR [--script FILE]]
//   EXPRESSION
//   playground-harness ... --long-division 'D)N[ PATTERN]' [--remainders] [--demo] [--worked N]
// Without --headless the expression (or the long division) opens in a window, played with the mouse.
struct HarnessOptions : host::HarnessRunOptions {
    std::string expression;
    // A long division instead of an expression: its text, whether a remainder ends it, whether the
    // next move is acted out, and how many of its rows are shown already worked.
    std::optional<std::string> longDivision;
    bool remainders = false;
    bool demo = false;
    uint32_t worked = 0;

    static core::Result<HarnessOptions> parse(std::span<const std::string> arguments);
    static const char* usage();
};

} // namespace zm
