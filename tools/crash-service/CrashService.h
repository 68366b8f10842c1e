#pragma once

#include "platform/core/Value.h"
#include "tools/crash-service/CrashServiceStore.h"

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
}

namespace zm {

// The stand-in crash-reporting service. It checks each request's developer token and API key,
// decrypts the identification (D) and event (E) headers with the key the reporter derives, answers the
// settings request with a document whose URLs point at itself (the application's status "new" until it
// is configured), takes configurations and report uploads, and keeps all of it. Tests script its next
// answers.
//
// Routes:
//   GET  /spi/v1/platforms/ios/apps/BUNDLE/settings   settings, JSON or a property list by Accept
//   POST, PUT /spi/v1/platforms/ios/apps/BUNDLE       configure (register, update)
//   POST /spi/v1/platforms/ios/apps/BUNDLE/reports    report upload
//   GET  /list     everything held, as JSON
//   POST /script   {"endpoint": "settings", "answer": {...}, "times": 1}: the next answers of an
//                  endpoint ("settings", "configure", "report"; times 0: every answer from now on).
//                  Answer keys: "status" (the HTTP status), "content_type" ("json" or "plist"),
//                  "prompt" (the prompt section), "collect_reports", "cache_duration" (top level),
//                  "margin" (the settings section's "cache_duration"), "update_required".
//
// Thread safety: every operation may be called from any thread.
class CrashService {
public:
    // `scheme` is "http" or "https", for the URLs the settings name.
    CrashService(CrashServiceStore& store, std::string scheme);

    void install(httplib::Server& server);
    void script(const std::string& endpoint, core::Dictionary answer, int times);

    // The settings document for an application, its URLs under `base`.
    static core::Dictionary settingsDocument(const std::string& base, const std::string& bundle,
                                             const std::optional<core::Dictionary>& app, const core::Dictionary& script);

private:
    struct Script {
        core::Dictionary answer;
        int remaining = 1; // 0: for ever
    };

    core::Dictionary nextScript(const std::string& endpoint);
    void settings(const httplib::Request& request, httplib::Response& response);
    void configure(const httplib::Request& request, httplib::Response& response);
    void report(const httplib::Request& request, httplib::Response& response);
    // Whether the request carries the developer token and an API key; answers the refusal if not.
    bool admitted(const httplib::Request& request, httplib::Response& response, const std::string& endpoint);

    CrashServiceStore& m_store;
    const std::string m_scheme;
    std::mutex m_lock;
    std::map<std::string, std::deque<Script>> m_scripts; // guarded by m_lock
};

} // namespace zm
