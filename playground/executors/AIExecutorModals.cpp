// The moves the automatic player makes inside the modal playgrounds its taps open.

#include "playground/PlaygroundExponents.h"
#include "playground/PlaygroundView.h"
#include "playground/executors/AIExecutor.h"

namespace zm {

bool AIExecutor::playModalMove() {
    const std::shared_ptr<PlaygroundView> view = playgroundView();
    const std::shared_ptr<Playground> modal = view ? view->modalPlayground() : nullptr;
    if (isExactly<PlaygroundExponents>(modal)) {
        executeExponents();
        return true;
    }
    return false;
}

} // namespace zm
