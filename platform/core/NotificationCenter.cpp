#include "platform/core/NotificationCenter.h"

#include "platform/core/DispatchQueue.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace core {

struct NotificationCenter::Entry {
    Entry(std::string observedName, const void* observedSender, Handler observer,
          std::shared_ptr<DispatchQueue> deliveryQueue)
        : name(std::move(observedName))
        , sender(observedSender)
        , handler(std::move(observer))
        , queue(std::move(deliveryQueue)) {}

    const std::string name;
    const void* const sender;
    const Handler handler;
    const std::shared_ptr<DispatchQueue> queue;
    std::atomic<bool> active{true};

    void deliver(const Notification& notification) const {
        if (active.load() && handler)
            handler(notification);
    }
};

struct NotificationCenter::Registry {
    std::mutex mutex;
    std::unordered_map<std::string, std::vector<std::shared_ptr<Entry>>> observers;

    void remove(const std::shared_ptr<Entry>& entry) {
        std::lock_guard lock(mutex);
        const auto found = observers.find(entry->name);
        if (found == observers.end())
            return;
        std::erase(found->second, entry);
        if (found->second.empty())
            observers.erase(found);
    }
};

NotificationCenter::NotificationCenter()
    : m_registry(std::make_shared<Registry>()) {}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter() {
    // Never destroyed: observers held in other statics may end after it would have.
    static auto* center = new NotificationCenter;
    return *center;
}

NotificationCenter::Observation NotificationCenter::addObserver(std::string name, const void* sender,
                                                                Handler handler,
                                                                std::shared_ptr<DispatchQueue> queue) {
    auto entry = std::make_shared<Entry>(std::move(name), sender, std::move(handler), std::move(queue));
    {
        std::lock_guard lock(m_registry->mutex);
        m_registry->observers[entry->name].push_back(entry);
    }
    return Observation(m_registry, std::move(entry));
}

void NotificationCenter::post(const Notification& notification) {
    std::vector<std::shared_ptr<Entry>> observers;
    {
        std::lock_guard lock(m_registry->mutex);
        const auto found = m_registry->observers.find(notification.name);
        if (found == m_registry->observers.end())
            return;
        observers = found->second;
    }
    for (const auto& entry : observers) {
        if (entry->sender && entry->sender != notification.sender)
            continue;
        if (entry->queue)
            entry->queue->async([entry, notification] { entry->deliver(notification); });
        else
            entry->deliver(notification);
    }
}

void NotificationCenter::post(std::string name, const void* sender, Value userInfo) {
    post(Notification{std::move(name), sender, std::move(userInfo)});
}

NotificationCenter::Observation::Observation(std::weak_ptr<Registry> registry, std::shared_ptr<Entry> entry)
    : m_registry(std::move(registry))
    , m_entry(std::move(entry)) {}

NotificationCenter::Observation& NotificationCenter::Observation::operator=(Observation&& other) noexcept {
    if (this != &other) {
        reset();
        m_registry = std::move(other.m_registry);
        m_entry = std::move(other.m_entry);
    }
    return *this;
}

NotificationCenter::Observation::~Observation() {
    reset();
}

void NotificationCenter::Observation::reset() {
    if (!m_entry)
        return;
    m_entry->active.store(false);
    if (const auto registry = m_registry.lock())
        registry->remove(m_entry);
    m_entry = nullptr;
    m_registry.reset();
}

} // namespace core
