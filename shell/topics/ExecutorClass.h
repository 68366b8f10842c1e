#pragma once

#include <string_view>

namespace zm {

// The demonstration players that the help button can start, one per way of solving. A topic names
// the player for each difficulty; the players themselves live with the playground, which makes an
// instance for a class name through the factory it registered under that name.
enum class ExecutorClass {
    MoveAndTapExecutor,
    FactorizeExecutor,
    EliminationExecutor,
    EquationExecutor,
    DistributionExecutor,
    ExponentExecutor,
    CancelExecutor,
};

// The class's name, under which the playground registers its factory ("MoveAndTapExecutor").
std::string_view executorClassName(ExecutorClass executorClass);

} // namespace zm
