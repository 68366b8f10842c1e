#pragma once

#include "platform/core/Result.h"
#include "platform/core/Value.h"
#include "tools/service-host/ServiceDatabase.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>


namespace zm {

// What the crash service holds, in one SQLite file: the applications registered (by API key and
// bundle identifier), every request as it came (with its identification and event headers
// decrypted), and the reports uploaded.
//
// Thread safety: every operation may be called from any thread.
class CrashServiceStore {
public:
    struct Request {
        std::string endpoint; // "settings", "configure", "report"
        std::string method;
        std::string target;   // path and query
        std::string apiKey;
        std::string identification; // decrypted X-CRASHLOG-D, "" when absent
        std::string events;         // decrypted X-CRASHLOG-E, "" when absent
        int status = 0;             // the answer's
    };

    struct Report {
        std::string apiKey;
        std::string bundle;
        std::string identifier;
        bool invalid = false;
        std::string bytes;
        // What could be read of the session: {"signal": ..., "crashed_thread": ...}, or nothing.
        std::optional<core::Dictionary> summary;
    };

    // Opens (makes) the file; ":memory:" keeps everything in memory.
    static core::Result<std::unique_ptr<CrashServiceStore>> open(const std::string& path);
    ~CrashServiceStore();
    CrashServiceStore(const CrashServiceStore&) = delete;
    CrashServiceStore& operator=(const CrashServiceStore&) = delete;

    // The application's registration (its form fields), nothing before it is configured.
    std::optional<core::Dictionary> app(const std::string& apiKey, const std::string& bundle);
    // Registers or replaces the application's fields.
    void configure(const std::string& apiKey, const std::string& bundle, const core::Dictionary& fields);
    void addRequest(const Request& request);
    void addReport(const Report& report);

    // Everything held: {"apps": [...], "requests": [...], "reports": [...]} (reports without bytes).
    core::Value listing();

private:
    explicit CrashServiceStore(ServiceDatabase database);

    std::mutex m_lock;
    ServiceDatabase m_database; // guarded by m_lock
};

} // namespace zm
