#include "playground/executors/ExecutorRegistry.h"

#include "playground/executors/CancelExecutor.h"
#include "playground/executors/DistributionExecutor.h"
#include "playground/executors/EliminationExecutor.h"
#include "playground/executors/EquationExecutor.h"
#include "playground/executors/ExponentExecutor.h"
#include "playground/executors/FactorizeExecutor.h"
#include "playground/executors/IntroEliminateExecutor.h"
#include "playground/executors/IntroFaultyAdder.h"
#include "playground/executors/IntroFaultyEliminator.h"
#include "playground/executors/IntroMixTapExecutor.h"
#include "playground/executors/MoveAndTapExecutor.h"

#include <array>
#include <utility>

namespace zm {

namespace {

using Factory = std::shared_ptr<AIExecutor> (*)(const std::shared_ptr<PlaygroundView>&,
                                                const std::shared_ptr<ui::View>&,
                                                const std::shared_ptr<ui::View>&);

template <class T>
std::shared_ptr<AIExecutor> make(const std::shared_ptr<PlaygroundView>& playgroundView,
                                 const std::shared_ptr<ui::View>& restingView,
                                 const std::shared_ptr<ui::View>& containerView) {
    return AIExecutor::create<T>(playgroundView, restingView, containerView);
}

constexpr std::array<std::pair<std::string_view, Factory>, 11> kExecutors{{
    {"MoveAndTapExecutor", make<MoveAndTapExecutor>},
    {"FactorizeExecutor", make<FactorizeExecutor>},
    {"EliminationExecutor", make<EliminationExecutor>},
    {"EquationExecutor", make<EquationExecutor>},
    {"DistributionExecutor", make<DistributionExecutor>},
    {"ExponentExecutor", make<ExponentExecutor>},
    {"CancelExecutor", make<CancelExecutor>},
    {"IntroMixTapExecutor", make<IntroMixTapExecutor>},
    {"IntroEliminateExecutor", make<IntroEliminateExecutor>},
    {"IntroFaultyAdder", make<IntroFaultyAdder>},
    {"IntroFaultyEliminator", make<IntroFaultyEliminator>},
}};

} // namespace

std::shared_ptr<AIExecutor> makeExecutor(std::string_view className,
                                         const std::shared_ptr<PlaygroundView>& playgroundView,
                                         const std::shared_ptr<ui::View>& restingView,
                                         const std::shared_ptr<ui::View>& containerView) {
    for (const auto& [name, factory] : kExecutors) {
        if (name == className)
            return factory(playgroundView, restingView, containerView);
    }
    return nullptr;
}

} // namespace zm
