#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zm {

struct CLGAllocator;
class CLGRecordWriter;

// The machine as the crash record describes it. Strings lie in the arena's protected region; a fact
// that could not be had stays null and is written as "(null)".
struct CLGHostInfo {
    // The hardware name ("x86_64"): recorded under the key "model".
    const char* machine = nullptr;
    // The board or product name: recorded under the key "machine".
    const char* model = nullptr;
    const char* locale = nullptr;
    const char* osBuild = nullptr;
    const char* osVersion = nullptr;
    const char* platform = nullptr;
    uint32_t platformCode = 0;
    uint32_t cores = 0;
    bool vendorInternal = false;
    // Where the application keeps its documents; the "storage" line measures its volume.
    const char* documentsPath = nullptr;
    uint8_t identifierFlags = 0;
    const char* deviceIdentifier = nullptr;
    // 12 lower-case hexadecimal digits.
    const char* macAddress = nullptr;
    const char* vendorIdentifier = nullptr;
    const char* advertisingIdentifier = nullptr;
    const char* installIdentifier = nullptr;
    const char* fontToken = nullptr;
};

// What changes while the application runs; the facade's observers write it.
struct CLGDeviceState {
    uint32_t deviceOrientation = 1;
    uint32_t interfaceOrientation = 1;
    // The text of a floating-point number, swapped whole; null until known.
    std::atomic<char*> batteryLevel = nullptr;
    int32_t chargingState = 0;
    bool proximity = false;
    bool backgrounded = false;
};

// What the host gatherer is told about the machine.
struct CLGHostFacts {
    std::string machine;
    std::string model;
    std::string locale;
    std::string osBuild;
    std::string osVersion;
    uint32_t cores = 0;
    std::optional<std::string> documentsPath;
    std::string installIdentifier;
    std::optional<std::array<uint8_t, 6>> macAddress;
    // This platform has neither; tests give them.
    std::optional<std::string> vendorIdentifier;
    std::optional<std::string> advertisingIdentifier;
};

// The locale identifier of the environment's language settings ("de_DE.UTF-8" gives "de_DE"); a
// plain C locale gives "en_US_POSIX".
std::string CLGLocaleIdentifier(const std::function<const char*(const char*)>& environment);

// The machine's facts as this system gives them (core's system facts, the environment's locale, the
// processor count and the configured network interface's address), with the application's install
// identifier and documents folder.
CLGHostFacts CLGHostFactsGather(const std::string& installIdentifier, const std::optional<std::string>& documentsPath);

// The link-layer address of the network interface a person configured (ZEMBRIX_MAC_INTERFACE) into
// `address`; 0 on success. Without a configured interface nothing is read; a configured interface
// without an address prints "Error: if_nametoindex failure" on standard output.
int CLGMACAddressRead(uint8_t (&address)[6]);

// Copies the facts into `host`, with the identifiers its flags ask for (set the flags first).
void CLGHostInfoGather(CLGHostInfo& host, const CLGHostFacts& facts, CLGAllocator* allocator);

// The "host" line: the host's facts, then the device state. Crash time.
void CLGWriteHost(CLGRecordWriter& writer, const CLGHostInfo& host, const CLGDeviceState& state);

// The "storage" line: the documents volume's free and total bytes; no members when it cannot be
// measured. Crash time.
void CLGWriteStorage(CLGRecordWriter& writer, const CLGHostInfo& host);

} // namespace zm
