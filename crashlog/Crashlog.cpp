#include "crashlog/Crashlog.h"

#include "platform/core/Log.h"

namespace zm {

Crashlog& Crashlog::sharedInstance() {
    static Crashlog shared;
    return shared;
}

Crashlog& Crashlog::startWithAPIKey(const std::string& apiKey, double startDelay) {
    if (apiKey.empty())
        throw CrashlogException("Crashlog cannot start with the API key '" + apiKey + "'");
    if (m_started) {
        core::log(core::LogLevel::Warning,
                  "[Crashlog] startWithAPIKey: called more than once. startWithAPIKey: should only be called "
                  "once, at app launch time. This call is being ignored.");
        return *this;
    }
    m_started = true;
    m_apiKey = apiKey;
    m_startDelay = startDelay;
    return *this;
}

} // namespace zm
