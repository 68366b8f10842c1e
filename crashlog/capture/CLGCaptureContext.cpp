#include "crashlog/capture/CLGCaptureContext.h"

namespace zm {

namespace {

// Constant-initialised, so that a signal handler may read it before anything else ran.
constinit CLGCaptureContext g_context;

} // namespace

CLGCaptureContext& CLGCaptureContextShared() {
    return g_context;
}

int CLGCaptureContextIsReady() {
    const CLGCaptureMutablePart* part = CLGCaptureContextShared().mutablePart;
    if (!part)
        return 0;
    return (part->ready.load(std::memory_order_seq_cst) & 1) != 0 ? 1 : 0;
}

std::optional<std::string> CLGAPIEndpointOverride(const core::Dictionary& infoPlist,
                                                  const CLGEnvironment& environment) {
    static constexpr const char* kKey = "CrashlogAPIEndpoint";
    if (const core::Value* value = infoPlist.find(kKey); value && value->asString())
        return *value->asString();
    if (const char* variable = environment ? environment(kKey) : nullptr)
        return std::string(variable);
    return std::nullopt;
}

bool CLGInfoPlistBool(const core::Dictionary& infoPlist, std::string_view key) {
    const core::Value* value = infoPlist.find(key);
    return value && value->boolValue();
}

} // namespace zm
