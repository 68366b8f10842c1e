#include "crashlog/capture/CLGHostInfo.h"

#include "crashlog/capture/CLGCaptureConfiguration.h"
#include "crashlog/capture/CLGMemory.h"
#include "crashlog/record/CLGRecordWriter.h"
#include "platform/core/SystemFacts.h"
#include "platform/net/NetworkFacts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <string_view>
#include <sys/statfs.h>

namespace zm {
namespace {

constexpr size_t kFreeTextLimit = 64;

} // namespace

std::string CLGLocaleIdentifier(const std::function<const char*(const char*)>& environment) {
    std::string_view setting;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment ? environment(name) : nullptr;
        if (value && *value) {
            setting = value;
            break;
        }
    }
    setting = setting.substr(0, setting.find_first_of(".@"));
    if (setting.empty() || setting == "C" || setting == "POSIX")
        return "en_US_POSIX";
    return std::string(setting);
}

CLGHostFacts CLGHostFactsGather(const std::string& installIdentifier, const std::optional<std::string>& documentsPath) {
    const core::SystemFacts& system = core::systemFacts();
    CLGHostFacts facts;
    facts.machine = system.machine;
    facts.model = system.model;
    facts.locale = CLGLocaleIdentifier(&getenv);
    facts.osBuild = system.osVersion;
    facts.osVersion = system.systemVersion;
    facts.cores = static_cast<uint32_t>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    facts.documentsPath = documentsPath;
    facts.installIdentifier = installIdentifier;
    uint8_t address[6];
    if (CLGMACAddressRead(address) == 0)
        facts.macAddress = std::to_array(address);
    return facts;
}

int CLGMACAddressRead(uint8_t (&address)[6]) {
    const char* interface = getenv(net::kMacInterfaceVariable);
    if (!interface || !*interface)
        return 1;
    const auto found = net::macAddress(interface);
    if (!found) {
        printf("Error: %s\n", "if_nametoindex failure");
        return 1;
    }
    std::copy(found->begin(), found->end(), address);
    return 0;
}

void CLGHostInfoGather(CLGHostInfo& host, const CLGHostFacts& facts, CLGAllocator* allocator) {
    host.machine = CLGArenaCopyString(allocator, facts.machine);
    host.model = CLGArenaCopyString(allocator, facts.model);
    host.locale = CLGArenaCopyString(allocator, facts.locale);
    host.osBuild = CLGArenaCopyString(allocator, facts.osBuild);
    host.osVersion = CLGArenaCopyString(allocator, facts.osVersion);
    host.platform = "iOS";
    host.platformCode = 1;
    host.cores = facts.cores;
    host.vendorInternal = false;
    host.documentsPath = facts.documentsPath ? CLGArenaCopyString(allocator, *facts.documentsPath) : nullptr;
    host.installIdentifier = CLGArenaCopyString(allocator, facts.installIdentifier);
    if ((host.identifierFlags & kCLGIdentifierAdvertising) && facts.advertisingIdentifier)
        host.advertisingIdentifier = CLGArenaCopyString(allocator, *facts.advertisingIdentifier);
    if ((host.identifierFlags & kCLGIdentifierVendor) && facts.vendorIdentifier)
        host.vendorIdentifier = CLGArenaCopyString(allocator, *facts.vendorIdentifier);
    if ((host.identifierFlags & kCLGIdentifierMACAddress) && facts.macAddress) {
        char text[13];
        CLGHexEncode(facts.macAddress->data(), facts.macAddress->size(), text);
        host.macAddress = CLGArenaCopyString(allocator, text);
    }
}

void CLGWriteHost(CLGRecordWriter& writer, const CLGHostInfo& host, const CLGDeviceState& state) {
    writer.beginLine("host");
    writer.beginObject();
    writer.stringMember("model", host.machine);
    writer.stringMember("machine", host.model);
    writer.stringMember("locale", host.locale);
    writer.stringMember("os_build", host.osBuild);
    writer.stringMember("os_version", host.osVersion);
    writer.stringMember("platform", host.platform);
    writer.numberMember("platform_code", host.platformCode);
    writer.numberMember("cores", host.cores);
    writer.booleanMember("vendor_internal", host.vendorInternal);
    writer.numberMember("device_orientation", state.deviceOrientation);
    writer.numberMember("ui_orientation", state.interfaceOrientation);
    // Swapped by the facade at any time.
    writer.checkedStringMember("battery_level", state.batteryLevel.load(), kFreeTextLimit);
    writer.numberMember("charging_state", static_cast<uint64_t>(state.chargingState));
    writer.booleanMember("proximity_on", state.proximity);
    writer.booleanMember("is_backgrounded", state.backgrounded);
    writer.endObject();
    writer.endLine();
}

void CLGWriteStorage(CLGRecordWriter& writer, const CLGHostInfo& host) {
    writer.beginLine("storage");
    writer.beginObject();
    struct statfs volume;
    if (host.documentsPath && statfs(host.documentsPath, &volume) == 0) {
        const auto blockSize = static_cast<uint64_t>(volume.f_frsize ? volume.f_frsize : volume.f_bsize);
        writer.numberMember("free", blockSize * volume.f_bavail);
        writer.numberMember("total", blockSize * volume.f_blocks);
    }
    writer.endObject();
    writer.endLine();
}

} // namespace zm
