#include "tools/analytics-service/AnalyticsService.h"

#include "platform/core/Digest.h"
#include "platform/core/Encoding.h"
#include "platform/core/Json.h"
#include "platform/core/NumberText.h"
#include "platform/core/PropertyList.h"
#include "tools/analytics-service/ServiceQuery.h"

#include <httplib.h>
#include <zlib.h>

namespace zm {

namespace {

// Inflated batches larger than this are refused rather than filling memory.
constexpr size_t kLargestBatch = 16 << 20;

std::optional<std::string> inflate(const core::Bytes& compressed) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::string out;
    int result = Z_OK;
    while (result == Z_OK && out.size() < kLargestBatch) {
        char chunk[16384];
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = ::inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - stream.avail_out);
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    return out;
}

// The entries of a batch's payload: {"events": [...]} or {"jz64events": base64 of zlib's form of the
// same array}.
std::optional<core::Array> batchEntries(const std::string& payload) {
    core::Result<core::Value> parsed = core::parseJson(payload);
    if (!parsed)
        return std::nullopt;
    if (const core::Value* events = parsed->find("events"); events && events->asArray())
        return *events->asArray();
    const core::Value* packed = parsed->find("jz64events");
    if (!packed || !packed->asString())
        return std::nullopt;
    const auto compressed = core::base64Decode(*packed->asString());
    const auto json = compressed ? inflate(*compressed) : std::nullopt;
    core::Result<core::Value> entries = json ? core::parseJson(*json) : core::Result<core::Value>(core::Error{});
    if (!entries || !entries->asArray())
        return std::nullopt;
    return *entries->asArray();
}

std::string unescaped(const core::Value* value) {
    const std::string text = value ? value->stringValue() : std::string();
    return core::percentUnescape(text).value_or(text);
}

std::vector<ServiceKey> keysOf(const std::string& json) {
    std::vector<ServiceKey> keys;
    core::Result<core::Value> parsed = core::parseJson(json);
    if (!parsed || !parsed->asArray())
        return keys;
    for (const core::Value& entry : *parsed->asArray()) {
        const core::Value* space = entry.find("k");
        const core::Value* id = entry.find("v");
        if (space && id && space->asString() && id->asString())
            keys.push_back({*space->asString(), *id->asString()});
    }
    return keys;
}

core::Array keyArray(const std::vector<ServiceKey>& keys) {
    core::Array array;
    for (const ServiceKey& key : keys)
        array.push_back(core::Dictionary{{"k", key.keySpace}, {"v", key.uniqueId}});
    return array;
}

core::Dictionary refusal(std::string status) {
    return core::Dictionary{{"status", std::move(status)}};
}

} // namespace

AnalyticsService::AnalyticsService(ServiceStore& store, std::map<std::string, std::string> secrets)
    : m_store(store)
    , m_secrets(std::move(secrets)) {}

void AnalyticsService::script(const std::string& endpoint, core::Dictionary answer, int times) {
    std::lock_guard guard(m_lock);
    m_scripts[endpoint].push_back({std::move(answer), std::max(times, 0)});
}

std::optional<core::Dictionary> AnalyticsService::nextScript(const std::string& endpoint) {
    std::lock_guard guard(m_lock);
    auto& scripts = m_scripts[endpoint];
    if (scripts.empty())
        return std::nullopt;
    core::Dictionary answer = scripts.front().answer;
    if (scripts.front().remaining > 0 && --scripts.front().remaining == 0)
        scripts.pop_front();
    return answer;
}

