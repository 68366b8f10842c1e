#include "analytics/Telemetry.h"

#include "analytics/TMDB.h"
#include "analytics/TMEventThread.h"
#include "analytics/TMJSON.h"
#include "analytics/TmClock.h"
#include "analytics/TmID.h"
#include "analytics/TmStore.h"
#include "analytics/TmUtils.h"
#include "platform/core/Digest.h"
#include "platform/core/Encoding.h"
#include "platform/core/ApplicationEvents.h"
#include "platform/core/Format.h"
#include "platform/core/NotificationCenter.h"

#include <cstdlib>
#include <mutex>

namespace zm {

namespace {

constexpr std::string_view kReferralHost = "aprefer";
constexpr std::string_view kAttributionPasteboard = "fb_app_attribution";

struct Facade {
    std::recursive_mutex lock;
    std::string key;
    std::string secret;
    std::optional<double> startDate;
    std::string sessionId = core::uuidString();
    std::shared_ptr<TMEventThread> thread;
    bool stopped = false; // at the program's end: no thread is made again
    core::NotificationCenter::Observation termination;
    std::shared_ptr<TMSession> currentSession;
    std::shared_ptr<TMDB> store;
    int batchInterval = 30;
    bool batchesEvents = false;
    bool referred = false;
    int minSessionDuration = 5;
};

Facade& facade() {
    static Facade* shared = new Facade; // lives until the process ends, as its threads do
    return *shared;
}

bool hasThread() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.thread != nullptr;
}

struct Url {
    std::string scheme, host, path, query, fragment;
};

Url parseUrl(std::string_view text) {
    Url url;
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return url;
    url.scheme = std::string(text.substr(0, colon));
    std::string_view rest = text.substr(colon + 1);
    if (const size_t hash = rest.find('#'); hash != std::string_view::npos) {
        url.fragment = std::string(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    if (const size_t question = rest.find('?'); question != std::string_view::npos) {
        url.query = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const size_t slash = std::min(rest.find('/'), rest.size());
        std::string_view host = rest.substr(0, slash);
        if (const size_t at = host.rfind('@'); at != std::string_view::npos)
            host = host.substr(at + 1);
        url.host = std::string(host.substr(0, host.find(':')));
        rest = rest.substr(slash);
    }
    url.path = std::string(rest);
    return url;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

void push(std::shared_ptr<TMSAPI> record) {
    std::shared_ptr<TMEventThread> thread;
    {
        Facade& state = facade();
        std::lock_guard guard(state.lock);
        thread = state.thread;
    }
    // Outside the lock: the thread may keep a producer that outruns it waiting.
    if (thread)
        thread->add(std::move(record));
}

// The program's end, however it comes: the game quitting, or the process exiting without that.
void stopAtTheEnd(Facade& state) {
    state.termination = core::NotificationCenter::defaultCenter().addObserver(
        std::string(core::kApplicationWillTerminateNotification), nullptr,
        [](const core::Notification&) { Telemetry::stop(); });
    // Registered after OpenSSL's own handler (the attribution id's digest has set it up), so it runs first:
    // no request is under way while OpenSSL is torn down.
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit([] { Telemetry::stop(); }); });
}

void startIfNoThread(const std::string& key, const std::string& secret) {
    if (!hasThread())
        Telemetry::reStartSession(key, secret);
}

} // namespace

void Telemetry::startSession(const std::string& key, const std::string& secret, const core::Dictionary& launchOptions) {
    const core::Value* url = launchOptions.find(kLaunchOptionsURLKey);
    startIfNoThread(key, secret);
    processReferralURL(url && url->asString() ? std::optional(*url->asString()) : std::nullopt);
}

void Telemetry::startSession(const std::string& key, const std::string& secret) {
    startIfNoThread(key, secret);
}

void Telemetry::startSessionWithKeyAndURL(const std::string& key, const std::string& secret, const std::string& url) {
    startIfNoThread(key, secret);
    const Url parsed = parseUrl(url);
    bool token = false;
    bool code = false;
    for (const std::string& piece : split(parsed.fragment, '&')) {
        const std::string name = split(piece, '=')[0];
        token = token || name == "access_token";
        code = code || name == "code";
    }
    if (parsed.scheme.starts_with("fb") && parsed.host == "authorize" && token && !code)
        event("Facebook Referral");
    processReferralURL(url);
}

void Telemetry::reStartSession(const std::string& key, const std::string& secret) {
    Facade& state = facade();
    {
        std::lock_guard guard(state.lock);
        if (state.stopped || (state.startDate && TmClock::now() - *state.startDate <= state.minSessionDuration))
            return;
        state.key = key;
        state.secret = secret;
    }
    saveFbAppAttributionId();
    std::lock_guard guard(state.lock);
    state.startDate = TmClock::now();
    state.sessionId = core::uuidString();
    bool made = false;
    if (!state.thread) {
        if (!state.store)
            state.store = std::make_shared<TMDB>(state.key, state.secret);
        state.thread = std::make_shared<TMEventThread>(state.store);
        TmEventSink::setRecorder([](const std::string& name, const core::Dictionary& arguments) { event(name, &arguments); });
        stopAtTheEnd(state);
        made = true;
    }
    state.thread->setBatchInterval(state.batchInterval);
    state.thread->setBatchesEvents(state.batchesEvents);
    auto session = std::make_shared<TMSession>(state.key, state.secret);
    session->setSessionId(state.sessionId);
    session->setTimestamp(*state.startDate);
    state.thread->eventQueue().push(std::shared_ptr<TMSAPI>(session));
    state.currentSession = session;
    if (made)
        state.thread->start();
}

void Telemetry::endSession() {
    Facade& state = facade();
    std::shared_ptr<TMSession> session;
    std::string key, secret;
    {
        std::lock_guard guard(state.lock);
        if (!state.thread || !state.startDate || !state.currentSession)
            return;
        session = state.currentSession;
        key = state.key;
        secret = state.secret;
    }
    push(std::make_shared<TMEvent>(std::move(key), std::move(secret),
                                   core::Dictionary{{"sessionId", session->sessionId()},
                                                    {"delta", TmClock::now() - session->timestamp()},
                                                    {"name", "end_session"},
                                                    {"arguments", "{}"}}));
}

void Telemetry::event(const std::string& name) {
    event(name, nullptr);
}

void Telemetry::event(const std::string& name, const core::Dictionary* arguments) {
    Facade& state = facade();
    std::shared_ptr<TMSession> session;
    std::string key, secret;
    {
        std::lock_guard guard(state.lock);
        if (!state.currentSession)
            return;
        session = state.currentSession;
        key = state.key;
        secret = state.secret;
    }
    push(std::make_shared<TMEvent>(std::move(key), std::move(secret), session->sessionId(), TmClock::now() - session->timestamp(),
                                   name, arguments ? TMJSONStringFromObject(*arguments) : std::string("{}")));
}

void Telemetry::eventWithArgs(const std::string& name, const std::vector<ArgumentPair>& pairs) {
    core::Dictionary arguments;
    for (const auto& [key, value] : pairs) {
        if (!key)
            break;
        if (value)
            arguments.set(*key, *value);
    }
    event(name, &arguments);
}

void Telemetry::processReferralURL(const std::optional<std::string>& url) {
    if (!url || parseUrl(*url).host != kReferralHost)
        return;
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    state.referred = true;
}

bool Telemetry::processJSRequest(const std::function<void(const std::string&)>& evaluate, const std::string& url) {
    if (!url.starts_with("telemetry:"))
        return false;
    const Url parsed = parseUrl(url);
    const std::vector<std::string> components = split(parsed.path, '/');
    const std::string name = components.size() >= 2 ? components[1] : "";
    if (parsed.host == "event") {
        if (parsed.query.empty()) {
            event(name, nullptr);
        } else {
            core::Dictionary arguments;
            for (const std::string& piece : split(parsed.query, '&')) {
                if (piece.starts_with("_rand_="))
                    continue;
                const size_t equals = piece.find('=');
                // A piece without "=" names an empty value.
                const std::string value = equals == std::string::npos ? "" : piece.substr(equals + 1);
                arguments.set(piece.substr(0, equals), core::percentUnescape(value).value_or(value));
            }
            event(name, &arguments);
        }
    }
    if (evaluate)
        evaluate(core::format("Telemetry.version='%s';Telemetry.triggerActive=%s;Telemetry.sessionStarted=%s;",
                              version().c_str(), "false", sessionStarted() ? "true" : "false"));
    return true;
}

void Telemetry::setGender(const core::Value& gender) {
    const std::string* text = gender.asString();
    if (!text || text->size() != 1)
        return;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>((*text)[0])));
    if (letter != 'm' && letter != 'f')
        return;
    const core::Dictionary arguments{{"value", std::string(1, letter)}};
    event("__gender__", &arguments);
}

