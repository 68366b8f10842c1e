#pragma once

#include "platform/core/Encoding.h"
#include "platform/core/Value.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zm {

// A purchase as the payment queue reports it. Every field may be missing, as on a platform that
// answers only some of them.
struct TmTransaction {
    static constexpr int kPurchased = 1;
    int state = 0;
    std::optional<std::string> identifier;
    std::optional<core::Date> date;
    std::optional<core::Bytes> receipt;
    bool restored = false; // it has an original transaction
    std::optional<std::string> productIdentifier;
    std::optional<int64_t> quantity;
};

// A product as a products request answers it.
struct TmProduct {
    std::optional<std::string> productIdentifier;
    std::optional<std::string> localizedTitle;
    std::optional<double> price;
    std::optional<std::string> currencyCode;
};

// The platform's payment queue and products requests. Linux has none: without one registered,
// observing stays off and product lookups do nothing. Tests register their own.
class PaymentQueue {
public:
    virtual ~PaymentQueue() = default;
    virtual void addTransactionObserver() = 0;
    virtual void removeTransactionObserver() = 0;
    // Asks for the products; `response` may come later, on any thread.
    virtual void requestProducts(const std::set<std::string>& identifiers,
                                 std::function<void(const std::vector<TmProduct>&)> response) = 0;
};

// Purchase tracking: completed purchases become analytics events, "__iapauto__" for those observed on
// the payment queue and "__iap__" for those the application reports. Events wait until the products
// request has told the product's name and price. Observation is switched on or off after each
// successful session start.
//
// Thread safety: any thread.
class TmStore {
public:
    static void setPaymentQueue(std::shared_ptr<PaymentQueue> queue);

    static void start();
    static void stop();
    static bool observing();
    static bool firesRestoredTransactions();
    static void setFiresRestoredTransactions(bool fires);
    // The facade's switch for automatic purchase tracking (on by default).
    static bool allowAutoIAPComplete();
    static void setAllowAutoIAPComplete(bool allow);

    // A purchase the application completed itself, with attributes of its own.
    static void handleManualTransaction(const TmTransaction& transaction, const core::Dictionary& attributes);
    // The payment queue's report of changed transactions.
    static void paymentQueueUpdatedTransactions(const std::vector<TmTransaction>& transactions);
    static void loadProducts();
    static void productsResponse(const std::vector<TmProduct>& products);

    // The dictionaries the events are made from; nothing when a needed value is missing.
    static std::optional<core::Dictionary> buildTransaction(const TmTransaction& transaction);
    static std::optional<core::Dictionary> buildProduct(const TmProduct& product);

    // For tests: no queue, nothing pending or known, observing off, both switches at their defaults.
    static void reset();
};

// Where the kit records events of its own ("__FBInstall", purchases): the facade's event recording
// once it runs; before that they are lost.
class TmEventSink {
public:
    using Recorder = std::function<void(const std::string& name, const core::Dictionary& arguments)>;
    static void setRecorder(Recorder recorder);
    static void record(const std::string& name, const core::Dictionary& arguments);
};

} // namespace zm
