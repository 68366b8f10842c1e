#include "crashlog/report/CLGCrashFile.h"

#include "crashlog/crashlog.pb-c.h"
#include "crashlog/log/CLGLog.h"
#include "crashlog/record/CLGRecordReader.h"
#include "crashlog/report/CLGRecordFields.h"
#include "crashlog/report/CLGUUID.h"
#include "platform/core/Encoding.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>

namespace zm {
namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char letter) { return static_cast<char>(std::tolower(letter)); });
    return text;
}

std::optional<std::string> textOf(const core::Value* value) {
    if (!value || !value->asString())
        return std::nullopt;
    return *value->asString();
}

} // namespace

core::Dictionary CLGCrashFile::parse(const std::filesystem::path& path) {
    return CLGRecordParse(path);
}

CLGCrashFile::CLGCrashFile(const std::filesystem::path& recordPath)
    : m_crashData(parse(recordPath))
    , m_logFilePath(std::filesystem::path(recordPath).replace_extension("clglog")) {}

bool CLGCrashFile::isValid() const {
    return CLGRecordIsValid(m_crashData);
}

std::string CLGCrashFile::identifier() const {
    return CLGSessionBaseName(CLGRecordText(m_crashData, "identity", "identifier").value_or(""));
}

CLGCustomKeys CLGCrashFile::customKeys() const {
    CLGCustomKeys keys;
    const core::Value* attributes = m_crashData.find("custom_attributes");
    if (!attributes || !attributes->asDictionary())
        return keys;
    for (const auto& [key, value] : attributes->asDictionary()->entries()) {
        const auto escaped = textOf(&value);
        if (auto unescaped = escaped ? core::percentUnescape(*escaped) : std::nullopt)
            keys.emplace_back(key, std::move(*unescaped));
    }
    return keys;
}

std::optional<std::string> CLGCrashFile::bundleVersion() const {
    return CLGRecordText(m_crashData, "executable", "version");
}

std::optional<std::string> CLGCrashFile::bundleShortVersionString() const {
    return CLGRecordText(m_crashData, "executable", "display_version");
}

std::optional<double> CLGCrashFile::crashedOnDate() const {
    const core::Value* ended = CLGRecordMember(m_crashData, "identity", "ended_at");
    if (!ended || !ended->isNumber())
        return std::nullopt;
    return static_cast<double>(static_cast<uint64_t>(ended->integerValue()));
}

std::optional<std::string> CLGCrashFile::OSVersion() const {
    return CLGRecordText(m_crashData, "host", "os_version");
}

std::optional<std::string> CLGCrashFile::OSBuildVersion() const {
    return CLGRecordText(m_crashData, "host", "os_build");
}

std::optional<std::string> CLGCrashFile::deviceId() const {
    return CLGRecordText(m_crashData, "identity", "device_id");
}

std::optional<std::string> CLGCrashFile::advertisingId() const {
    return CLGRecordText(m_crashData, "identity", "advertising_id");
}

std::optional<std::string> CLGCrashFile::vendorId() const {
    return CLGRecordText(m_crashData, "identity", "vendor_id");
}

std::optional<std::string> CLGCrashFile::networkMACAddress() const {
    return CLGRecordText(m_crashData, "identity", "en0_mac_address");
}

const core::Array* CLGCrashFile::sortedBinaryImageData() const {
    const core::Value* images = m_crashData.find("binary_images");
    return images ? images->asArray() : nullptr;
}

std::string CLGCrashFile::mainExecutableUUID() const {
    return lowerCase(CLGRecordText(m_crashData, "executable", "uuid").value_or(""));
}

std::vector<std::string> CLGCrashFile::binaryImageUUIDs() const {
    std::vector<std::string> uuids;
    if (const core::Array* images = sortedBinaryImageData()) {
        for (const core::Value& image : *images)
            uuids.push_back(lowerCase(textOf(image.find("uuid")).value_or("")));
    }
    return uuids;
}

const core::Array* CLGCrashFile::exceptionBacktrace() const {
    const core::Value* backtrace = CLGRecordMember(m_crashData, "exception", "backtrace");
    return backtrace ? backtrace->asArray() : nullptr;
}

int CLGCrashFile::architecture() const {
    static const std::map<std::string, int> kArchitectures = {
        {"armv6", CRASHLOG__ARCHITECTURE__ARMV6},   {"armv7", CRASHLOG__ARCHITECTURE__ARMV7},
        {"armv7s", CRASHLOG__ARCHITECTURE__ARMV7S}, {"x86_64", CRASHLOG__ARCHITECTURE__X86_64},
        {"i386", CRASHLOG__ARCHITECTURE__X86_32},   {"arm64", CRASHLOG__ARCHITECTURE__ARM64},
    };
    const auto name = CLGRecordText(m_crashData, "executable", "architecture");
    const auto found = name ? kArchitectures.find(*name) : kArchitectures.end();
    return found == kArchitectures.end() ? CRASHLOG__ARCHITECTURE__UNKNOWN : found->second;
}

