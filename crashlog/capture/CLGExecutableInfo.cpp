#include "crashlog/capture/CLGExecutableInfo.h"

#include "crashlog/capture/CLGBinaryImage.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/record/CLGRecordWriter.h"

#include <algorithm>
#include <link.h>

namespace zm {
namespace {

constexpr size_t kFreeTextLimit = 1024;

std::optional<std::string> text(const core::Dictionary& plist, std::string_view key) {
    const core::Value* value = plist.find(key);
    if (!value || !value->asString())
        return std::nullopt;
    return *value->asString();
}

struct MainProgram {
    std::string path;
    CLGImageFacts facts;
};

MainProgram mainProgram() {
    MainProgram program;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) -> int {
            auto& program = *static_cast<MainProgram*>(data);
            program.path = CLGImagePath(info->dlpi_name, true);
            program.facts = CLGImageFactsFromProgramHeaders(info->dlpi_addr, info->dlpi_phdr, info->dlpi_phnum);
            return 1;
        },
        &program);
    return program;
}

} // namespace

const char* CLGRunningArchitecture() {
#if defined(__x86_64__)
    return "x86_64";
#elif defined(__aarch64__)
    return "arm64";
#elif defined(__i386__)
    return "i386";
#else
    return "unknown";
#endif
}

std::string CLGBundleIdentifier(const core::Dictionary& infoPlist) {
    std::string identifier = text(infoPlist, "CFBundleIdentifier").value_or("");
    std::replace(identifier.begin(), identifier.end(), '/', '_');
    return identifier;
}

std::string CLGBundleVersion(const core::Dictionary& infoPlist) {
    return text(infoPlist, "CFBundleVersion").value_or("0");
}

std::optional<std::string> CLGShortBundleVersion(const core::Dictionary& infoPlist) {
    return text(infoPlist, "CFBundleShortVersionString");
}

std::string CLGApplicationName(const core::Dictionary& infoPlist) {
    for (const char* key : {"CFBundleDisplayName", "CFBundleName", "CFBundleVersion"}) {
        if (auto name = text(infoPlist, key))
            return *name;
    }
    return "0";
}

void CLGExecutableInfoGather(CLGExecutableInfo& executable, const core::Dictionary& infoPlist,
                             CLGAllocator* allocator) {
    const MainProgram program = mainProgram();
    executable.path = CLGArenaCopyString(allocator, program.path);
    executable.address = program.facts.address;
    executable.size = program.facts.size;
    executable.uuid = program.facts.uuid;
    executable.bundleId = CLGArenaCopyString(allocator, CLGBundleIdentifier(infoPlist));
    executable.version = CLGArenaCopyString(allocator, CLGBundleVersion(infoPlist));
    const auto displayVersion = CLGShortBundleVersion(infoPlist);
    executable.displayVersion = displayVersion ? CLGArenaCopyString(allocator, *displayVersion) : nullptr;
    executable.name = CLGArenaCopyString(allocator, CLGApplicationName(infoPlist));
    executable.architecture = CLGRunningArchitecture();
    char uuid[kCLGUUIDStringSize] = "";
    if (program.facts.uuid)
        CLGHexEncode(program.facts.uuid, 16, uuid);
    executable.archs = program.facts.uuid ? executable.architecture : "";
    executable.uuids = CLGArenaCopyString(allocator, uuid);
    // Linux programs carry no SDK or minimum system version.
    executable.sdkVersion = "0.0.0";
    executable.minimumOSVersion = "0.0.0";
}

void CLGWriteExecutable(CLGRecordWriter& writer, const CLGExecutableInfo& executable, const char* devPlatform,
                        const char* devPlatformVersion) {
    writer.beginLine("executable");
    writer.beginObject();
    writer.stringMember("path", executable.path);
    char uuid[kCLGUUIDStringSize];
    CLGUUIDString(executable.uuid, uuid);
    writer.stringMember("uuid", uuid);
    writer.numberMember("address", executable.address);
    writer.numberMember("size", executable.size);
    writer.stringMember("bundle_id", executable.bundleId);
    writer.stringMember("version", executable.version);
    writer.stringMember("display_version", executable.displayVersion);
    writer.stringMember("architecture", executable.architecture);
    writer.stringMember("uuids", executable.uuids);
    writer.stringMember("archs", executable.archs);
    // The facade may swap these while the process crashes.
    writer.checkedStringMember("dev_platform", devPlatform, kFreeTextLimit);
    writer.checkedStringMember("dev_platform_version", devPlatformVersion, kFreeTextLimit);
    writer.endObject();
    writer.endLine();
}

} // namespace zm
