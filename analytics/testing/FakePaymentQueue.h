#pragma once

#include "analytics/TmStore.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace zm::testing {

// A payment queue whose products requests the test answers.
class FakePaymentQueue : public PaymentQueue {
public:
    void addTransactionObserver() override { observed = true; }
    void removeTransactionObserver() override { observed = false; }
    void requestProducts(const std::set<std::string>& identifiers,
                         std::function<void(const std::vector<TmProduct>&)> response) override {
        requested.push_back(identifiers);
        pending = std::move(response);
    }
    void answer(const std::vector<TmProduct>& products) {
        if (pending)
            pending(products);
    }

    bool observed = false;
    std::vector<std::set<std::string>> requested;
    std::function<void(const std::vector<TmProduct>&)> pending;
};

} // namespace zm::testing