void Telemetry::setAge(const core::Value& age) {
    if (!age.asString() && !age.isNumber())
        return;
    const int32_t years = age.intValue();
    if (years < 1 || years > 99)
        return;
    const core::Dictionary arguments{{"value", years}};
    event("__age__", &arguments);
}

int Telemetry::batchInterval() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.batchInterval;
}

void Telemetry::setBatchInterval(int seconds) {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    state.batchInterval = seconds;
    if (state.thread) {
        state.thread->setBatchInterval(seconds);
        state.thread->setBatchesEvents(state.batchesEvents);
        state.thread->eventQueue().push(std::string("boot"));
    }
}

bool Telemetry::batchesEvents() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.batchesEvents;
}

void Telemetry::setBatchesEvents(bool batches) {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    state.batchesEvents = batches;
    if (state.thread) {
        state.thread->setBatchInterval(state.batchInterval);
        state.thread->setBatchesEvents(batches);
        state.thread->eventQueue().push(std::string("boot"));
    }
}

void Telemetry::sendAllBatches() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    if (state.thread)
        state.thread->eventQueue().push(std::string("flush"));
}

void Telemetry::setBufferLimit(int limit) {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    if (state.thread)
        state.thread->setMaximumBufferSize(limit);
}

void Telemetry::setMinSessionDuration(int seconds) {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    state.minSessionDuration = seconds;
}