CLGStackFrame CLGCrashFile::frameFromDictionary(const core::Value& frame) {
    const core::Value* address = frame.find("address");
    CLGStackFrame result =
        CLGStackFrame::stackFrameWithAddress(address ? static_cast<uint64_t>(address->integerValue()) : 0);
    result.fileName = textOf(frame.find("file"));
    result.symbol = textOf(frame.find("symbol"));
    const core::Value* line = frame.find("line");
    result.lineNumber = line ? static_cast<uint32_t>(line->integerValue()) : 0;
    return result;
}

const core::Value* CLGCrashFile::binaryImageContaining(uint64_t address) const {
    const core::Array* images = sortedBinaryImageData();
    for (size_t i = 0; images && i < images->size(); ++i) {
        const core::Value& image = (*images)[i];
        const core::Value* start = image.find("address");
        const core::Value* size = image.find("size");
        if (!start || !size)
            continue;
        const auto base = static_cast<uint64_t>(start->integerValue());
        if (base <= address && address - base <= static_cast<uint64_t>(size->integerValue()))
            return &image;
    }
    return nullptr;
}

bool CLGCrashFile::lookupUUID(std::string* uuid, uint64_t* baseAddress, uint64_t address) const {
    if (!uuid || !baseAddress) {
        CLGDebugLog("[Crashlog] [Symbolication] Invalid arguments to lookupUUID:andBaseAddress:forAddress:");
        return false;
    }
    if (const core::Value* image = binaryImageContaining(address)) {
        *uuid = lowerCase(textOf(image->find("uuid")).value_or(""));
        *baseAddress = static_cast<uint64_t>(image->find("address")->integerValue());
        return true;
    }
    CLGDebugLog("[Crashlog] [Symbolication] Unable to look up binary image info during symbolication");
    return false;
}

void CLGCrashFile::symbolicateFrame(CLGStackFrame& frame, const CLGUUIDMapping& map, bool isCaller) const {
    std::string uuid;
    uint64_t base = 0;
    if (!lookupUUID(&uuid, &base, frame.address))
        return;
    const auto loaded = map.find(uuid);
    if (loaded == map.end())
        return;
    const uint64_t translated = loaded->second + (frame.address - base);
    Dl_info symbol;
    const uint64_t named = isCaller && translated > 0 ? translated - 1 : translated;
    if (dladdr(reinterpret_cast<void*>(named), &symbol) == 0 || !symbol.dli_sname)
        return;
    frame.symbol = symbol.dli_sname;
    frame.offset = translated - reinterpret_cast<uint64_t>(symbol.dli_saddr);
}

void CLGCrashFile::symbolicateWithUUIDMap(const CLGUUIDMapping& map) {
    m_executablesMatch = m_processingExecutableUUID == mainExecutableUUID();
    m_threads.clear();
    m_exceptionFrames.reset();

    const core::Value* threads = m_crashData.find("threads");
    const core::Value* crashed = m_crashData.find("crashed_thread");
    const core::Value* names = m_crashData.find("thread_names");
    const core::Value* queues = m_crashData.find("dispatch_queue_names");
    const auto nameAt = [](const core::Value* list, size_t index) -> std::string {
        const core::Array* array = list ? list->asArray() : nullptr;
        return array && index < array->size() ? textOf(&(*array)[index]).value_or("") : "";
    };
    if (threads && threads->asArray()) {
        const core::Array& all = *threads->asArray();
        for (size_t index = 0; index < all.size(); ++index) {
            CLGThread thread;
            const bool isCrashed = crashed && crashed->isNumber() &&
                                   static_cast<uint64_t>(crashed->integerValue()) == index;
            thread.setCrashed(isCrashed);
            if (const core::Array* frames = all[index].asArray()) {
                for (const core::Value& record : *frames) {
                    CLGStackFrame frame = frameFromDictionary(record);
                    symbolicateFrame(frame, map, !thread.frames.empty());
                    frame.importance = isCrashed ? kCLGImportanceCrashed : 0;
                    thread.frames.push_back(std::move(frame));
                }
            }
            thread.pthreadName = nameAt(names, index);
            thread.dispatchQueueName = nameAt(queues, index);
            m_threads.push_back(std::move(thread));
        }
    }
    if (const core::Array* backtrace = exceptionBacktrace(); backtrace && !backtrace->empty()) {
        std::vector<CLGStackFrame> frames;
        for (const core::Value& record : *backtrace) {
            CLGStackFrame frame = frameFromDictionary(record);
            symbolicateFrame(frame, map, !frames.empty());
            frames.push_back(std::move(frame));
        }
        m_exceptionFrames = std::move(frames);
    }
}

} // namespace zm
