#include "crashlog/capture/CLGLogInfo.h"

#include "crashlog/capture/CLGMemory.h"
#include "crashlog/capture/CLGSafeLog.h"
#include "crashlog/record/CLGRecordWriter.h"
#include "platform/core/Encoding.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zm {
namespace {

constexpr size_t kUserLimit = 4096;
constexpr size_t kKeyLimit = 1024;

int hexDigit(char letter) {
    if (letter >= '0' && letter <= '9')
        return letter - '0';
    if (letter >= 'a' && letter <= 'f')
        return letter - 'a' + 10;
    if (letter >= 'A' && letter <= 'F')
        return letter - 'A' + 10;
    return -1;
}

// One byte of escaped text at `at`: "%XX" or a plain byte. Answers its length.
size_t unitAt(std::string_view text, size_t at, uint8_t* byte) {
    if (text[at] == '%' && at + 2 < text.size() && hexDigit(text[at + 1]) >= 0 && hexDigit(text[at + 2]) >= 0) {
        *byte = static_cast<uint8_t>(hexDigit(text[at + 1]) << 4 | hexDigit(text[at + 2]));
        return 3;
    }
    *byte = static_cast<uint8_t>(text[at]);
    return 1;
}

// How many bytes the UTF-8 character that starts with `lead` has (1 for a stray byte).
size_t characterLength(uint8_t lead) {
    if (lead >= 0xf0 && lead <= 0xf4)
        return 4;
    if (lead >= 0xe0)
        return lead <= 0xef ? 3 : 1;
    if (lead >= 0xc2)
        return 2;
    return 1;
}

char* heapCopy(std::string_view text) {
    auto* copy = static_cast<char*>(malloc(text.size() + 1));
    memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

} // namespace

CLGLogInfo::~CLGLogInfo() {
    free(userIdentifier.load());
    free(userName.load());
    free(userEmail.load());
    for (uint32_t i = 0; pairs && i < pairCount.load(); ++i) {
        free(pairs[i].key.load());
        free(pairs[i].value.load());
    }
    delete[] pairs;
}

void CLGLogSetUp(CLGLogInfo& log) {
    log.sizeLimit = 64000;
    log.lastOffset = 0;
    if (log.runningLogPath) {
        // Every start begins with an empty log.
        const int fd = open(log.runningLogPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0)
            close(fd);
    }
    log.userIdentifier = nullptr;
    log.userName = nullptr;
    log.userEmail = nullptr;
    if (!log.pairs)
        log.pairs = new CLGCustomPair[CLGLogInfo::kPairLimit];
    log.pairCount = 0;
    log.rotationIndex = 0;
    log.pairLimit = CLGLogInfo::kPairLimit;
}

std::string CLGTruncateEscaped(std::string_view text, size_t limit) {
    if (text.size() <= limit)
        return std::string(text);
    size_t kept = 0;
    while (kept < text.size()) {
        uint8_t byte = 0;
        size_t end = kept + unitAt(text, kept, &byte);
        for (size_t rest = characterLength(byte) - 1; rest > 0 && end < text.size(); --rest) {
            uint8_t continuation = 0;
            const size_t length = unitAt(text, end, &continuation);
            if ((continuation & 0xc0) != 0x80)
                break;
            end += length;
        }
        if (end > limit)
            break;
        kept = end;
    }
    return std::string(text.substr(0, kept));
}

void CLGCustomKeyStore(CLGLogInfo& log, const char* value, const char* key) {
    if (log.pairLimit == 0 || !value || !key)
        return;
    char* stored = heapCopy(CLGTruncateEscaped(value, CLGLogInfo::kValueLimit));
    const uint32_t count = log.pairCount.load();
    for (uint32_t i = 0; i < count; ++i) {
        if (strcmp(log.pairs[i].key.load(), key) == 0) {
            free(log.pairs[i].value.exchange(stored));
            return;
        }
    }
    if (count == log.pairLimit) {
        if (log.rotationIndex >= log.pairLimit)
            log.rotationIndex = 0;
        CLGCustomPair& pair = log.pairs[log.rotationIndex++];
        free(pair.key.exchange(heapCopy(key)));
        free(pair.value.exchange(stored));
        return;
    }
    log.pairs[count].key = heapCopy(key);
    log.pairs[count].value = stored;
    log.pairCount.store(count + 1);
}

void CLGCaptureContextSetString(std::atomic<char*>& slot, const std::optional<std::string>& text, bool escape) {
    const std::string stored = !text ? "(null)" : escape ? core::percentEscape(*text) : *text;
    free(slot.exchange(heapCopy(stored)));
}

void CLGWriteUserLogAndKeys(CLGRecordWriter& writer, const CLGLogInfo& log) {
    const char* identifier = log.userIdentifier.load();
    const char* name = log.userName.load();
    const char* email = log.userEmail.load();
    writer.beginLine("user");
    writer.beginObject();
    if (identifier || name || email) {
        writer.checkedStringMember("name", name, kUserLimit);
        writer.checkedStringMember("id", identifier, kUserLimit);
        writer.checkedStringMember("email", email, kUserLimit);
    }
    writer.endObject();
    writer.endLine();

    writer.beginLine("log");
    writer.beginObject();
    writer.numberMember("last_offset", log.lastOffset);
    writer.endObject();
    writer.endLine();

    if (log.runningLogPath && log.crashLogPath && rename(log.runningLogPath, log.crashLogPath) != 0)
        CLGSafeLog("[Logging] Unable to rename log log to %s\n");

    writer.beginLine("custom_attributes");
    writer.beginObject();
    const uint32_t count = log.pairCount.load();
    for (uint32_t i = 0; i < count && log.pairs; ++i) {
        const char* key = log.pairs[i].key.load();
        size_t keyLength = 0;
        if (!CLGReadString(key, kKeyLimit, &keyLength))
            continue;
        writer.key(key, keyLength);
        const char* value = log.pairs[i].value.load();
        size_t valueLength = 0;
        if (CLGReadString(value, CLGLogInfo::kValueLimit, &valueLength))
            writer.stringElement(value, valueLength);
        else
            writer.stringElement("(string unreadable)");
    }
    writer.endObject();
    writer.endLine();
}

} // namespace zm
