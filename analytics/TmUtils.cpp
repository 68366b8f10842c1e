#include "analytics/TmUtils.h"

#include "analytics/TmDevice.h"
#include "platform/core/Digest.h"
#include "platform/core/InfoPlist.h"
#include "platform/core/Log.h"
#include "platform/core/NamedPasteboards.h"
#include "platform/core/PropertyList.h"
#include "platform/core/SystemFacts.h"
#include "platform/net/HttpRequest.h"
#include "platform/net/NetworkFacts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace zm {

namespace {

constexpr std::string_view kHiddenMAC = "02:00:00:00:00:00";
constexpr std::string_view kZeroIdentifier = "00000000-0000-0000-0000-000000000000";
constexpr const char* kHostVariable = "ZEMBRIX_TELEMETRY_HOST";
// As long as the platform's loading of a URL waits by default.
constexpr auto kRequestTimeout = std::chrono::seconds(60);

std::optional<std::string> infoString(const core::Dictionary& info, std::string_view key) {
    const core::Value* value = info.find(key);
    if (!value || !value->asString())
        return std::nullopt;
    return *value->asString();
}

std::string macText(const core::Bytes& mac) {
    char text[18] = "";
    if (mac.size() == 6)
        std::snprintf(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

std::optional<std::string> usableIdentifier(const std::optional<std::string>& identifier) {
    if (!identifier || identifier->empty() || *identifier == kZeroIdentifier)
        return std::nullopt;
    return identifier;
}

// "host" or "host:port" and nothing else: a value that could carry a path, a user or a second address
// is not used.
bool isHostAndPort(std::string_view text) {
    if (text.empty())
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
               c == ':' || c == '[' || c == ']';
    });
}

struct SharedHost {
    std::mutex lock;
    bool read = false;               // guarded by lock
    std::optional<std::string> host; // guarded by lock
};

SharedHost& sharedHost() {
    static SharedHost shared;
    return shared;
}

// What gives up the requests of this thread (TmService::StopScope).
thread_local std::stop_token t_stop;

} // namespace

std::string TmUtils::connectionType() {
    switch (net::connectionType()) {
    case net::ConnectionType::Wifi: return "wifi";
    case net::ConnectionType::Wwan: return "wwan";
    case net::ConnectionType::None: break;
    }
    return "none";
}

bool TmUtils::connected() {
    return TmService::host() && net::connectionType() != net::ConnectionType::None;
}

std::string TmUtils::applicationName() {
    const auto shared = core::sharedInfoDictionary();
    const core::Dictionary& info = *shared;
    for (const char* key : {"CFBundleName", "CFBundleDisplayName"}) {
        if (auto name = infoString(info, key))
            return *name;
    }
    if (auto identifier = infoString(info, "CFBundleIdentifier"))
        return identifier->substr(identifier->rfind('.') + 1);
    return "Unknown";
}

std::string TmUtils::applicationVersion() {
    const auto shared = core::sharedInfoDictionary();
    const core::Dictionary& info = *shared;
    for (const char* key : {"CFBundleShortVersionString", "CFBundleVersion"}) {
        if (auto version = infoString(info, key))
            return *version;
    }
    return "Unknown";
}

std::string TmUtils::applicationBundleId() {
    return infoString(*core::sharedInfoDictionary(), "CFBundleIdentifier").value_or("");
}

std::vector<std::string> TmUtils::schemes() {
    std::vector<std::string> all;
    const auto shared = core::sharedInfoDictionary();
    const core::Dictionary& info = *shared;
    const core::Value* types = info.find("CFBundleURLTypes");
    if (!types || !types->asArray())
        return all;
    for (const core::Value& type : *types->asArray()) {
        const core::Value* schemes = type.find("CFBundleURLSchemes");
        if (!schemes || !schemes->asArray())
            continue;
        for (const core::Value& scheme : *schemes->asArray()) {
            if (scheme.asString())
                all.push_back(*scheme.asString());
        }
    }
    return all;
}

std::optional<std::string> TmUtils::urlScheme() {
    const auto shared = core::sharedInfoDictionary();
    const core::Dictionary& info = *shared;
    const core::Value* types = info.find("CFBundleURLTypes");
    if (!types || !types->asArray() || types->asArray()->empty())
        return std::nullopt;
    const core::Value* schemes = types->asArray()->back().find("CFBundleURLSchemes");
    if (!schemes || !schemes->asArray() || schemes->asArray()->empty() || !schemes->asArray()->back().asString())
        return std::nullopt;
    return *schemes->asArray()->back().asString();
}

std::string TmUtils::deviceType() {
    return core::systemFacts().machine;
}

std::string TmUtils::systemVersion() {
    return core::systemFacts().systemVersion;
}

std::string TmUtils::createUrlencode(std::string_view text) {
    return core::percentEscape(text);
}

std::optional<core::Bytes> TmUtils::MAC() {
    const auto mac = TmDevice::current().mac;
    if (!mac)
        return std::nullopt;
    return core::Bytes(mac->begin(), mac->end());
}

bool TmUtils::hasMAC() {
    const auto mac = MAC();
    return mac && macText(*mac) != kHiddenMAC;
}

std::string TmUtils::MAC5() {
    return core::md5Hex(macText(MAC().value_or(core::Bytes())));
}

std::string TmUtils::MAC1() {
    return core::sha1Hex(macText(MAC().value_or(core::Bytes())));
}

std::string TmUtils::ODIN() {
    return core::sha1Hex(core::asText(MAC().value_or(core::Bytes())));
}

