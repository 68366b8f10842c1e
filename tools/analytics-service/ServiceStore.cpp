#include "tools/analytics-service/ServiceStore.h"

#include "platform/core/Digest.h"
#include "platform/core/Json.h"

#include <sqlite3.h>

namespace zm {

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS devices (id INTEGER PRIMARY KEY, account TEXT NOT NULL, signature TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS device_keys (device INTEGER NOT NULL, keyspace TEXT NOT NULL, uniqueid TEXT NOT NULL,
    canonical INTEGER NOT NULL, UNIQUE (device, keyspace, uniqueid));
CREATE TABLE IF NOT EXISTS sessions (serial INTEGER PRIMARY KEY, account TEXT, sid TEXT, device INTEGER, details TEXT);
CREATE TABLE IF NOT EXISTS events (serial INTEGER PRIMARY KEY, account TEXT, sid TEXT, name TEXT, args TEXT,
    delta_t FLOAT, unix_t FLOAT, lag FLOAT, batched INTEGER);
CREATE TABLE IF NOT EXISTS requests (serial INTEGER PRIMARY KEY, endpoint TEXT, query TEXT);
CREATE INDEX IF NOT EXISTS sessions_by_id ON sessions(account, sid);
CREATE INDEX IF NOT EXISTS events_by_record ON events(account, sid, name, delta_t, unix_t);
)";

core::Value keyValue(const ServiceKey& key) {
    return core::Dictionary{{"k", key.keySpace}, {"v", key.uniqueId}};
}

} // namespace

core::Result<std::unique_ptr<ServiceStore>> ServiceStore::open(const std::string& path) {
    auto database = openServiceDatabase("analytics-service", path, kSchema);
    if (!database)
        return database.error();
    return std::unique_ptr<ServiceStore>(new ServiceStore(std::move(database).value()));
}

ServiceStore::ServiceStore(ServiceDatabase database)
    : m_database(std::move(database)) {}

ServiceStore::~ServiceStore() = default;

std::optional<ServiceStore::Device> ServiceStore::findDevice(const std::string& account, const ServiceKey& key) {
    ServiceStatement find(m_database, "SELECT devices.id FROM devices JOIN device_keys ON device_keys.device = devices.id "
                                 "WHERE devices.account = ? AND keyspace = ? AND uniqueid = ?");
    find.bind(1, account).bind(2, key.keySpace).bind(3, key.uniqueId);
    if (!find.step())
        return std::nullopt;
    return readDevice(find.integer(0));
}

ServiceStore::Device ServiceStore::readDevice(int64_t id) {
    Device device;
    device.id = id;
    ServiceStatement signature(m_database, "SELECT signature FROM devices WHERE id = ?");
    signature.bind(1, id);
    if (signature.step())
        device.signature = signature.text(0);
    ServiceStatement keys(m_database, "SELECT keyspace, uniqueid, canonical FROM device_keys WHERE device = ? ORDER BY rowid");
    keys.bind(1, id);
    while (keys.step()) {
        ServiceKey key{keys.text(0), keys.text(1)};
        if (keys.integer(2))
            device.canonical = std::move(key);
        else
            device.otherKeys.push_back(std::move(key));
    }
    ServiceStatement sessions(m_database, "SELECT count(*) FROM sessions WHERE device = ?");
    sessions.bind(1, id);
    if (sessions.step())
        device.sessions = sessions.integer(0);
    return device;
}

ServiceStore::Device ServiceStore::deviceFor(const std::string& account, const ServiceKey& key) {
    std::lock_guard guard(m_lock);
    if (auto device = findDevice(account, key))
        return *device;
    // The service's signature of a key: anything the client cannot make up, and the same every time.
    const std::string signature = core::sha1Hex(account + "/" + key.keySpace + "/" + key.uniqueId).substr(0, 24);
    ServiceStatement device(m_database, "INSERT INTO devices(account, signature) VALUES(?, ?)");
    device.bind(1, account).bind(2, signature).step();
    const int64_t id = sqlite3_last_insert_rowid(m_database.get());
    ServiceStatement canonical(m_database, "INSERT INTO device_keys(device, keyspace, uniqueid, canonical) VALUES(?, ?, ?, 1)");
    canonical.bind(1, id).bind(2, key.keySpace).bind(3, key.uniqueId).step();
    return readDevice(id);
}

void ServiceStore::addKeys(int64_t deviceId, const std::vector<ServiceKey>& keys) {
    std::lock_guard guard(m_lock);
    for (const ServiceKey& key : keys) {
        ServiceStatement add(m_database,
                      "INSERT OR IGNORE INTO device_keys(device, keyspace, uniqueid, canonical) VALUES(?, ?, ?, 0)");
        add.bind(1, deviceId).bind(2, key.keySpace).bind(3, key.uniqueId).step();
    }
}

