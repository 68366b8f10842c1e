#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"
#include "tools/service-host/ServiceDatabase.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>


namespace zm {

// A device key as the service files it: key space and unique id.
struct ServiceKey {
    std::string keySpace;
    std::string uniqueId;
    friend bool operator==(const ServiceKey&, const ServiceKey&) = default;
};

// What the analytics service holds, in one SQLite file: devices with their keys, sessions, events and
// every request as it came. A session or an event sent again is held once.
//
// Thread safety: every operation may be called from any thread.
class ServiceStore {
public:
    struct Device {
        int64_t id = 0;
        ServiceKey canonical;
        std::string signature;
        std::vector<ServiceKey> otherKeys;
        int64_t sessions = 0;
    };

    struct Session {
        std::string account;
        std::string sessionId;
        int64_t deviceId = 0;
        // Every parameter of the start request but the signature, in order.
        core::Dictionary details;
    };

    struct Event {
        std::string account;
        std::string sessionId;
        std::string name;
        std::string arguments;
        double delta = 0;
        double timestamp = 0; // batched events only
        double lag = 0;
        bool batched = false;
    };

    // Opens (makes) the file; ":memory:" keeps everything in memory.
    static core::Result<std::unique_ptr<ServiceStore>> open(const std::string& path);
    ~ServiceStore();
    ServiceStore(const ServiceStore&) = delete;
    ServiceStore& operator=(const ServiceStore&) = delete;

    // The device that holds the key, or a new one with it as its canonical key.
    Device deviceFor(const std::string& account, const ServiceKey& key);
    void addKeys(int64_t deviceId, const std::vector<ServiceKey>& keys);
    // Whether the session is held already, and if so whether it was its device's first.
    std::optional<bool> heldSession(const std::string& account, const std::string& sessionId);
    void addSession(const Session& session);
    // Keeps the event unless it is held already (sent again); answers whether it was new.
    bool addEvent(const Event& event);
    void addRequest(const std::string& endpoint, const std::string& query);

    // Everything held: {"devices": [...], "sessions": [...], "events": [...], "requests": [...]}.
    core::Value listing();

private:
    explicit ServiceStore(ServiceDatabase database);
    std::optional<Device> findDevice(const std::string& account, const ServiceKey& key);
    Device readDevice(int64_t id);

    std::mutex m_lock;
    ServiceDatabase m_database; // guarded by m_lock
};

} // namespace zm
