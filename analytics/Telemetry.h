#pragma once

#include "platform/core/Value.h"

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

// The analytics client of the process: a session started at launch under the service account, and
// named events recorded in it. Records wait in order for the event thread that stores and sends them;
// the store and the threads join this object as they arrive.
//
// Safe from any thread.
class Telemetry {
public:
    // Where launch options hold the address the application was opened with.
    static constexpr std::string_view kLaunchOptionsURLKey = "UIApplicationLaunchOptionsURLKey";

    // A session start, or one named event of a session.
    struct Record {
        enum class Kind { Session, Event };
        Kind kind;
        std::string sessionID;
        std::string name; // events only
        double delta = 0; // events only: seconds from the session's start to the event
        friend bool operator==(const Record&, const Record&) = default;
    };

    Telemetry();
    Telemetry(const Telemetry&) = delete;
    Telemetry& operator=(const Telemetry&) = delete;

    // The client of the process.
    static Telemetry& shared();

    // Starts a session under the account and secret unless one runs already; either way an address
    // under kLaunchOptionsURLKey whose host is the referral host marks the run as referred.
    void startSession(const std::string& account, const std::string& secret,
                      const core::Dictionary& launchOptions);
    // Records the event `name` in the running session; before any session it is lost.
    void event(const std::string& name);

    bool sessionStarted() const;
    std::string sessionID() const;
    std::string account() const;
    bool wasReferred() const;
    // The records not yet taken by the event thread, oldest first.
    std::vector<Record> pendingRecords() const;

private:
    mutable std::mutex m_lock;
    std::string m_account;         // guarded by m_lock
    std::string m_secret;          // guarded by m_lock
    std::string m_sessionID;       // guarded by m_lock
    double m_sessionStart = 0;     // guarded by m_lock; clock seconds
    bool m_started = false;        // guarded by m_lock
    bool m_referred = false;       // guarded by m_lock
    std::vector<Record> m_pending; // guarded by m_lock
};

} // namespace zm
