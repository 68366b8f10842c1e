#pragma once

#include <memory>

namespace zm {

class ExprInputViewController;

// The screen that hosts the expression keyboard: it shows the keyboard screen a playground view
// starts and takes it away again when the keyboard is done.
class PlaygroundContainerInputDelegate {
public:
    virtual ~PlaygroundContainerInputDelegate() = default;

    virtual void addChildInputViewController(const std::shared_ptr<ExprInputViewController>& controller) = 0;
    virtual void
    removeChildInputViewController(const std::shared_ptr<ExprInputViewController>& controller) = 0;
};

} // namespace zm