void Telemetry::iapComplete(const TmTransaction& transaction, const std::vector<AttributePair>& attributes) {
    core::Dictionary gathered;
    for (const auto& [object, key] : attributes) {
        if (!object || !key)
            break;
        gathered.set(*key, *object);
    }
    TmStore::handleManualTransaction(transaction, gathered);
}

bool Telemetry::allowAutoIAPComplete() {
    return TmStore::allowAutoIAPComplete();
}

void Telemetry::setAllowAutoIAPComplete(bool allow) {
    TmStore::setAllowAutoIAPComplete(allow);
}

std::optional<std::string> Telemetry::telemetryID() {
    return TmID::uniqueId();
}

std::optional<std::string> Telemetry::telemetryKeyspace() {
    return TmID::keySpace();
}

std::string Telemetry::sessionID() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.sessionId;
}

std::shared_ptr<TMSession> Telemetry::currentSession() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.currentSession;
}

TMEventThread* Telemetry::thread() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.thread.get();
}

std::optional<double> Telemetry::sessionStartDate() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.startDate;
}

bool Telemetry::sessionStarted() {
    return sessionStartDate().has_value();
}

double Telemetry::sessionDuration() {
    const auto start = sessionStartDate();
    return start ? TmClock::now() - *start : 0;
}

bool Telemetry::wasReferred() {
    Facade& state = facade();
    std::lock_guard guard(state.lock);
    return state.referred;
}

void Telemetry::saveFbAppAttributionId() {
    std::string secret;
    {
        Facade& state = facade();
        std::lock_guard guard(state.lock);
        secret = state.secret;
    }
    const std::string own = TmUtils::attributionPasteboardName(secret);
    const auto kept = TmUtils::stringFromPasteboard(own);
    if (kept && !kept->empty())
        return;
    const auto shared = TmUtils::stringFromPasteboard(kAttributionPasteboard);
    if (shared && !shared->empty())
        TmUtils::setPasteboard(own, *shared);
}

std::optional<std::string> Telemetry::fbAppAttributionId() {
    Facade& state = facade();
    std::string secret;
    {
        std::lock_guard guard(state.lock);
        secret = state.secret;
    }
    return TmUtils::stringFromPasteboard(TmUtils::attributionPasteboardName(secret));
}

std::string Telemetry::applicationName() {
    return TmUtils::applicationName();
}

std::string Telemetry::applicationIdentifier() {
    return TmUtils::applicationBundleId();
}

void Telemetry::stop() {
    std::shared_ptr<TMEventThread> thread;
    {
        Facade& state = facade();
        std::lock_guard guard(state.lock);
        thread = std::move(state.thread);
        state.stopped = true;
        state.termination.reset();
    }
    // Outside the lock, which a record's recorder on the API thread may be waiting for.
    if (thread)
        thread->stop();
}

void Telemetry::reset() {
    stop();
    Facade& state = facade();
    {
        std::lock_guard guard(state.lock);
        state.stopped = false;
        state.key.clear();
        state.secret.clear();
        state.startDate.reset();
        state.sessionId = core::uuidString();
        state.currentSession.reset();
        state.store.reset();
        state.batchInterval = 30;
        state.batchesEvents = false;
        state.referred = false;
        state.minSessionDuration = 5;
    }
    TmEventSink::setRecorder(nullptr);
    TmID::reset();
    TmStore::reset();
}

} // namespace zm
