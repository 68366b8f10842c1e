#pragma once

#include "platform/core/Value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zm {

class TMDB;
class TMEvent;
class TMSession;
class TMAPIEvent;
class TMAPIDatabase;

// The client's name and version as the service knows them.
inline constexpr std::string_view kSDKName = "Telemetry/6.0.2";

// A record the analytics client sends: a session start, one event, or a batch of events. It carries
// the account key and secret it is sent under, the session it belongs to, the versions of the system
// and the application, and when it was made (seconds since 1970, on the clock's calendar).
//
// Records are shared between the threads that store and send them and compare by identity.
class TMSAPI {
public:
    TMSAPI(std::string key, std::string secret);
    virtual ~TMSAPI() = default;
    TMSAPI(const TMSAPI&) = delete;
    TMSAPI& operator=(const TMSAPI&) = delete;

    const std::string& key() const { return m_key; }
    const std::string& secret() const { return m_secret; }
    const std::string& sessionId() const { return m_sessionId; }
    void setSessionId(std::string id) { m_sessionId = std::move(id); }
    const std::string& osVersion() const { return m_osVersion; }
    void setOsVersion(std::string version) { m_osVersion = std::move(version); }
    const std::string& appVersion() const { return m_appVersion; }
    void setAppVersion(std::string version) { m_appVersion = std::move(version); }
    double timestamp() const { return m_timestamp; }
    void setTimestamp(double timestamp) { m_timestamp = timestamp; }
    // Seconds from the record's making to now.
    double lag() const;

    // What the threads may do with the record: nothing when it does not adopt that role.
    virtual TMAPIEvent* apiEvent() { return nullptr; }
    virtual TMAPIDatabase* apiDatabase() { return nullptr; }
    // The record as one named event, when it is one.
    virtual TMEvent* event() { return nullptr; }
    virtual TMSession* session() { return nullptr; }

    // For logs.
    virtual std::string description() const = 0;

private:
    const std::string m_key;
    const std::string m_secret;
    std::string m_sessionId;
    std::string m_osVersion;
    std::string m_appVersion;
    double m_timestamp;
};

// A record the API thread sends. sent: -1 not sent (try again), 0 given up, 1 done.
class TMAPIEvent {
public:
    virtual ~TMAPIEvent() = default;
    virtual int sent() const = 0;
    // Sends the record on the calling thread; sets and answers sent.
    virtual int send() = 0;
    virtual bool batchable() const = 0;
};

// A record kept in the store until it comes back finished. rowId 0: not stored.
class TMAPIDatabase {
public:
    virtual ~TMAPIDatabase() = default;
    virtual bool writeToDatabase(TMDB& store) = 0;
    virtual bool deleteFromDatabase(TMDB& store) = 0;
    virtual bool writable() const = 0;
    virtual bool deletable() const = 0;
    virtual int64_t rowId() const = 0;
};

// The start of a session.
class TMSession : public TMSAPI, public TMAPIEvent, public TMAPIDatabase {
public:
    // A new session id is made; the facade replaces it by its own.
    TMSession(std::string key, std::string secret);

    TMAPIEvent* apiEvent() override { return this; }
    TMAPIDatabase* apiDatabase() override { return this; }
    TMSession* session() override { return this; }

    int sent() const override { return m_sent; }
    void setSent(int sent) { m_sent = sent; }
    int send() override;
    bool batchable() const override { return false; }

    bool writeToDatabase(TMDB& store) override;
    bool deleteFromDatabase(TMDB& store) override;
    bool writable() const override { return true; }
    bool deletable() const override { return true; }
    int64_t rowId() const override { return m_rowId; }
    void setRowId(int64_t rowId) { m_rowId = rowId; }

    std::string description() const override;

private:
    int m_sent = -1;
    int64_t m_rowId = 0;
};

// One named event of a session, with its arguments as JSON text.
class TMEvent : public TMSAPI, public TMAPIEvent, public TMAPIDatabase {
public:
    // Encoded arguments longer than this are given up without a request.
    static constexpr size_t kLongestArguments = 20000;

    // From {"sessionId", "delta", "name", "arguments"}; missing entries give "unknown", 0, "unknown", "{}".
    TMEvent(std::string key, std::string secret, const core::Dictionary& values);
    TMEvent(std::string key, std::string secret, std::string sessionId, double delta, std::string name,
            std::string arguments);

    TMAPIEvent* apiEvent() override { return this; }
    TMAPIDatabase* apiDatabase() override { return this; }
    TMEvent* event() override { return this; }

    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }
    const std::string& arguments() const { return m_arguments; }
    void setArguments(std::string arguments) { m_arguments = std::move(arguments); }
    double delta() const { return m_delta; }
    void setDelta(double delta) { m_delta = delta; }

    int sent() const override { return m_sent; }
    void setSent(int sent) { m_sent = sent; }
    int send() override;
    bool batchable() const override { return true; }

    bool writeToDatabase(TMDB& store) override;
    bool deleteFromDatabase(TMDB& store) override;
    bool writable() const override { return true; }
    bool deletable() const override { return true; }
    int64_t rowId() const override { return m_rowId; }
    void setRowId(int64_t rowId) { m_rowId = rowId; }

    std::string description() const override;

protected:
    int m_sent = -1;
    int64_t m_rowId = 0;

private:
    std::string m_name;
    std::string m_arguments;
    double m_delta = 0;
};

} // namespace zm
