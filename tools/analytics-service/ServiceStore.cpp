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
)";

// One prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* connection, const char* sql) { sqlite3_prepare_v2(connection, sql, -1, &m_statement, nullptr); }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, const std::string& text) {
        sqlite3_bind_text(m_statement, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int index, int64_t number) {
        sqlite3_bind_int64(m_statement, index, number);
        return *this;
    }
    Statement& bind(int index, double number) {
        sqlite3_bind_double(m_statement, index, number);
        return *this;
    }
    // True while a row is there.
    bool step() { return m_statement && sqlite3_step(m_statement) == SQLITE_ROW; }

    std::string text(int column) const {
        const auto* text = sqlite3_column_text(m_statement, column);
        return text ? reinterpret_cast<const char*>(text) : "";
    }
    int64_t integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }

private:
    sqlite3_stmt* m_statement = nullptr;
};

core::Value keyValue(const ServiceKey& key) {
    return core::Dictionary{{"k", key.keySpace}, {"v", key.uniqueId}};
}

} // namespace

core::Result<std::unique_ptr<ServiceStore>> ServiceStore::open(const std::string& path) {
    sqlite3* connection = nullptr;
    if (sqlite3_open(path.c_str(), &connection) != SQLITE_OK) {
        std::string message = connection ? sqlite3_errmsg(connection) : "out of memory";
        sqlite3_close(connection);
        return core::Error{"analytics-service", 1, "cannot open " + path + ": " + message, {}};
    }
    sqlite3_busy_timeout(connection, 5000);
    char* error = nullptr;
    if (sqlite3_exec(connection, kSchema, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        sqlite3_close(connection);
        return core::Error{"analytics-service", 2, path + " is not a store of the service: " + message, {}};
    }
    return std::unique_ptr<ServiceStore>(new ServiceStore(connection));
}

ServiceStore::ServiceStore(sqlite3* connection)
    : m_connection(connection) {}

ServiceStore::~ServiceStore() {
    sqlite3_close(m_connection);
}

std::optional<ServiceStore::Device> ServiceStore::findDevice(const std::string& account, const ServiceKey& key) {
    Statement find(m_connection, "SELECT devices.id FROM devices JOIN device_keys ON device_keys.device = devices.id "
                                 "WHERE devices.account = ? AND keyspace = ? AND uniqueid = ?");
    find.bind(1, account).bind(2, key.keySpace).bind(3, key.uniqueId);
    if (!find.step())
        return std::nullopt;
    return readDevice(find.integer(0));
}

ServiceStore::Device ServiceStore::readDevice(int64_t id) {
    Device device;
    device.id = id;
    Statement signature(m_connection, "SELECT signature FROM devices WHERE id = ?");
    signature.bind(1, id);
    if (signature.step())
        device.signature = signature.text(0);
    Statement keys(m_connection, "SELECT keyspace, uniqueid, canonical FROM device_keys WHERE device = ? ORDER BY rowid");
    keys.bind(1, id);
    while (keys.step()) {
        ServiceKey key{keys.text(0), keys.text(1)};
        if (keys.integer(2))
            device.canonical = std::move(key);
        else
            device.otherKeys.push_back(std::move(key));
    }
    Statement sessions(m_connection, "SELECT count(*) FROM sessions WHERE device = ?");
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
    Statement device(m_connection, "INSERT INTO devices(account, signature) VALUES(?, ?)");
    device.bind(1, account).bind(2, signature).step();
    const int64_t id = sqlite3_last_insert_rowid(m_connection);
    Statement canonical(m_connection, "INSERT INTO device_keys(device, keyspace, uniqueid, canonical) VALUES(?, ?, ?, 1)");
    canonical.bind(1, id).bind(2, key.keySpace).bind(3, key.uniqueId).step();
    return readDevice(id);
}

void ServiceStore::addKeys(int64_t deviceId, const std::vector<ServiceKey>& keys) {
    std::lock_guard guard(m_lock);
    for (const ServiceKey& key : keys) {
        Statement add(m_connection,
                      "INSERT OR IGNORE INTO device_keys(device, keyspace, uniqueid, canonical) VALUES(?, ?, ?, 0)");
        add.bind(1, deviceId).bind(2, key.keySpace).bind(3, key.uniqueId).step();
    }
}

void ServiceStore::addSession(const Session& session) {
    std::lock_guard guard(m_lock);
    Statement add(m_connection, "INSERT INTO sessions(account, sid, device, details) VALUES(?, ?, ?, ?)");
    add.bind(1, session.account).bind(2, session.sessionId).bind(3, session.deviceId);
    add.bind(4, core::toJson(core::Value(session.details))).step();
}

void ServiceStore::addEvent(const Event& event) {
    std::lock_guard guard(m_lock);
    Statement add(m_connection, "INSERT INTO events(account, sid, name, args, delta_t, unix_t, lag, batched) "
                                "VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    add.bind(1, event.account).bind(2, event.sessionId).bind(3, event.name).bind(4, event.arguments);
    add.bind(5, event.delta).bind(6, event.timestamp).bind(7, event.lag).bind(8, int64_t{event.batched}).step();
}

void ServiceStore::addRequest(const std::string& endpoint, const std::string& query) {
    std::lock_guard guard(m_lock);
    Statement add(m_connection, "INSERT INTO requests(endpoint, query) VALUES(?, ?)");
    add.bind(1, endpoint).bind(2, query).step();
}

core::Value ServiceStore::listing() {
    std::lock_guard guard(m_lock);
    core::Array devices;
    Statement deviceRows(m_connection, "SELECT id, account FROM devices ORDER BY id");
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
    Statement sessionRows(m_connection, "SELECT account, sid, device, details FROM sessions ORDER BY serial");
    while (sessionRows.step()) {
        core::Result<core::Value> details = core::parseJson(sessionRows.text(3));
        sessions.push_back(core::Dictionary{{"account", sessionRows.text(0)},
                                            {"session", sessionRows.text(1)},
                                            {"device", sessionRows.integer(2)},
                                            {"details", details ? std::move(details.value()) : core::Value()}});
    }
    core::Array events;
    Statement eventRows(m_connection,
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
    Statement requestRows(m_connection, "SELECT endpoint, query FROM requests ORDER BY serial");
    while (requestRows.step())
        requests.push_back(core::Dictionary{{"endpoint", requestRows.text(0)}, {"query", requestRows.text(1)}});
    return core::Dictionary{{"devices", std::move(devices)},
                            {"sessions", std::move(sessions)},
                            {"events", std::move(events)},
                            {"requests", std::move(requests)}};
}

} // namespace zm