bool TmUtils::hasAdSupportFramework() {
    return TmDevice::current().hasAdSupportFramework;
}

std::optional<std::string> TmUtils::IDFA() {
    const TmDevice device = TmDevice::current();
    if (!device.hasAdSupportFramework)
        return std::nullopt;
    return usableIdentifier(device.advertisingIdentifier);
}

bool TmUtils::hasIDFA() {
    return IDFA().has_value();
}

bool TmUtils::doNotTrack() {
    const TmDevice device = TmDevice::current();
    return device.hasAdSupportFramework && !device.advertisingTrackingEnabled;
}

std::optional<std::string> TmUtils::IDFV() {
    return usableIdentifier(TmDevice::current().vendorIdentifier);
}

bool TmUtils::hasIDFV() {
    return IDFV().has_value();
}

core::Bytes TmUtils::getMD5(std::string_view bytes) {
    return core::md5(bytes);
}

core::Bytes TmUtils::getSHA1(std::string_view bytes) {
    return core::sha1(bytes);
}

std::string TmUtils::getMD5Hex(std::string_view bytes) {
    return core::md5Hex(bytes);
}

std::string TmUtils::getSHA1Hex(std::string_view bytes) {
    return core::sha1Hex(bytes);
}

std::string TmUtils::base64Encode(std::string_view bytes) {
    return core::base64Encode(bytes);
}

std::optional<core::Bytes> TmUtils::base64Decode(std::string_view text) {
    std::string joined(text);
    std::erase(joined, '\n');
    if (joined.size() < 4)
        return std::nullopt;
    return core::base64Decode(joined);
}

void TmUtils::setPasteboard(std::string_view name, std::string_view text) {
    if (const core::Status written = core::NamedPasteboards::shared().setString(name, text); !written)
        core::log(core::LogLevel::Debug, "analytics: pasteboard not written: " + written.error().text());
}

std::optional<std::string> TmUtils::stringFromPasteboard(std::string_view name) {
    return core::NamedPasteboards::shared().string(name);
}

std::string TmUtils::attributionPasteboardName(std::string_view secret) {
    return "com.telemetry.fbAppAttrId." + core::sha1Hex(core::sha1Hex(std::string(secret) + applicationBundleId()));
}

TmQuery::TmQuery(std::string_view account)
    : m_text("?a=" + TmUtils::createUrlencode(account)) {}

TmQuery& TmQuery::add(std::string_view key, std::string_view value) {
    m_text.append("&").append(key).append("=").append(value);
    return *this;
}

TmQuery& TmQuery::addEncoded(std::string_view key, std::string_view value) {
    return add(key, TmUtils::createUrlencode(value));
}

TmQuery& TmQuery::addPart(std::string_view part) {
    m_text.append(part);
    return *this;
}

std::optional<std::string> TmService::host() {
    SharedHost& shared = sharedHost();
    std::lock_guard guard(shared.lock);
    if (!shared.read) {
        shared.read = true;
        const char* variable = std::getenv(kHostVariable);
        if (variable && *variable) {
            if (isHostAndPort(variable))
                shared.host = variable;
            else
                core::logf(core::LogLevel::Warning, "analytics: %s is not a host and port; nothing is sent", kHostVariable);
        }
    }
    return shared.host;
}

void TmService::setHost(std::optional<std::string> host) {
    SharedHost& shared = sharedHost();
    std::lock_guard guard(shared.lock);
    shared.read = true;
    shared.host = host && isHostAndPort(*host) ? host : std::nullopt;
}

std::string TmService::signature(std::string_view secret, const TmQuery& query) {
    return core::sha1Hex(std::string(secret) + query.text());
}

std::string TmService::url(std::string_view host, std::string_view endpoint, const TmQuery& query, std::string_view secret) {
    return "http://" + std::string(host) + "/api/v1" + std::string(endpoint) + query.text() + "&h=" +
           signature(secret, query);
}

std::optional<core::Dictionary> TmService::get(std::string_view endpoint, const TmQuery& query, std::string_view secret) {
    const auto serviceHost = host();
    if (!serviceHost)
        return std::nullopt;
    net::HttpRequest request;
    request.url = url(*serviceHost, endpoint, query, secret);
    request.timeout = kRequestTimeout;
    const auto answer = net::perform(request, t_stop);
    if (!answer)
        return std::nullopt;
    core::Result<core::Value> value = core::parsePropertyList(answer->body);
    if (!value || !value->asDictionary()) {
        // A request the service refuses as such (too long, malformed) never succeeds: retrying it would
        // hold every record behind it for ever.
        if (answer->status >= 400 && answer->status < 500)
            return core::Dictionary{{"status", "http " + std::to_string(answer->status)}};
        return std::nullopt;
    }
    return std::move(*value.value().asDictionary());
}

bool TmService::isOK(const core::Dictionary& answer) {
    const core::Value* status = answer.find("status");
    return status && status->asString() && *status->asString() == "ok";
}

void TmService::logRefusal(const std::string& what, const core::Dictionary& answer) {
    const core::Value* status = answer.find("status");
    core::logf(core::LogLevel::Warning, "analytics: the service refused %s (status \"%s\"); it is dropped",
               what.c_str(), status ? status->stringValue().c_str() : "");
}

TmService::StopScope::StopScope(std::stop_token stop)
    : m_previous(std::exchange(t_stop, std::move(stop))) {}

TmService::StopScope::~StopScope() {
    t_stop = std::move(m_previous);
}

} // namespace zm
