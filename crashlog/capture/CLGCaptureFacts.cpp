#include "crashlog/capture/CLGCaptureFacts.h"

#include "crashlog/capture/CLGCaptureContext.h"
#include "crashlog/capture/CLGMemory.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace zm {
namespace {

const CLGCaptureStaticPart* readyStaticPart(const CLGCaptureContext& context) {
    const bool ready = context.mutablePart && (context.mutablePart->ready.load() & 1);
    return ready ? context.staticPart : nullptr;
}

std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, ':');)
        parts.push_back(part);
    return parts;
}

std::string withoutQuotesOrBackslashes(std::string text) {
    std::erase_if(text, [](char letter) { return letter == '\\' || letter == '"'; });
    return text;
}

} // namespace

std::optional<std::map<std::string, std::string>> CLGExecutableSliceMap(const CLGCaptureContext& context) {
    const CLGCaptureStaticPart* part = readyStaticPart(context);
    if (!part || !part->executable.archs || !part->executable.uuids)
        return std::nullopt;
    const auto archs = split(part->executable.archs);
    const auto uuids = split(part->executable.uuids);
    if (archs.size() != uuids.size())
        return std::nullopt;
    std::map<std::string, std::string> slices;
    for (size_t i = 0; i < archs.size(); ++i)
        slices[archs[i]] = uuids[i];
    return slices;
}

std::string CLGMinimumOSVersion(const CLGCaptureContext& context) {
    const CLGCaptureStaticPart* part = readyStaticPart(context);
    return part && part->executable.minimumOSVersion ? part->executable.minimumOSVersion : "0.0.0";
}

std::string CLGSDKVersion(const CLGCaptureContext& context) {
    const CLGCaptureStaticPart* part = readyStaticPart(context);
    return part && part->executable.sdkVersion ? part->executable.sdkVersion : "0.0.0";
}

std::optional<std::string> CLGModelText(const CLGCaptureContext& context) {
    const CLGCaptureStaticPart* part = readyStaticPart(context);
    if (!part || !part->host.machine)
        return std::nullopt;
    return withoutQuotesOrBackslashes(part->host.machine);
}

std::optional<std::string> CLGOSVersionText(const CLGCaptureContext& context) {
    const CLGCaptureStaticPart* part = readyStaticPart(context);
    if (!part || !part->host.osVersion || !part->host.osBuild)
        return std::nullopt;
    return withoutQuotesOrBackslashes(std::string(part->host.osVersion) + "/" + part->host.osBuild);
}

std::map<std::string, uint64_t> CLGUUIDMap(const CLGCaptureContext& context) {
    if (!readyStaticPart(context))
        return {};
    return CLGUUIDMapOfImages(context.mutablePart->images.load());
}

} // namespace zm
