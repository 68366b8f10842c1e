#pragma once

#include "platform/core/Json.h"
#include "platform/core/Value.h"
#include "platform/net/HttpRequest.h"
#include "platform/net/testing/ServiceProcess.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm::testing {

// The analytics service program, started by the test on 127.0.0.1 at a free port and ended with the
// object. Its answers can be scripted and what it holds listed.
class AnalyticsServiceProcess {
public:
    // Serves `account` signed with `secret`; `database` empty keeps everything in memory.
    AnalyticsServiceProcess(const std::string& account, const std::string& secret,
                            const std::string& database = {}) {
        std::vector<std::string> arguments = {ANALYTICS_SERVICE_PROGRAM, "--port", "0", "--account",
                                              account + ":" + secret};
        if (!database.empty()) {
            arguments.push_back("--database");
            arguments.push_back(database);
        }
        m_process.emplace(std::move(arguments));
        // The program names its port once it answers.
        std::sscanf(m_process->firstLine().c_str(), "listening on http://127.0.0.1:%d", &m_port);
    }

    AnalyticsServiceProcess(const AnalyticsServiceProcess&) = delete;
    AnalyticsServiceProcess& operator=(const AnalyticsServiceProcess&) = delete;

    bool running() const { return m_process->started() && m_port > 0; }
    // "127.0.0.1:PORT", what ZEMBRIX_TELEMETRY_HOST names.
    std::string host() const { return "127.0.0.1:" + std::to_string(m_port); }

    // Ends the program; its port is closed afterwards.
    void stop() { m_process->stop(); }

    // The next `times` answers of `endpoint` ("resolve", "start", "event"; 0: all from now on).
    void script(const std::string& endpoint, const core::Dictionary& answer, int times = 1) {
        net::HttpRequest request;
        request.method = "POST";
        request.url = "http://" + host() + "/script";
        request.body =
            core::toJson(core::Dictionary{{"endpoint", endpoint}, {"answer", answer}, {"times", times}});
        const auto response = net::perform(request);
        ASSERT_TRUE(response.ok() && response->status == 200) << request.body;
    }

    // Everything the service holds: "devices", "sessions", "events", "requests".
    core::Value listing() {
        net::HttpRequest request;
        request.url = "http://" + host() + "/list";
        const auto response = net::perform(request);
        if (!response)
            return {};
        auto parsed = core::parseJson(response->body);
        return parsed ? std::move(parsed.value()) : core::Value();
    }

    // The entries of one part of the listing.
    core::Array listed(const char* part) {
        const core::Value all = listing();
        const core::Value* entries = all.find(part);
        return entries && entries->asArray() ? *entries->asArray() : core::Array();
    }

private:
    std::optional<net::testing::ServiceProcess> m_process;
    int m_port = 0;
};

} // namespace zm::testing