std::optional<bool> ServiceStore::heldSession(const std::string& account, const std::string& sessionId) {
    std::lock_guard guard(m_lock);
    ServiceStatement find(m_database, "SELECT serial, device FROM sessions WHERE account = ? AND sid = ? ORDER BY serial");
    find.bind(1, account).bind(2, sessionId);
    if (!find.step())
        return std::nullopt;
    ServiceStatement earlier(m_database, "SELECT count(*) FROM sessions WHERE device = ? AND serial < ?");
    earlier.bind(1, find.integer(1)).bind(2, find.integer(0));
    return earlier.step() && earlier.integer(0) == 0;
}

void ServiceStore::addSession(const Session& session) {
    std::lock_guard guard(m_lock);
    ServiceStatement add(m_database, "INSERT INTO sessions(account, sid, device, details) VALUES(?, ?, ?, ?)");
    add.bind(1, session.account).bind(2, session.sessionId).bind(3, session.deviceId);
    add.bind(4, core::toJson(core::Value(session.details))).step();
}

bool ServiceStore::addEvent(const Event& event) {
    std::lock_guard guard(m_lock);
    // A record sent again (its answer lost when the game ended) is the same session, name, arguments
    // and time: a batched event's own timestamp, a single one's delta.
    ServiceStatement held(m_database, "SELECT 1 FROM events WHERE account = ? AND sid = ? AND name = ? AND delta_t = ? "
                                      "AND unix_t = ? AND batched = ? AND args = ?");
    held.bind(1, event.account).bind(2, event.sessionId).bind(3, event.name).bind(4, event.delta);
    held.bind(5, event.timestamp).bind(6, int64_t{event.batched}).bind(7, event.arguments);
    if (held.step())
        return false;
    ServiceStatement add(m_database, "INSERT INTO events(account, sid, name, args, delta_t, unix_t, lag, batched) "
                                "VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    add.bind(1, event.account).bind(2, event.sessionId).bind(3, event.name).bind(4, event.arguments);
    add.bind(5, event.delta).bind(6, event.timestamp).bind(7, event.lag).bind(8, int64_t{event.batched}).step();
    return true;
}

void ServiceStore::addRequest(const std::string& endpoint, const std::string& query) {
    std::lock_guard guard(m_lock);
    ServiceStatement add(m_database, "INSERT INTO requests(endpoint, query) VALUES(?, ?)");
    add.bind(1, endpoint).bind(2, query).step();
}

core::Value ServiceStore::listing() {
    std::lock_guard guard(m_lock);
    core::Array devices;
    ServiceStatement deviceRows(m_database, "SELECT id, account FROM devices ORDER BY id");
    while (deviceRows.step()) {
        const Device device = readDevice(deviceRows.integer(0));
        core::Array others;
        for (const ServiceKey& key : device.otherKeys)
            others.push_back(keyValue(key));
        devices.push_back(core::Dictionary{{"id", device.id},
                                           {"account", deviceRows.text(1)},
                                           {"key", keyValue(device.canonical)},
                                           {"signature", device.signature},
                                           {"keys", std::move(others)}});
    }
    core::Array sessions;
    ServiceStatement sessionRows(m_database, "SELECT account, sid, device, details FROM sessions ORDER BY serial");
    while (sessionRows.step()) {
        core::Result<core::Value> details = core::parseJson(sessionRows.text(3));
        sessions.push_back(core::Dictionary{{"account", sessionRows.text(0)},
                                            {"session", sessionRows.text(1)},
                                            {"device", sessionRows.integer(2)},
                                            {"details", details ? std::move(details.value()) : core::Value()}});
    }
    core::Array events;
    ServiceStatement eventRows(m_database,
                        "SELECT account, sid, name, args, delta_t, unix_t, lag, batched FROM events ORDER BY serial");
    while (eventRows.step()) {
        events.push_back(core::Dictionary{{"account", eventRows.text(0)},
                                          {"session", eventRows.text(1)},
                                          {"name", eventRows.text(2)},
                                          {"arguments", eventRows.text(3)},
                                          {"delta", eventRows.real(4)},
                                          {"timestamp", eventRows.real(5)},
                                          {"lag", eventRows.real(6)},
                                          {"batched", eventRows.integer(7) != 0}});
    }
    core::Array requests;
    ServiceStatement requestRows(m_database, "SELECT endpoint, query FROM requests ORDER BY serial");
    while (requestRows.step())
        requests.push_back(core::Dictionary{{"endpoint", requestRows.text(0)}, {"query", requestRows.text(1)}});
    return core::Dictionary{{"devices", std::move(devices)},
                            {"sessions", std::move(sessions)},
                            {"events", std::move(events)},
                            {"requests", std::move(requests)}};
}

} // namespace zm
