#pragma once

#include "platform/core/Value.h"

#include <cstdint>

namespace zm {

struct CLGAllocator;
class CLGRecordWriter;

// The main program as the crash record describes it. Strings lie in the arena's protected region.
struct CLGExecutableInfo {
    const char* path = nullptr;
    uint64_t address = 0;
    uint64_t size = 0;
    // The first 16 bytes of the program's build-id, inside the loaded program; null without one.
    const uint8_t* uuid = nullptr;
    // CFBundleIdentifier with every "/" made "_".
    const char* bundleId = nullptr;
    const char* version = nullptr;
    const char* displayVersion = nullptr;
    const char* name = nullptr;
    // The architecture the program runs as; a Linux program has one slice, so "archs" is the same
    // name and "uuids" the build-id's text ("" for both without a build-id).
    const char* architecture = nullptr;
    const char* archs = nullptr;
    const char* uuids = nullptr;
    const char* sdkVersion = nullptr;
    const char* minimumOSVersion = nullptr;
};

// The architecture this program was built for ("x86_64", "arm64", ...).
const char* CLGRunningArchitecture();

// Texts the crash reporter derives from the application's information property list.
std::string CLGBundleIdentifier(const core::Dictionary& infoPlist);
std::string CLGBundleVersion(const core::Dictionary& infoPlist);
std::optional<std::string> CLGShortBundleVersion(const core::Dictionary& infoPlist);
// CFBundleDisplayName, else CFBundleName, else CFBundleVersion, else "0".
std::string CLGApplicationName(const core::Dictionary& infoPlist);

// Fills `executable` from the running program and its information property list.
void CLGExecutableInfoGather(CLGExecutableInfo& executable, const core::Dictionary& infoPlist,
                             CLGAllocator* allocator);

// The "executable" line, with the development platform and its version as the facade last set them.
// Crash time.
void CLGWriteExecutable(CLGRecordWriter& writer, const CLGExecutableInfo& executable, const char* devPlatform,
                        const char* devPlatformVersion);

} // namespace zm
