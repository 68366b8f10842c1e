#pragma once

#include "platform/core/Value.h"

#include <functional>
#include <memory>
#include <string>

namespace core {

class DispatchQueue;

// A named event with the object that posted it and details in a property-list value.
struct Notification {
    std::string name;
    // Identifies the poster; observers may listen to one poster only. Never dereferenced.
    const void* sender = nullptr;
    Value userInfo;
};

// Delivers posted notifications to the closures observing their name.
//
// A closure is called on the posting thread, during post(), or, when it was added with a queue, later
// on that queue. Observers of one name are called in the order they were added; an observer added
// during a post is not called for that post.
//
// Observing lasts as long as the Observation that addObserver() answers: destroying or resetting it
// ends it. After that no queued delivery runs, and a post that begins afterwards does not call it; only
// a post already calling it on another thread at that moment may still finish its call.
//
// Thread safety: every operation may be called from any thread.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;
    class Observation;

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // The centre of the process, through which the platform announces application and device events.
    static NotificationCenter& defaultCenter();

    // Calls `handler` for every notification called `name` from `sender` (nullptr: from any sender), on
    // the posting thread or, when `queue` is given, on `queue`.
    [[nodiscard]] Observation addObserver(std::string name, const void* sender, Handler handler,
                                          std::shared_ptr<DispatchQueue> queue = nullptr);

    void post(const Notification& notification);
    void post(std::string name, const void* sender = nullptr, Value userInfo = {});

    struct Entry;
    struct Registry;

private:
    std::shared_ptr<Registry> m_registry;
};

// The lifetime of one observer. Move-only; may outlive its centre.
class NotificationCenter::Observation {
public:
    Observation() = default;
    Observation(std::weak_ptr<Registry> registry, std::shared_ptr<Entry> entry);
    Observation(Observation&& other) noexcept = default;
    Observation& operator=(Observation&& other) noexcept;
    ~Observation();

    // Stops observing. Safe to call more than once.
    void reset();
    bool isActive() const { return m_entry != nullptr; }

private:
    std::weak_ptr<Registry> m_registry;
    std::shared_ptr<Entry> m_entry;
};

} // namespace core
