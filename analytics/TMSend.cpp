#include "analytics/TMRecords.h"

#include "analytics/TmID.h"
#include "analytics/TmStore.h"
#include "analytics/TmUtils.h"
#include "platform/core/Format.h"
#include "platform/core/Log.h"

namespace zm {

int TMEvent::send() {
    if (!TmID::initKey(key(), secret()))
        return m_sent = -1;
    const std::string encodedArguments = TmUtils::createUrlencode(arguments());
    if (encodedArguments.size() > kLongestArguments) {
        core::logf(core::LogLevel::Warning,
                   "analytics: event \"%s\" is not sent: its arguments take %zu characters, more than %zu; it is dropped",
                   name().c_str(), encodedArguments.size(), kLongestArguments);
        return m_sent = 0;
    }
    TmQuery query(key());
    query.add("k", TmUtils::createUrlencode(TmID::keySpace().value_or("")))
        .add("u", TmUtils::createUrlencode(TmID::uniqueId().value_or("")))
        .addEncoded("av", appVersion())
        .addEncoded("i", TmUtils::applicationBundleId())
        .add("lag", core::format("%.2f", lag()))
        .addEncoded("n", name())
        .add("e", encodedArguments)
        .add("p", "iOS")
        .add("rt", "plist")
        .addEncoded("s", sessionId())
        .add("t", core::format("%.2f", delta()))
        .addEncoded("sdk", kSDKName);
    const auto answer = TmService::get("/event", query, secret());
    if (!answer)
        return m_sent = -1;
    if (!TmService::isOK(*answer)) {
        TmService::logRefusal("event \"" + name() + "\"", *answer);
        return m_sent = 0;
    }
    return m_sent = 1;
}

int TMSession::send() {
    if (!TmID::initKey(key(), secret()))
        return m_sent = -1;
    const auto answer = TmID::startSession(*this, key(), secret());
    if (!answer)
        return m_sent = -1;
    if (!TmService::isOK(*answer) || !answer->find("result")) {
        TmService::logRefusal("session " + sessionId(), *answer);
        return m_sent = 0;
    }
    const auto truth = [&](std::string_view key) {
        const core::Value* value = answer->find(key);
        return value && value->boolValue();
    };
    if (truth("first_time")) {
        core::Array facebookIds;
        for (const std::string& scheme : TmUtils::schemes()) {
            if (scheme.size() > 2 && scheme.starts_with("fb"))
                facebookIds.push_back(scheme.substr(2));
        }
        const auto attribution = TmUtils::stringFromPasteboard(TmUtils::attributionPasteboardName(secret()));
        if (attribution && !attribution->empty())
            TmEventSink::record("__FBInstall", {{"fb_app_attribution", *attribution}, {"fb_app_ids", facebookIds}});
    }
    if (!TmStore::allowAutoIAPComplete() || truth("block_iapauto"))
        TmStore::stop();
    else
        TmStore::start();
    TmStore::setFiresRestoredTransactions(truth("restored_iap"));
    return m_sent = 1;
}

} // namespace zm
