#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zm {

// What a start without an API key raises: a fault of the program's deployment, not of the user.
class CrashlogException : public std::runtime_error {
public:
    static constexpr std::string_view name = "CrashlogException";

    explicit CrashlogException(const std::string& reason)
        : std::runtime_error(reason) {}
};

// The crash reporter of the process: started once, at launch, with the crash-reporting service's API
// key. Capture, crash files and uploads hang off this object as they arrive; today it keeps what the
// start was given.
//
// Main thread only.
class Crashlog {
public:
    // The delay between the start and the first look at crashes of earlier runs.
    static constexpr double kDefaultStartDelay = 1.0;

    Crashlog() = default;
    Crashlog(const Crashlog&) = delete;
    Crashlog& operator=(const Crashlog&) = delete;

    // The reporter of the process.
    static Crashlog& sharedInstance();

    // Starts crash reporting with `apiKey` and answers this reporter. An empty key raises
    // CrashlogException; a second start is logged and changes nothing.
    Crashlog& startWithAPIKey(const std::string& apiKey, double startDelay = kDefaultStartDelay);

    bool isStarted() const { return m_started; }
    // The key given to the first start ("" before it).
    const std::string& apiKey() const { return m_apiKey; }
    double startDelay() const { return m_startDelay; }

private:
    bool m_started = false;
    std::string m_apiKey;
    double m_startDelay = 0;
};

} // namespace zm
