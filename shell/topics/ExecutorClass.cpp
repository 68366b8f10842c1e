#include "shell/topics/ExecutorClass.h"

namespace zm {

std::string_view executorClassName(ExecutorClass executorClass) {
    switch (executorClass) {
    case ExecutorClass::MoveAndTapExecutor:
        return "MoveAndTapExecutor";
    case ExecutorClass::FactorizeExecutor:
        return "FactorizeExecutor";
    case ExecutorClass::EliminationExecutor:
        return "EliminationExecutor";
    case ExecutorClass::EquationExecutor:
        return "EquationExecutor";
    case ExecutorClass::DistributionExecutor:
        return "DistributionExecutor";
    case ExecutorClass::ExponentExecutor:
        return "ExponentExecutor";
    case ExecutorClass::CancelExecutor:
        return "CancelExecutor";
    }
    return "CancelExecutor";
}

} // namespace zm
