#pragma once

#include "platform/core/Json.h"
#include "platform/core/Value.h"
#include "platform/net/HttpRequest.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zm::testing {

// The analytics service program, started by the test on 127.0.0.1 at a free port and ended with the
// object. Its answers can be scripted and what it holds listed.
class AnalyticsServiceProcess {
public:
    // Serves `account` signed with `secret`; `database` empty keeps everything in memory.
    AnalyticsServiceProcess(const std::string& account, const std::string& secret, const std::string& database = {}) {
        std::vector<std::string> arguments = {ANALYTICS_SERVICE_PROGRAM, "--port", "0", "--account", account + ":" + secret};
        if (!database.empty()) {
            arguments.push_back("--database");
            arguments.push_back(database);
        }
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);

        int output[2];
        if (pipe(output) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        // The program names its port once it answers.
        FILE* lines = fdopen(output[0], "r");
        char line[128] = "";
        if (lines && std::fgets(line, sizeof line, lines))
            std::sscanf(line, "listening on 127.0.0.1:%d", &m_port);
        if (lines)
            std::fclose(lines);
        else
            close(output[0]);
    }

    ~AnalyticsServiceProcess() { stop(); }
    AnalyticsServiceProcess(const AnalyticsServiceProcess&) = delete;
    AnalyticsServiceProcess& operator=(const AnalyticsServiceProcess&) = delete;

    bool running() const { return m_pid > 0 && m_port > 0; }
    // "127.0.0.1:PORT", what ZEMBRIX_TELEMETRY_HOST names.
    std::string host() const { return "127.0.0.1:" + std::to_string(m_port); }

    // Ends the program; its port is closed afterwards.
    void stop() {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = 0;
    }

    // The next `times` answers of `endpoint` ("resolve", "start", "event"; 0: all from now on).
    void script(const std::string& endpoint, const core::Dictionary& answer, int times = 1) {
        net::HttpRequest request;
        request.method = "POST";
        request.url = "http://" + host() + "/script";
        request.body = core::toJson(core::Dictionary{{"endpoint", endpoint}, {"answer", answer}, {"times", times}});
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
    pid_t m_pid = 0;
    int m_port = 0;
};

} // namespace zm::testing
