#pragma once

#include "platform/core/Value.h"
#include "tools/analytics-service/ServiceStore.h"

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace httplib {
class Server;
}

namespace zm {

// The stand-in analytics service: it checks each request's signature with the account's secret,
// files devices under their keys, keeps sessions and events (batches unpacked), and answers XML
// property lists. Tests script its next answers.
//
// Routes:
//   GET  /api/v1/resolve, /api/v1/start, /api/v1/event   the client's requests
//   GET  /list     everything held, as JSON
//   POST /script   {"endpoint": "start", "answer": {...}, "times": 1}: the next answers of an endpoint
//                  (times 0: every answer from now on). The answer's entries replace the usual ones;
//                  "no_answer": true gives no readable answer, "fresh_key": true names a new key in
//                  each answer, "same_key": true names the key the request came with.
//
// Thread safety: every operation may be called from any thread.
class AnalyticsService {
public:
    struct Answer {
        int status = 200;
        std::optional<core::Dictionary> plist; // nothing: an answer the client cannot read
    };

    AnalyticsService(ServiceStore& store, std::map<std::string, std::string> secrets);

    // The answer to a request for `target` ("/api/v1/start?a=...&h=...").
    Answer handle(std::string_view target);
    // The next `times` answers of `endpoint` (0: all of them).
    void script(const std::string& endpoint, core::Dictionary answer, int times);

    void install(httplib::Server& server);

private:
    struct Script {
        core::Dictionary answer;
        int remaining = 1; // 0: for ever
    };

    std::optional<core::Dictionary> nextScript(const std::string& endpoint);

    ServiceStore& m_store;
    const std::map<std::string, std::string> m_secrets;
    std::mutex m_lock;
    std::map<std::string, std::deque<Script>> m_scripts; // guarded by m_lock
};

} // namespace zm
