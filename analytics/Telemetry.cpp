#include "analytics/Telemetry.h"

#include "platform/core/Clock.h"
#include "platform/core/Digest.h"
#include "platform/core/MainLoop.h"

namespace zm {

namespace {

constexpr std::string_view kReferralHost = "aprefer";

double now() {
    return core::currentClock()->mediaTime();
}

// The host of an absolute address ("scheme://host:port/path?query"); empty when it has none.
std::string_view hostOf(std::string_view url) {
    const size_t scheme = url.find("://");
    if (scheme == std::string_view::npos)
        return {};
    std::string_view rest = url.substr(scheme + 3);
    rest = rest.substr(0, rest.find_first_of("/?#"));
    if (const size_t user = rest.rfind('@'); user != std::string_view::npos)
        rest = rest.substr(user + 1);
    return rest.substr(0, rest.find(':'));
}

} // namespace

Telemetry::Telemetry()
    : m_sessionID(core::uuidString()) {}

Telemetry& Telemetry::shared() {
    static Telemetry shared;
    return shared;
}

void Telemetry::startSession(const std::string& account, const std::string& secret,
                             const core::Dictionary& launchOptions) {
    std::lock_guard lock(m_lock);
    if (!m_started) {
        m_started = true;
        m_account = account;
        m_secret = secret;
        m_sessionStart = now();
        m_sessionID = core::uuidString();
        m_pending.push_back({Record::Kind::Session, m_sessionID, {}, 0});
    }
    const core::Value* url = launchOptions.find(kLaunchOptionsURLKey);
    if (url && url->asString() && hostOf(*url->asString()) == kReferralHost)
        m_referred = true;
}

void Telemetry::event(const std::string& name) {
    std::lock_guard lock(m_lock);
    if (!m_started)
        return;
    m_pending.push_back({Record::Kind::Event, m_sessionID, name, now() - m_sessionStart});
}

bool Telemetry::sessionStarted() const {
    std::lock_guard lock(m_lock);
    return m_started;
}

std::string Telemetry::sessionID() const {
    std::lock_guard lock(m_lock);
    return m_sessionID;
}

std::string Telemetry::account() const {
    std::lock_guard lock(m_lock);
    return m_account;
}

bool Telemetry::wasReferred() const {
    std::lock_guard lock(m_lock);
    return m_referred;
}

std::vector<Telemetry::Record> Telemetry::pendingRecords() const {
    std::lock_guard lock(m_lock);
    return m_pending;
}

} // namespace zm
