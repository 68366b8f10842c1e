#pragma once

#include "crashlog/report/CLGThread.h"
#include "platform/core/Value.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zm {

// A custom key and its value, in the order the record holds them.
using CLGCustomKeys = std::vector<std::pair<std::string, std::string>>;
// Build-id text (lower case) -> load address of that image in the process that converts.
using CLGUUIDMapping = std::map<std::string, uint64_t>;

// What the application may learn of the previous crash.
class CLGCrashReport {
public:
    virtual ~CLGCrashReport() = default;
    // The session identifier without dashes, in lower case.
    virtual std::string identifier() const = 0;
    virtual CLGCustomKeys customKeys() const = 0;
    virtual std::optional<std::string> bundleVersion() const = 0;
    virtual std::optional<std::string> bundleShortVersionString() const = 0;
    // Seconds since 1970.
    virtual std::optional<double> crashedOnDate() const = 0;
    virtual std::optional<std::string> OSVersion() const = 0;
    virtual std::optional<std::string> OSBuildVersion() const = 0;
};

// One crash record read back at the next start: checked, symbolicated against the images loaded
// now, and written as a packed session report ("clg").
//
// Addresses, sizes and the 64-bit figures of the report are read in 64 bits: an address above 4 GiB
// cut to 32 would match no image and put the crash somewhere it did not happen.
//
// Used by one thread at a time.
class CLGCrashFile : public CLGCrashReport {
public:
    // The record at `path`, merged (CLGRecordParse).
    static core::Dictionary parse(const std::filesystem::path& path);

    explicit CLGCrashFile(const std::filesystem::path& recordPath);

    // Whether the record holds as many lines as it says it should.
    bool isValid() const;

    std::string identifier() const override;
    // Values percent-unescaped; a value that does not unescape is left out.
    CLGCustomKeys customKeys() const override;
    std::optional<std::string> bundleVersion() const override;
    std::optional<std::string> bundleShortVersionString() const override;
    std::optional<double> crashedOnDate() const override;
    std::optional<std::string> OSVersion() const override;
    std::optional<std::string> OSBuildVersion() const override;

    std::optional<std::string> deviceId() const;
    std::optional<std::string> advertisingId() const;
    std::optional<std::string> vendorId() const;
    std::optional<std::string> networkMACAddress() const;
    const core::Array* sortedBinaryImageData() const;
    std::string mainExecutableUUID() const;
    std::vector<std::string> binaryImageUUIDs() const;
    const core::Array* exceptionBacktrace() const;
    // The record's architecture name as a Crashlog.Architecture value.
    int architecture() const;

    const std::vector<CLGThread>& threads() const { return m_threads; }
    const std::optional<std::vector<CLGStackFrame>>& exceptionFrames() const { return m_exceptionFrames; }
    const std::string& processingExecutableUUID() const { return m_processingExecutableUUID; }
    void setProcessingExecutableUUID(std::string uuid) { m_processingExecutableUUID = std::move(uuid); }
    bool executablesMatch() const { return m_executablesMatch; }
    const std::filesystem::path& logFilePath() const { return m_logFilePath; }
    const core::Dictionary& crashData() const { return m_crashData; }

    static CLGStackFrame frameFromDictionary(const core::Value& frame);

    // The record's image that holds `address` (its end included): its entry of "binary_images", or null.
    const core::Value* binaryImageContaining(uint64_t address) const;
    // The same image's build-id text and base address.
    bool lookupUUID(std::string* uuid, uint64_t* baseAddress, uint64_t address) const;
    // Names the frame after the nearest symbol when its image is loaded in this process too. A caller's
    // frame holds a return address, which for a call that never returns (abort) lies past the end of
    // the calling function: such a frame is named after the byte before it.
    void symbolicateFrame(CLGStackFrame& frame, const CLGUUIDMapping& map, bool isCaller = false) const;
    // Rebuilds the threads and the exception's frames, symbolicated.
    void symbolicateWithUUIDMap(const CLGUUIDMapping& map);

    // Writes the packed session to `path`; false (and nothing, or a cut file) when the record is not
    // valid or the file cannot be written whole.
    bool writeCLSFileToPath(const std::filesystem::path& path) const;

private:
    core::Dictionary m_crashData;
    std::string m_processingExecutableUUID;
    bool m_executablesMatch = false;
    std::filesystem::path m_logFilePath;
    std::vector<CLGThread> m_threads;
    std::optional<std::vector<CLGStackFrame>> m_exceptionFrames;
};

} // namespace zm
