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

// The crash service program, started by the test on 127.0.0.1 at a free port (over HTTPS when given a
// certificate and its key) and ended with the object. Its answers can be scripted and what it holds
// listed.
class CrashServiceProcess {
public:
    explicit CrashServiceProcess(const std::string& certificate = {}, const std::string& key = {}) {
        std::vector<std::string> arguments = {CRASH_SERVICE_PROGRAM, "--port", "0"};
        if (!certificate.empty()) {
            m_certificate = certificate;
            arguments.insert(arguments.end(), {"--certificate", certificate, "--key", key});
        }
        m_process.emplace(std::move(arguments));
        // The program names its address once it answers.
        char scheme[8] = "";
        if (std::sscanf(m_process->firstLine().c_str(), "listening on %7[a-z]://127.0.0.1:%d", scheme,
                        &m_port) == 2)
            m_url = std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port);
    }

    CrashServiceProcess(const CrashServiceProcess&) = delete;
    CrashServiceProcess& operator=(const CrashServiceProcess&) = delete;

    bool running() const { return m_process->started() && m_port > 0; }
    // "http://127.0.0.1:PORT" or "https://...".
    const std::string& url() const { return m_url; }

    void stop() { m_process->stop(); }

    // The next `times` answers of `endpoint` ("settings", "configure", "report"; 0: all from now on).
    void script(const std::string& endpoint, const core::Dictionary& answer, int times = 1) {
        const auto response = perform(
            "POST", "/script",
            core::toJson(core::Dictionary{{"endpoint", endpoint}, {"answer", answer}, {"times", times}}));
        ASSERT_TRUE(response.ok() && response->status == 200) << endpoint;
    }

    // The entries of one part of what the service holds: "apps", "requests" or "reports".
    core::Array listed(const char* part) {
        const auto response = perform("GET", "/list", "");
        auto parsed = response ? core::parseJson(response->body) : core::Result<core::Value>(core::Error{});
        const core::Value* entries = parsed ? parsed->find(part) : nullptr;
        return entries && entries->asArray() ? *entries->asArray() : core::Array();
    }

private:
    core::Result<net::HttpResponse> perform(const char* method, const char* path, std::string body) {
        net::HttpRequest request;
        request.method = method;
        request.url = m_url + path;
        request.body = std::move(body);
        request.certificateAuthorities = m_certificate;
        return net::perform(request);
    }

    std::optional<net::testing::ServiceProcess> m_process;
    int m_port = 0;
    std::string m_url;
    std::string m_certificate;
};

} // namespace zm::testing
