#include "analytics/TMBatchEvent.h"

#include "analytics/TMDB.h"
#include "analytics/TMJSON.h"
#include "analytics/TmID.h"
#include "analytics/TmUtils.h"
#include "platform/core/Format.h"

#include <zlib.h>

namespace zm {

namespace {

core::Dictionary entryOf(const TMEvent& event) {
    return core::Dictionary{{"s", event.sessionId()},
                            {"n", TmUtils::createUrlencode(event.name())},
                            {"e", TmUtils::createUrlencode(event.arguments())},
                            {"t", event.timestamp()},
                            {"lag", event.lag()}};
}

// zlib's one-shot form of the text; nothing when it fails.
std::optional<std::string> compressed(const std::string& text) {
    uLongf size = compressBound(text.size());
    std::string out(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(text.data()), text.size()) !=
        Z_OK)
        return std::nullopt;
    out.resize(size);
    return out;
}

} // namespace

TMBatchEvent::TMBatchEvent(std::string key, std::string secret, const core::Dictionary& values)
    : TMEvent(std::move(key), std::move(secret), values) {}

bool TMBatchEvent::addEvent(const std::shared_ptr<TMSAPI>& record) {
    TMAPIEvent* api = record ? record->apiEvent() : nullptr;
    if (!api || !api->batchable() || !record->event())
        return false;
    std::shared_ptr<TMEvent> event(record, record->event());
    const size_t length = TmUtils::createUrlencode(TMJSONStringFromObject(entryOf(*event))).size();
    if (m_argumentsSize + length + 1 > static_cast<size_t>(kLongestArguments))
        return false;
    m_argumentsSize += static_cast<int>(length + 1);
    m_events.push_back(std::move(event));
    return true;
}

core::Array TMBatchEvent::batchedEvents() const {
    core::Array entries;
    entries.reserve(m_events.size());
    for (const auto& event : m_events)
        entries.push_back(entryOf(*event));
    return entries;
}

std::shared_ptr<TMBatchEvent> TMBatchEvent::copyEmpty() const {
    auto batch = std::make_shared<TMBatchEvent>(
        key(), secret(),
        core::Dictionary{{"sessionId", sessionId()}, {"delta", delta()}, {"name", "__batchevent__"}, {"arguments", "{}"}});
    batch->setNoCompression(m_noCompression);
    return batch;
}

int TMBatchEvent::send() {
    if (!TmID::initKey(key(), secret()))
        return m_sent = -1;
    const core::Array entries = batchedEvents();
    std::optional<std::string> packed = m_noCompression ? std::nullopt : compressed(TMJSONStringFromObject(entries));
    const core::Dictionary payload = packed ? core::Dictionary{{"jz64events", TmUtils::base64Encode(*packed)}}
                                            : core::Dictionary{{"events", entries}};
    TmQuery query(key());
    query.add("k", TmUtils::createUrlencode(TmID::keySpace().value_or("")))
        .add("u", TmUtils::createUrlencode(TmID::uniqueId().value_or("")))
        .addEncoded("av", appVersion())
        .addEncoded("i", TmUtils::applicationBundleId())
        .add("lag", core::format("%.2f", lag()))
        .addEncoded("n", name())
        .add("p", "iOS")
        .add("rt", "plist")
        .addEncoded("s", sessionId())
        .add("t", core::format("%.2f", delta()))
        .addEncoded("sdk", kSDKName)
        .addEncoded("e", TMJSONStringFromObject(payload));
    const auto answer = TmService::get("/event", query, secret());
    if (!answer)
        return m_sent = -1;
    if (!TmService::isOK(*answer)) {
        TmService::logRefusal("a batch of " + std::to_string(m_events.size()) + " events", *answer);
        return m_sent = 0;
    }
    return m_sent = 1;
}

bool TMBatchEvent::deleteFromDatabase(TMDB& store) {
    for (const auto& event : m_events)
        event->deleteFromDatabase(store);
    m_events.clear();
    return true;
}

} // namespace zm
