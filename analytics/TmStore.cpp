#include "analytics/TmStore.h"

#include "analytics/TmUtils.h"

#include <atomic>
#include <map>
#include <mutex>

namespace zm {

namespace {

struct Purchases {
    std::mutex lock;
    std::shared_ptr<PaymentQueue> queue;               // guarded by lock
    bool observing = false;                            // guarded by lock
    std::vector<core::Dictionary> pending;             // guarded by lock
    std::map<std::string, core::Dictionary> products;  // guarded by lock
};

Purchases& purchases() {
    static Purchases* shared = new Purchases;
    return *shared;
}

std::atomic<bool> g_firesRestored = false;
std::atomic<bool> g_allowAuto = true;

struct Sink {
    std::mutex lock;
    TmEventSink::Recorder recorder; // guarded by lock
};

Sink& sink() {
    static Sink* shared = new Sink;
    return *shared;
}

bool isRestored(const core::Dictionary& information) {
    const core::Value* restored = information.find("transactionIsRestored");
    return restored && restored->boolValue();
}

void enqueue(core::Dictionary information) {
    Purchases& state = purchases();
    std::lock_guard guard(state.lock);
    state.pending.push_back(std::move(information));
}

// The event of one pending purchase; dropped without product information.
void processTransaction(const core::Dictionary& entry) {
    std::optional<core::Dictionary> product;
    const std::string identifier = entry.find("productIdentifier")->stringValue();
    {
        Purchases& state = purchases();
        std::lock_guard guard(state.lock);
        if (const auto found = state.products.find(identifier); found != state.products.end())
            product = found->second;
    }
    if (!product)
        return;
    const bool restored = isRestored(entry);
    const core::Value* quantity = entry.find("productQuantity");
    core::Dictionary arguments{
        {"ps", "a"},
        {"pk", identifier},
        {"pn", product->find("productName")->stringValue()},
        {"pt", "o"},
        {"pc", ""},
        {"pcc", product->find("productCurrencyCode")->stringValue()},
        {"pq", quantity ? quantity->integerValue() : 0},
        {"pp", restored ? 0.0 : product->find("productPrice")->doubleValue()},
        {"ptc", restored},
        {"pti", entry.find("transactionIdentifier")->stringValue()},
        {"ptd", *entry.find("transactionDate")},
        {"ptr", entry.find("transactionReceipt")->stringValue()},
    };
    const core::Value* manual = entry.find("isManual");
    if (manual && manual->boolValue()) {
        core::Dictionary overlaid;
        if (const core::Value* attributes = entry.find("attributes"); attributes && attributes->asDictionary())
            overlaid = *attributes->asDictionary();
        for (auto& [key, value] : arguments.entries())
            overlaid.set(key, value);
        TmEventSink::record("__iap__", overlaid);
    } else {
        TmEventSink::record("__iapauto__", arguments);
    }
}

} // namespace

void TmStore::setPaymentQueue(std::shared_ptr<PaymentQueue> queue) {
    Purchases& state = purchases();
    std::lock_guard guard(state.lock);
    state.queue = std::move(queue);
}

void TmStore::start() {
    Purchases& state = purchases();
    std::lock_guard guard(state.lock);
    if (state.observing || !state.queue)
        return;
    state.observing = true;
    state.queue->addTransactionObserver();
}

void TmStore::stop() {
    Purchases& state = purchases();
    std::lock_guard guard(state.lock);
    if (!state.observing || !state.queue)
        return;
    state.observing = false;
    state.queue->removeTransactionObserver();
}

bool TmStore::observing() {
    Purchases& state = purchases();
    std::lock_guard guard(state.lock);
    return state.observing;
}

bool TmStore::firesRestoredTransactions() {
    return g_firesRestored;
}

void TmStore::setFiresRestoredTransactions(bool fires) {
    g_firesRestored = fires;
}

bool TmStore::allowAutoIAPComplete() {
    return g_allowAuto;
}

void TmStore::setAllowAutoIAPComplete(bool allow) {
    g_allowAuto = allow;
}

std::optional<core::Dictionary> TmStore::buildTransaction(const TmTransaction& transaction) {
    if (!transaction.identifier || !transaction.date || !transaction.receipt || !transaction.productIdentifier)
        return std::nullopt;
    core::Dictionary information{{"transactionIdentifier", *transaction.identifier},
                                 {"transactionDate", *transaction.date},
                                 {"transactionReceipt", TmUtils::base64Encode(core::asText(*transaction.receipt))},
                                 {"productIdentifier", *transaction.productIdentifier},
                                 {"productQuantity", transaction.quantity.value_or(0)}};
    if (transaction.restored)
        information.set("transactionIsRestored", true);
    return information;
}

std::optional<core::Dictionary> TmStore::buildProduct(const TmProduct& product) {
    if (!product.productIdentifier || !product.localizedTitle || !product.price || !product.currencyCode)
        return std::nullopt;
    return core::Dictionary{{"productIdentifier", *product.productIdentifier},
                            {"productName", *product.localizedTitle},
                            {"productPrice", *product.price},
                            {"productCurrencyCode", *product.currencyCode}};
}

void TmStore::handleManualTransaction(const TmTransaction& transaction, const core::Dictionary& attributes) {
    if (transaction.state == TmTransaction::kPurchased) {
        if (auto information = buildTransaction(transaction); information && !isRestored(*information)) {
            information->set("attributes", attributes);
            information->set("isManual", true);
            enqueue(std::move(*information));
        }
    }
    loadProducts();
}

void TmStore::paymentQueueUpdatedTransactions(const std::vector<TmTransaction>& transactions) {
    if (!observing())
        return;
    for (const TmTransaction& transaction : transactions) {
        if (transaction.state != TmTransaction::kPurchased)
            continue;
        auto information = buildTransaction(transaction);
        if (information && (!isRestored(*information) || firesRestoredTransactions()))
            enqueue(std::move(*information));
    }
    loadProducts();
}

void TmStore::loadProducts() {
    std::shared_ptr<PaymentQueue> queue;
    std::set<std::string> identifiers;
    {
        Purchases& state = purchases();
        std::lock_guard guard(state.lock);
        queue = state.queue;
        for (const core::Dictionary& entry : state.pending)
            identifiers.insert(entry.find("productIdentifier")->stringValue());
    }
    if (queue)
        queue->requestProducts(identifiers, [](const std::vector<TmProduct>& products) { productsResponse(products); });
}

void TmStore::productsResponse(const std::vector<TmProduct>& products) {
    std::vector<core::Dictionary> pending;
    {
        Purchases& state = purchases();
        std::lock_guard guard(state.lock);
        for (const TmProduct& product : products) {
            // A product that cannot be described is skipped.
            if (auto information = buildProduct(product))
                state.products[*product.productIdentifier] = std::move(*information);
        }
        pending.swap(state.pending);
    }
    for (const core::Dictionary& entry : pending)
        processTransaction(entry);
}

void TmStore::reset() {
    Purchases& state = purchases();
    {
        std::lock_guard guard(state.lock);
        state.queue.reset();
        state.observing = false;
        state.pending.clear();
        state.products.clear();
    }
    g_firesRestored = false;
    g_allowAuto = true;
}

void TmEventSink::setRecorder(Recorder recorder) {
    Sink& shared = sink();
    std::lock_guard guard(shared.lock);
    shared.recorder = std::move(recorder);
}

void TmEventSink::record(const std::string& name, const core::Dictionary& arguments) {
    Recorder recorder;
    {
        Sink& shared = sink();
        std::lock_guard guard(shared.lock);
        recorder = shared.recorder;
    }
    if (recorder)
        recorder(name, arguments);
}

} // namespace zm
