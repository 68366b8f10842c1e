#include "platform/ui/Transaction.h"

#include "platform/ui/AnimationEngine.h"

#include <cassert>
#include <memory>
#include <vector>

namespace ui {

namespace {

struct OpenTransaction {
    std::shared_ptr<AnimationGroup> group;
    std::shared_ptr<std::function<void()>> completion;
};

std::vector<OpenTransaction>& openTransactions() {
    static std::vector<OpenTransaction> transactions;
    return transactions;
}

AnimationEngine& engine() {
    AnimationEngine* engine = AnimationEngine::current();
    assert(engine && "transactions need a running AnimationEngine");
    return *engine;
}

} // namespace

void Transaction::begin() {
    auto completion = std::make_shared<std::function<void()>>();
    auto group = std::make_shared<AnimationGroup>([completion](bool) {
        if (*completion)
            (*completion)();
    });
    engine().open(group, nullptr);
    openTransactions().push_back({std::move(group), std::move(completion)});
}

void Transaction::setCompletion(std::function<void()> completion) {
    assert(!openTransactions().empty() && "setCompletion outside a transaction");
    if (!openTransactions().empty())
        *openTransactions().back().completion = std::move(completion);
}

void Transaction::commit() {
    assert(!openTransactions().empty() && "commit without begin");
    if (openTransactions().empty())
        return;
    OpenTransaction transaction = std::move(openTransactions().back());
    openTransactions().pop_back();
    engine().close();
    transaction.group->close(0);
}

} // namespace ui
