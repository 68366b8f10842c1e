#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

class CLGRecordWriter;

// One custom key and its value (percent-escaped), heap copies swapped whole.
struct CLGCustomPair {
    std::atomic<char*> key = nullptr;
    std::atomic<char*> value = nullptr;
};

// What the application told the crash reporter: the session log's place, the user and up to 64
// custom keys. The pairs change on the context queue only; the user slots by swapping whole strings.
// The crash-time writer reads all of it without a lock.
struct CLGLogInfo {
    CLGLogInfo() = default;
    CLGLogInfo(const CLGLogInfo&) = delete;
    CLGLogInfo& operator=(const CLGLogInfo&) = delete;
    // Frees the user slots and the pairs (the capture context's lives as long as the process).
    ~CLGLogInfo();

    static constexpr uint32_t kPairLimit = 64;
    static constexpr size_t kValueLimit = 1024;

    const char* runningLogPath = nullptr;
    const char* crashLogPath = nullptr;
    // Next-write offset of the session log.
    uint64_t lastOffset = 0;
    uint32_t sizeLimit = 64000;
    // Percent-escaped; null until set.
    std::atomic<char*> userIdentifier = nullptr;
    std::atomic<char*> userName = nullptr;
    std::atomic<char*> userEmail = nullptr;
    // The pair replaced next once all are taken.
    uint32_t rotationIndex = 0;
    std::atomic<uint32_t> pairCount = 0;
    // kPairLimit pairs, made by CLGLogSetUp, so that storing never moves them.
    CLGCustomPair* pairs = nullptr;
    uint32_t pairLimit = 0;
};

// Empties the session log (creating it when missing) and readies the user and custom-key store.
void CLGLogSetUp(CLGLogInfo& log);

// Stores one custom key: a key stored before gets the new value; when all pairs are taken, the
// oldest is replaced (1, 2, ..., 64, then 1 again). Values are cut to kValueLimit bytes without
// splitting a percent escape or the escapes of one UTF-8 character. Nothing happens for a null key
// or value or a store without room.
void CLGCustomKeyStore(CLGLogInfo& log, const char* value, const char* key);

// Percent-escaped `text` cut to at most `limit` bytes after its last whole character.
std::string CLGTruncateEscaped(std::string_view text, size_t limit);

// Puts a heap copy of `text` into `slot` (percent-escaped first when `escape`), or of "(null)" when
// there is none, and frees what the slot held: a reader sees the old or the new text, never a mix.
void CLGCaptureContextSetString(std::atomic<char*>& slot, const std::optional<std::string>& text, bool escape);

// The "user", "log" and "custom_attributes" lines; between the last two the session log moves to
// its crash-time name. Crash time.
void CLGWriteUserLogAndKeys(CLGRecordWriter& writer, const CLGLogInfo& log);

} // namespace zm