AnalyticsService::Answer AnalyticsService::handle(std::string_view target) {
    const auto query = ServiceQuery::parse(target);
    if (!query)
        return {404, refusal("unknown request")};
    m_store.addRequest(query->endpoint, query->signedText);
    if (query->endpoint != "resolve" && query->endpoint != "start" && query->endpoint != "event")
        return {404, refusal("unknown endpoint")};

    const std::string account = query->value("a");
    const auto secret = m_secrets.find(account);
    if (secret == m_secrets.end() || core::sha1Hex(secret->second + query->signedText) != query->signature)
        return {403, refusal("invalid signature")};

    const ServiceKey requestKey{query->value("k"), query->value("u")};
    core::Dictionary answer{{"status", "ok"}};
    std::optional<ServiceStore::Device> device;
    // A session sent again is answered as it was the first time, and held once.
    const std::optional<bool> heldSession =
        query->endpoint == "start" ? m_store.heldSession(account, query->value("s")) : std::nullopt;
    if (query->endpoint == "resolve" || query->endpoint == "start") {
        device = m_store.deviceFor(account, requestKey);
        if (query->endpoint == "resolve") {
            answer.set("k", device->canonical.keySpace);
            answer.set("u", device->canonical.uniqueId);
            answer.set("csign", device->signature);
            answer.set("known", keyArray(device->otherKeys));
            answer.set("desired", core::Array{});
        } else {
            answer.set("result", "session stored");
            answer.set("first_time", heldSession ? *heldSession : device->sessions == 0);
            answer.set("block_iapauto", false);
            answer.set("restored_iap", false);
            if (query->value("cr") == "1")
                answer.set("csign", device->signature);
        }
    }

    if (auto scripted = nextScript(query->endpoint)) {
        if (const core::Value* none = scripted->find("no_answer"); none && none->boolValue())
            return {503, std::nullopt};
        for (const auto& entry : scripted->entries()) {
            if (entry.key == "fresh_key") {
                if (entry.value.boolValue()) {
                    answer.set("k", "TMID");
                    answer.set("u", core::uuidString());
                }
            } else if (entry.key == "same_key") {
                if (entry.value.boolValue()) {
                    answer.set("k", requestKey.keySpace);
                    answer.set("u", requestKey.uniqueId);
                }
            } else {
                answer.set(entry.key, entry.value);
            }
        }
    }
    if (!answer.find("status") || answer.find("status")->stringValue() != "ok")
        return {200, std::move(answer)};

    if (query->endpoint == "start") {
        m_store.addKeys(device->id, keysOf(query->value("dk")));
        if (heldSession)
            return {200, std::move(answer)};
        core::Dictionary details;
        for (const auto& [key, value] : query->params)
            details.set(key, value);
        m_store.addSession({account, query->value("s"), device->id, std::move(details)});
    } else if (query->endpoint == "event" && query->value("n") == "__batchevent__") {
        const auto entries = batchEntries(query->value("e"));
        if (!entries)
            return {200, refusal("unreadable batch")};
        for (const core::Value& entry : *entries) {
            const core::Value* session = entry.find("s");
            const core::Value* timestamp = entry.find("t");
            const core::Value* lag = entry.find("lag");
            m_store.addEvent({account, session ? session->stringValue() : std::string(), unescaped(entry.find("n")),
                              unescaped(entry.find("e")), 0, timestamp ? timestamp->doubleValue() : 0,
                              lag ? lag->doubleValue() : 0, true});
        }
    } else if (query->endpoint == "event") {
        m_store.addEvent({account, query->value("s"), query->value("n"), query->value("e"),
                          core::doubleValue(query->value("t")), 0, core::doubleValue(query->value("lag")), false});
    }
    return {200, std::move(answer)};
}

void AnalyticsService::install(httplib::Server& server) {
    server.Get(R"(/api/v1/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        const Answer answer = handle(request.target);
        response.status = answer.status;
        const auto xml = answer.plist ? core::toPropertyList(core::Value(*answer.plist))
                                      : core::Result<std::string>(core::Error{});
        if (xml)
            response.set_content(*xml, "application/x-plist");
        else
            response.set_content("no answer", "text/plain");
    });
    server.Get("/list", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(core::toJson(m_store.listing(), core::JsonStyle::Indented), "application/json");
    });
    server.Post("/script", [this](const httplib::Request& request, httplib::Response& response) {
        core::Result<core::Value> body = core::parseJson(request.body);
        const core::Value* endpoint = body ? body->find("endpoint") : nullptr;
        const core::Value* answer = body ? body->find("answer") : nullptr;
        if (!endpoint || !endpoint->asString() || !answer || !answer->asDictionary()) {
            response.status = 400;
            response.set_content("expected {\"endpoint\": ..., \"answer\": {...}, \"times\": n}\n", "text/plain");
            return;
        }
        const core::Value* times = body->find("times");
        script(*endpoint->asString(), *answer->asDictionary(), times ? times->intValue() : 1);
        response.set_content("scripted\n", "text/plain");
    });
}

} // namespace zm
