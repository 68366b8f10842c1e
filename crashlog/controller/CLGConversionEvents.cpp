#include "crashlog/controller/CLGConversionEvents.h"

#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGExecutableInfo.h"
#include "crashlog/service/CLGServiceKeys.h"
#include "platform/core/Digest.h"
#include "platform/core/InfoPlist.h"
#include "platform/core/MainLoop.h"
#include "platform/core/UserDefaults.h"

#include <cmath>

namespace zm {

CLGConversionSource CLGConversionSource::fromCaptureContext() {
    CLGConversionSource source;
    const CLGCaptureContext& context = CLGCaptureContextShared();
    source.bundleIdentifier = CLGBundleIdentifier(*core::sharedInfoDictionary());
    if (!context.staticPart || !context.mutablePart)
        return source;
    source.trackingOn = context.staticPart->conversionTracking;
    source.installIdentifierCreated = context.staticPart->installIdentifierCreated;
    source.contextReady = (context.mutablePart->ready.load() & 1) != 0;
    source.storeItemId = context.mutablePart->conversionStoreItemId;
    if (const char* advertising = context.staticPart->host.advertisingIdentifier)
        source.advertisingIdentifier = advertising;
    return source;
}

std::optional<std::string> CLGConversionEventKey(std::string_view eventType, const CLGConversionSource& source) {
    if (!source.contextReady || !source.advertisingIdentifier || source.storeItemId == 0)
        return std::nullopt;
    return core::sha1Hex(*source.advertisingIdentifier + std::string(kCLGConversionSalt) + std::to_string(source.storeItemId) +
                         std::string(eventType));
}

namespace {

core::Dictionary conversionEvent(const std::string& key, const char* type, const CLGConversionSource& source) {
    return core::Dictionary{{"key", key},
                            {"event_type", type},
                            {"app_id", std::to_string(source.storeItemId)},
                            {"happened_at", static_cast<int64_t>(std::floor(core::currentDate().secondsSince1970))},
                            {"bundle_identifier", source.bundleIdentifier}};
}

} // namespace

std::optional<core::Array> CLGConversionEventArray(const CLGConversionSource& source) {
    if (!source.trackingOn)
        return std::nullopt;
    core::UserDefaults& defaults = core::UserDefaults::standard();
    std::optional<std::string> installKey = defaults.stringForKey(kCLGInstallEventKey);
    if (!installKey && source.installIdentifierCreated) {
        installKey = CLGConversionEventKey("Install", source);
        if (installKey) {
            defaults.setObject(*installKey, kCLGInstallEventKey);
            defaults.synchronize();
        }
    }
    core::Array events;
    if (installKey)
        events.push_back(conversionEvent(*installKey, "Install", source));
    if (const auto activationKey = CLGConversionEventKey("Activation", source))
        events.push_back(conversionEvent(*activationKey, "Activation", source));
    return events;
}

std::shared_ptr<core::Timer> CLGConversionTimerStart(std::shared_ptr<core::DispatchQueue> queue, std::function<void()> reload) {
    return core::Timer::schedule(std::chrono::hours(1), core::Timer::Repeat::Repeating,
                                 [reload = std::move(reload)](core::Timer&) { reload(); }, std::move(queue));
}

} // namespace zm
