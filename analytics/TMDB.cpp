#include "analytics/TMDB.h"

#include "analytics/TMRecords.h"
#include "analytics/TmClock.h"
#include "analytics/TmUtils.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"
#include "platform/core/Log.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>

#include <sqlite3.h>

namespace zm {

namespace {

constexpr const char* kCreateSessions =
    "CREATE TABLE IF NOT EXISTS sessions (serial INTEGER PRIMARY KEY, sid VARCHAR(255) NOT NULL, os_version "
    "VARCHAR(32), app_version VARCHAR(32), unix_t FLOAT NOT NULL)";
constexpr const char* kCreateEvents =
    "CREATE TABLE IF NOT EXISTS events (serial INTEGER PRIMARY KEY, sid VARCHAR(255) NOT NULL, name VARCHAR(32) NOT "
    "NULL, args TEXT, delta_t FLOAT, unix_t FLOAT NOT NULL)";
constexpr const char* kCreateDeviceKeys =
    "CREATE TABLE IF NOT EXISTS device_keys (keyspace TEXT PRIMARY KEY,uniqueid TEXT,canonical BOOLEAN)";
constexpr const char* kInsertSession = "INSERT INTO sessions(sid, os_version, app_version, unix_t) VALUES(?, ?, ?, ?)";
constexpr const char* kInsertEvent = "INSERT INTO events(sid, name, args, delta_t, unix_t) VALUES(?, ?, ?, ?, ?)";
constexpr const char* kDeleteSession = "DELETE FROM sessions WHERE serial = ?";
constexpr const char* kDeleteEvent = "DELETE FROM events WHERE serial = ?";
constexpr const char* kSelectSessions =
    "SELECT serial, sid, os_version, app_version, unix_t FROM sessions ORDER BY serial";
constexpr const char* kSelectEvents = "SELECT serial, sid, name, args, delta_t, unix_t FROM events ORDER BY serial";
constexpr const char* kSelectEventsFrom =
    "SELECT serial, sid, name, args, delta_t, unix_t FROM events WHERE serial >= ? ORDER BY serial LIMIT ?";
constexpr const char* kSelectDeviceKeys = "SELECT keyspace, uniqueid, canonical from device_keys";
constexpr const char* kInsertDeviceKey = "INSERT INTO device_keys(keyspace, uniqueid, canonical) VALUES(?, ?, ?)";
constexpr const char* kSelectTimes = "SELECT unix_t FROM sessions UNION ALL SELECT unix_t FROM events";
// Another connection holding the file's lock is waited for this long before a write gives up.
constexpr int kBusyMilliseconds = 5000;

// The stores open on each file, and the files this process found it cannot write.
struct Registry {
    std::mutex lock;
    std::map<std::filesystem::path, std::vector<TMDB*>> stores; // guarded by lock
    std::set<std::filesystem::path> unwritable;                 // guarded by lock
};

Registry& registry() {
    static Registry shared;
    return shared;
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string columnText(sqlite3_stmt* statement, int column, const char* fallback) {
    const auto* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : fallback;
}

bool damaged(int code) {
    return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

// Why SQLite finds the file damaged; nothing when it is sound, missing, or cannot be judged now (held
// by another program, say).
std::optional<std::string> damage(sqlite3* connection, int openCode) {
    if (openCode != SQLITE_OK)
        return damaged(openCode) ? std::optional(std::string(sqlite3_errstr(openCode))) : std::nullopt;
    sqlite3_stmt* check = nullptr;
    int code = sqlite3_prepare_v2(connection, "PRAGMA quick_check", -1, &check, nullptr);
    std::optional<std::string> found;
    if (code == SQLITE_OK && (code = sqlite3_step(check)) == SQLITE_ROW) {
        const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        if (!verdict || std::string_view(verdict) != "ok")
            found = verdict ? verdict : "the check gives no verdict";
    } else if (damaged(code)) {
        found = sqlite3_errmsg(connection);
    }
    sqlite3_finalize(check);
    return found;
}

// The device keys that can still be read from a damaged file.
std::vector<TmDeviceKey> salvageDeviceKeys(sqlite3* connection) {
    std::vector<TmDeviceKey> keys;
    // Reads past a header that claims more pages than the file has (a truncated file); nothing is written.
    sqlite3_exec(connection, "PRAGMA writable_schema=ON", nullptr, nullptr, nullptr);
    sqlite3_stmt* select = nullptr;
    if (sqlite3_prepare_v2(connection, "SELECT keyspace, uniqueid, canonical FROM device_keys", -1, &select, nullptr) ==
        SQLITE_OK) {
        while (sqlite3_step(select) == SQLITE_ROW) {
            const auto* space = reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
            const auto* id = reinterpret_cast<const char*>(sqlite3_column_text(select, 1));
            if (space && id)
                keys.emplace_back(space, id, "", sqlite3_column_int(select, 2) != 0);
        }
    }
    sqlite3_finalize(select);
    return keys;
}

// Sets a damaged store file aside (with its write-ahead log, so that the two still open together) for
// a fresh one; answers the device keys it still held.
std::vector<TmDeviceKey> healIfDamaged(const std::filesystem::path& path) {
    std::error_code missing;
    if (!std::filesystem::exists(path, missing))
        return {};
    sqlite3* connection = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr);
    const auto found = damage(connection, opened);
    std::vector<TmDeviceKey> keys = found && opened == SQLITE_OK ? salvageDeviceKeys(connection) : std::vector<TmDeviceKey>();
    sqlite3_close_v2(connection);
    if (!found)
        return {};
    const core::Result<std::filesystem::path> aside = core::setAsideUnreadable(path);
    if (!aside) {
        core::logf(core::LogLevel::Error, "analytics: the store %s is damaged (%s) and cannot be set aside (%s)",
                   path.c_str(), found->c_str(), aside.error().description.c_str());
        return {};
    }
    std::error_code ignored;
    std::filesystem::rename(path.string() + "-wal", aside->string() + "-wal", ignored);
    std::filesystem::remove(path.string() + "-shm", ignored);
    core::logf(core::LogLevel::Error, "analytics: the store %s is damaged (%s); a fresh one is started, the file is kept as %s%s",
               path.c_str(), found->c_str(), aside->c_str(), keys.empty() ? "" : ", its device key in the new one");
    return keys;
}

// Steps a write; resets the statement for its next use. Answers whether it was done.
bool stepWrite(sqlite3_stmt* statement) {
    const int result = sqlite3_step(statement);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return result == SQLITE_DONE || result == SQLITE_ROW;
}

} // namespace

TMDB::TMDB(std::string key, std::string secret)
    : m_key(std::move(key))
    , m_secret(std::move(secret)) {}

TMDB::~TMDB() {
    close();
    // A connection that could not close is given up with the store.
    finalizeStatements();
    if (m_connection)
        sqlite3_close_v2(m_connection);
}

std::filesystem::path TMDB::filePath() const {
    const std::filesystem::path folder = core::FileLocations::shared().applicationSupport;
    (void)core::createDirectories(folder);
    return folder / ("Telemetry_" + TmUtils::getSHA1Hex(m_secret + TmUtils::applicationBundleId()) + ".sqlite");
}

bool TMDB::open() {
    if (m_connection)
        return true;
    const std::filesystem::path path = filePath();
    std::vector<TmDeviceKey> salvaged;
    {
        Registry& shared = registry();
        std::lock_guard guard(shared.lock);
        auto& stores = shared.stores[path];
        // A store that opens the file while no other of the process has it open checks it first.
        if (std::all_of(stores.begin(), stores.end(), [&](TMDB* other) { return other == this; }))
            salvaged = healIfDamaged(path);
        if (std::find(stores.begin(), stores.end(), this) == stores.end())
            stores.push_back(this);
        m_registeredPath = path;
    }
    sqlite3* connection = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &connection,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        reportUnwritable(sqlite3_errstr(opened));
        sqlite3_close(connection);
        return false;
    }
    m_connection = connection;
    sqlite3_busy_timeout(m_connection, kBusyMilliseconds);
    execute("PRAGMA journal_mode=WAL");
    execute("PRAGMA synchronous=NORMAL");
    if (sqlite3_db_readonly(m_connection, "main") == 1)
        reportUnwritable("the file is read-only");
    if (!salvaged.empty())
        setDeviceKeys(salvaged);
    return true;
}

void TMDB::reportUnwritable(const std::string& reason) {
    {
        Registry& shared = registry();
        std::lock_guard guard(shared.lock);
        if (!shared.unwritable.insert(m_registeredPath).second)
            return;
    }
    core::logf(core::LogLevel::Error,
               "analytics: the store %s cannot be written (%s): unsent records are lost when the game ends, and "
               "the device is new to the service at every launch",
               m_registeredPath.c_str(), reason.c_str());
}

bool TMDB::close() {
    if (m_connection) {
        finalizeStatements();
        if (sqlite3_close(m_connection) != SQLITE_OK)
            return false;
        m_connection = nullptr;
    }
    m_sessionReady = m_eventReady = m_deviceReady = false;
    Registry& shared = registry();
    std::lock_guard guard(shared.lock);
    if (auto found = shared.stores.find(m_registeredPath); found != shared.stores.end()) {
        std::erase(found->second, this);
        if (found->second.empty())
            shared.stores.erase(found);
    }
    return true;
}

bool TMDB::remove() {
    const std::filesystem::path path = filePath();
    if (!close())
        return false;
    std::error_code error;
    if (!std::filesystem::remove(path, error) && error)
        return false;
    for (const char* suffix : {"-wal", "-shm"})
        std::filesystem::remove(path.string() + suffix, error);
    std::vector<TMDB*> others;
    {
        Registry& shared = registry();
        std::lock_guard guard(shared.lock);
        if (auto found = shared.stores.find(path); found != shared.stores.end())
            others = found->second;
    }
    for (TMDB* other : others)
        other->close();
    return true;
}

void TMDB::finalizeStatements() {
    for (auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
    m_statements.clear();
}

sqlite3_stmt* TMDB::statement(const char* sql) {
    if (const auto found = m_statements.find(sql); found != m_statements.end())
        return found->second;
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(m_connection, sql, -1, &prepared, nullptr) != SQLITE_OK) {
        sqlite3_finalize(prepared);
        return nullptr;
    }
    m_statements.emplace(sql, prepared);
    return prepared;
}

bool TMDB::execute(const char* sql) {
    char* error = nullptr;
    const bool done = sqlite3_exec(m_connection, sql, nullptr, nullptr, &error) == SQLITE_OK && !error;
    sqlite3_free(error);
    return done;
}

bool TMDB::ready(bool& flag, const char* createStatement) {
    if (!m_connection && !open()) {
        flag = false;
        return false;
    }
    if (!flag && !(flag = execute(createStatement))) {
        const int code = sqlite3_errcode(m_connection) & 0xff;
        if (code == SQLITE_READONLY || code == SQLITE_CANTOPEN || code == SQLITE_PERM || code == SQLITE_IOERR)
            reportUnwritable(sqlite3_errmsg(m_connection));
    }
    return flag;
}

bool TMDB::sessionReady() {
    return ready(m_sessionReady, kCreateSessions);
}

bool TMDB::eventReady() {
    return ready(m_eventReady, kCreateEvents);
}

bool TMDB::deviceReady() {
    return ready(m_deviceReady, kCreateDeviceKeys);
}

bool TMDB::writeSession(TMSession& session) {
    sqlite3_stmt* insert = sessionReady() ? statement(kInsertSession) : nullptr;
    if (!insert)
        return false;
    bindText(insert, 1, session.sessionId());
    bindText(insert, 2, session.osVersion());
    bindText(insert, 3, session.appVersion());
    sqlite3_bind_double(insert, 4, session.timestamp());
    if (!stepWrite(insert))
        return false;
    session.setRowId(sqlite3_last_insert_rowid(m_connection));
    return true;
}

bool TMDB::insertEvent(TMEvent& event) {
    sqlite3_stmt* insert = statement(kInsertEvent);
    if (!insert)
        return false;
    bindText(insert, 1, event.sessionId());
    bindText(insert, 2, event.name());
    bindText(insert, 3, event.arguments());
    sqlite3_bind_double(insert, 4, event.delta());
    sqlite3_bind_double(insert, 5, event.timestamp());
    if (!stepWrite(insert))
        return false;
    event.setRowId(sqlite3_last_insert_rowid(m_connection));
    return true;
}

bool TMDB::writeEvent(TMEvent& event) {
    return eventReady() && insertEvent(event);
}

size_t TMDB::writeEvents(const std::vector<TMEvent*>& events) {
    if (events.empty() || !eventReady())
        return 0;
    if (events.size() == 1 || !execute("BEGIN TRANSACTION"))
        return static_cast<size_t>(std::count_if(events.begin(), events.end(), [&](TMEvent* e) { return insertEvent(*e); }));
    size_t written = 0;
    for (TMEvent* event : events)
        written += insertEvent(*event);
    if (!execute("COMMIT TRANSACTION")) {
        execute("ROLLBACK TRANSACTION");
        for (TMEvent* event : events)
            event->setRowId(0);
        return 0;
    }
    return written;
}

bool TMDB::deleteSession(int64_t rowId) {
    sqlite3_stmt* remove = sessionReady() ? statement(kDeleteSession) : nullptr;
    if (!remove)
        return false;
    sqlite3_bind_int64(remove, 1, rowId);
    return stepWrite(remove);
}

bool TMDB::deleteEvent(int64_t rowId) {
    sqlite3_stmt* remove = eventReady() ? statement(kDeleteEvent) : nullptr;
    if (!remove)
        return false;
    sqlite3_bind_int64(remove, 1, rowId);
    return stepWrite(remove);
}

std::vector<std::shared_ptr<TMSession>> TMDB::sessions() {
    std::vector<std::shared_ptr<TMSession>> sessions;
    sqlite3_stmt* select = sessionReady() ? statement(kSelectSessions) : nullptr;
    if (!select)
        return sessions;
    while (sqlite3_step(select) == SQLITE_ROW) {
        auto session = std::make_shared<TMSession>(m_key, m_secret);
        session->setTimestamp(sqlite3_column_double(select, 4));
        session->setSessionId(columnText(select, 1, "unknown"));
        session->setRowId(sqlite3_column_int64(select, 0));
        session->setOsVersion(columnText(select, 2, "unknown"));
        session->setAppVersion(columnText(select, 3, "unknown"));
        sessions.push_back(std::move(session));
    }
    sqlite3_reset(select);
    return sessions;
}

std::vector<std::shared_ptr<TMEvent>> TMDB::events() {
    sqlite3_stmt* select = eventReady() ? statement(kSelectEvents) : nullptr;
    return select ? readEvents(select) : std::vector<std::shared_ptr<TMEvent>>();
}

std::vector<std::shared_ptr<TMEvent>> TMDB::events(int64_t fromRow, size_t most) {
    sqlite3_stmt* select = eventReady() ? statement(kSelectEventsFrom) : nullptr;
    if (!select)
        return {};
    sqlite3_bind_int64(select, 1, fromRow);
    sqlite3_bind_int64(select, 2, static_cast<sqlite3_int64>(most));
    return readEvents(select);
}

std::vector<std::shared_ptr<TMEvent>> TMDB::readEvents(sqlite3_stmt* select) {
    std::vector<std::shared_ptr<TMEvent>> events;
    while (sqlite3_step(select) == SQLITE_ROW) {
        auto event = std::make_shared<TMEvent>(m_key, m_secret, core::Dictionary{});
        event->setTimestamp(sqlite3_column_double(select, 5));
        event->setSessionId(columnText(select, 1, "unknown"));
        event->setRowId(sqlite3_column_int64(select, 0));
        event->setDelta(sqlite3_column_double(select, 4));
        event->setName(columnText(select, 2, "unknown"));
        event->setArguments(columnText(select, 3, "{}"));
        events.push_back(std::move(event));
    }
    sqlite3_reset(select);
    sqlite3_clear_bindings(select);
    return events;
}

std::vector<TmDeviceKey> TMDB::deviceKeys() {
    std::vector<TmDeviceKey> keys;
    sqlite3_stmt* select = deviceReady() ? statement(kSelectDeviceKeys) : nullptr;
    if (!select)
        return keys;
    while (sqlite3_step(select) == SQLITE_ROW) {
        if (sqlite3_column_type(select, 0) == SQLITE_NULL || sqlite3_column_type(select, 1) == SQLITE_NULL)
            continue;
        keys.emplace_back(columnText(select, 0, ""), columnText(select, 1, ""), "",
                          sqlite3_column_int(select, 2) != 0);
    }
    sqlite3_reset(select);
    return keys;
}

void TMDB::setDeviceKeys(const std::vector<TmDeviceKey>& keys) {
    if (!deviceReady())
        return;
    sqlite3_stmt* insert = nullptr;
    if (!execute("BEGIN TRANSACTION") || !(insert = statement(kInsertDeviceKey))) {
        execute("ROLLBACK TRANSACTION");
        return;
    }
    execute("DELETE FROM device_keys");
    for (const TmDeviceKey& key : keys) {
        bindText(insert, 1, key.keySpace());
        bindText(insert, 2, key.uniqueId());
        sqlite3_bind_int(insert, 3, key.canonical() ? 1 : 0);
        stepWrite(insert);
    }
    if (!execute("COMMIT TRANSACTION"))
        execute("ROLLBACK TRANSACTION");
}

bool TMDB::isCorrupted() {
    if (!m_connection && !open())
        return false;
    // Both tables, so that a file holding only one kind of record is checked too.
    sqlite3_stmt* select = sessionReady() && eventReady() ? statement(kSelectTimes) : nullptr;
    if (!select)
        return false;
    const double present = TmClock::now();
    bool corrupted = false;
    while (!corrupted && sqlite3_step(select) == SQLITE_ROW) {
        const double time = sqlite3_column_double(select, 0);
        corrupted = time < 0 || time > present;
    }
    sqlite3_reset(select);
    return corrupted;
}

} // namespace zm
