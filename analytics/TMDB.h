#pragma once

#include "analytics/TmDeviceKey.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zm {

class TMSession;
class TMEvent;

// The analytics client's store: one SQLite file per API secret and application, in Application
// Support, holding the records not yet sent (sessions, events) and the device's keys. Records are
// written before they are sent and deleted when they come back finished, so what a process could not
// send is read back at its next start. Connections write ahead (WAL) with synchronous NORMAL: a
// committed row survives the game crashing. Several stores, of one process or of several, may be
// open on one file at once.
//
// A store that opens the file while no other store of the process has it open checks it first: a file
// SQLite finds damaged is set
// aside as FILE.unreadable (numbered after the first) and a fresh one started, with the device keys
// that could still be read from the old one. A file that cannot be written is said once in the log.
//
// Thread safety: one store object is used by one thread at a time.
class TMDB {
public:
    TMDB(std::string key, std::string secret);
    ~TMDB();
    TMDB(const TMDB&) = delete;
    TMDB& operator=(const TMDB&) = delete;

    const std::string& key() const { return m_key; }
    const std::string& secret() const { return m_secret; }

    // "Telemetry_" + SHA-1 hex of (secret + bundle identifier) + ".sqlite" in Application Support,
    // whose folder is made when missing.
    std::filesystem::path filePath() const;
    bool open();
    // Fails, changing nothing, while the connection cannot close.
    bool close();
    // Closes, removes the file and closes every other store on it.
    bool remove();
    // A row dated before 1970 or after the present moment.
    bool isCorrupted();

    bool sessionReady();
    bool eventReady();
    bool deviceReady();

    // Record statements: a write sets the record's row id (left 0 on failure).
    bool writeSession(TMSession& session);
    bool writeEvent(TMEvent& event);
    bool deleteSession(int64_t rowId);
    bool deleteEvent(int64_t rowId);
    // Several event writes in one transaction; answers how many were written.
    size_t writeEvents(const std::vector<TMEvent*>& events);

    // Stored records in row order, made with this store's key and secret.
    std::vector<std::shared_ptr<TMSession>> sessions();
    std::vector<std::shared_ptr<TMEvent>> events();
    // At most `most` of them, from row `fromRow` on.
    std::vector<std::shared_ptr<TMEvent>> events(int64_t fromRow, size_t most);

    std::vector<TmDeviceKey> deviceKeys();
    // Replaces the stored keys in one transaction; a failure leaves the old ones.
    void setDeviceKeys(const std::vector<TmDeviceKey>& keys);

    // The open connection, for tests that hold it busy.
    sqlite3* connection() const { return m_connection; }

private:
    bool ready(bool& flag, const char* createStatement);
    // Logs, once a process, that the file cannot be written.
    void reportUnwritable(const std::string& reason);
    // The prepared statement of `sql`, kept for the connection's life; null when it cannot be prepared.
    sqlite3_stmt* statement(const char* sql);
    bool execute(const char* sql);
    void finalizeStatements();
    bool insertEvent(TMEvent& event);
    std::vector<std::shared_ptr<TMEvent>> readEvents(sqlite3_stmt* select);

    const std::string m_key;
    const std::string m_secret;
    sqlite3* m_connection = nullptr;
    std::map<std::string, sqlite3_stmt*> m_statements;
    std::filesystem::path m_registeredPath;
    bool m_sessionReady = false;
    bool m_eventReady = false;
    bool m_deviceReady = false;
};

} // namespace zm
