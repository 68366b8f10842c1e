#include "crashlog/CrashlogContextFacts.h"

#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGCaptureFacts.h"

namespace zm {

std::optional<CLGExecutableSlices> CrashlogContextExecutableSlices() {
    const auto slices = CLGExecutableSliceMap(CLGCaptureContextShared());
    if (!slices)
        return std::nullopt;
    return CLGExecutableSlices(slices->begin(), slices->end());
}

std::string CrashlogContextMinimumOSVersion() {
    return CLGMinimumOSVersion(CLGCaptureContextShared());
}

std::string CrashlogContextSDKVersion() {
    return CLGSDKVersion(CLGCaptureContextShared());
}

core::Dictionary CrashlogContextIdentification() {
    core::Dictionary identification;
    if (!CLGCaptureContextIsReady())
        return identification;
    const CLGCaptureContext& context = CLGCaptureContextShared();
    const CLGHostInfo& host = context.staticPart->host;
    const std::pair<const char*, const char*> identifiers[] = {
        {"ios_udid", host.deviceIdentifier},
        {"ios_vendor_identifier", host.vendorIdentifier},
        {"ios_advertising_identifier", host.advertisingIdentifier},
        {"wifi_mac_address", host.macAddress},
        {"application_installation_uuid", host.installIdentifier},
        {"font_token", host.fontToken},
    };
    for (const auto& [key, value] : identifiers) {
        if (value)
            identification.set(key, std::string(value));
    }
    if (const auto model = CLGModelText(context))
        identification.set("model", *model);
    if (const auto osVersion = CLGOSVersionText(context))
        identification.set("os_version", *osVersion);
    return identification;
}

std::map<std::string, uint64_t> CrashlogContextUUIDMap() {
    return CLGUUIDMap(CLGCaptureContextShared());
}

} // namespace zm
