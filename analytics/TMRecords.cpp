#include "analytics/TMRecords.h"

#include "analytics/TMDB.h"
#include "analytics/TMJSON.h"
#include "analytics/TmClock.h"
#include "analytics/TmUtils.h"
#include "platform/core/Digest.h"

namespace zm {

namespace {

std::string textOr(const core::Dictionary& values, std::string_view key, std::string fallback) {
    const core::Value* value = values.find(key);
    return value && !value->isNull() ? value->stringValue() : fallback;
}

} // namespace

TMSAPI::TMSAPI(std::string key, std::string secret)
    : m_key(std::move(key))
    , m_secret(std::move(secret))
    , m_osVersion(TmUtils::systemVersion())
    , m_appVersion(TmUtils::applicationVersion())
    , m_timestamp(TmClock::now()) {}

double TMSAPI::lag() const {
    return TmClock::now() - m_timestamp;
}

TMSession::TMSession(std::string key, std::string secret)
    : TMSAPI(std::move(key), std::move(secret)) {
    setSessionId(core::uuidString());
}

bool TMSession::writeToDatabase(TMDB& store) {
    return store.writeSession(*this);
}

bool TMSession::deleteFromDatabase(TMDB& store) {
    return store.deleteSession(m_rowId);
}

std::string TMSession::description() const {
    return "session " + TMJSONStringFromObject(core::Dictionary{{"sessionId", sessionId()},
                                                                {"timestamp", core::Date{timestamp()}}});
}

TMEvent::TMEvent(std::string key, std::string secret, const core::Dictionary& values)
    : TMSAPI(std::move(key), std::move(secret))
    , m_name(textOr(values, "name", "unknown"))
    , m_arguments(textOr(values, "arguments", "{}")) {
    setSessionId(textOr(values, "sessionId", "unknown"));
    if (const core::Value* delta = values.find("delta"))
        m_delta = delta->doubleValue();
}

TMEvent::TMEvent(std::string key, std::string secret, std::string sessionId, double delta, std::string name,
                 std::string arguments)
    : TMSAPI(std::move(key), std::move(secret))
    , m_name(std::move(name))
    , m_arguments(std::move(arguments))
    , m_delta(delta) {
    setSessionId(std::move(sessionId));
}

bool TMEvent::writeToDatabase(TMDB& store) {
    return store.writeEvent(*this);
}

bool TMEvent::deleteFromDatabase(TMDB& store) {
    return store.deleteEvent(m_rowId);
}

std::string TMEvent::description() const {
    return "event " + TMJSONStringFromObject(core::Dictionary{{"name", m_name},
                                                              {"sessionId", sessionId()},
                                                              {"delta", m_delta},
                                                              {"timestamp", core::Date{timestamp()}},
                                                              {"arguments", m_arguments}});
}

} // namespace zm
