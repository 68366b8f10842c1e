#pragma once

#include "platform/core/Value.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zm {

class TMEventThread;
class TMSession;
struct TmTransaction;

// The analytics client of the process: class operations over one process-wide state that start a
// session, record named events with optional arguments and tune batching. Every record goes to the
// event thread's queue, which stores it and has it sent to the service that ZEMBRIX_TELEMETRY_HOST
// names; without a host, records wait in the store. The kit ends with the program (stop()).
//
// Thread safety: every operation may be called from any thread.
class Telemetry {
public:
    // Where launch options hold the address the application was opened with.
    static constexpr std::string_view kLaunchOptionsURLKey = "UIApplicationLaunchOptionsURLKey";

    // Start a session only while no event thread exists.
    static void startSession(const std::string& key, const std::string& secret, const core::Dictionary& launchOptions);
    static void startSession(const std::string& key, const std::string& secret);
    static void startSessionWithKeyAndURL(const std::string& key, const std::string& secret, const std::string& url);
    // A new session, unless the running one is at most minSessionDuration seconds old.
    static void reStartSession(const std::string& key, const std::string& secret);
    static void endSession();

    static void event(const std::string& name);
    static void event(const std::string& name, const core::Dictionary* arguments);
    // Pairs up to the first missing key; a pair without a value is left out.
    using ArgumentPair = std::pair<std::optional<std::string>, std::optional<core::Value>>;
    static void eventWithArgs(const std::string& name, const std::vector<ArgumentPair>& pairs);

    static void processReferralURL(const std::optional<std::string>& url);
    // The web page bridge: a "telemetry:" request records its event and the page is told the kit's
    // state through `evaluate`; any other request answers false and runs nothing.
    static bool processJSRequest(const std::function<void(const std::string& script)>& evaluate, const std::string& url);

    static void setGender(const core::Value& gender);
    static void setAge(const core::Value& age);

    static int batchInterval();
    static void setBatchInterval(int seconds);
    static bool batchesEvents();
    static void setBatchesEvents(bool batches);
    static void sendAllBatches();
    static void setBufferLimit(int limit);
    static void setMinSessionDuration(int seconds);
    // A purchase the application completed, with its attributes as object and key pairs (object
    // first) up to the first missing object or key.
    using AttributePair = std::pair<std::optional<core::Value>, std::optional<std::string>>;
    static void iapComplete(const TmTransaction& transaction, const std::vector<AttributePair>& attributes = {});
    static bool allowAutoIAPComplete();
    static void setAllowAutoIAPComplete(bool allow);

    static std::string version() { return "6.0.2"; }
    static std::optional<std::string> telemetryID();
    static std::optional<std::string> telemetryKeyspace();
    static std::string sessionID();
    static std::shared_ptr<TMSession> currentSession();
    static TMEventThread* thread();
    static std::optional<double> sessionStartDate();
    static bool sessionStarted();
    static double sessionDuration();
    static bool wasReferred();

    static void saveFbAppAttributionId();
    static std::optional<std::string> fbAppAttributionId();

    static std::string applicationName();
    static std::string applicationIdentifier();

    // Ends the kit for the rest of the process: the threads store what is queued, give a request under
    // way half a second, keep in the store whatever was not sent, and end; later records are dropped.
    // Done by itself when the application terminates or the process exits.
    static void stop();

    // For tests: ends the threads and forgets every session, setting and identity.
    static void reset();
};

} // namespace zm
