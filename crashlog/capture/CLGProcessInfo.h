#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

namespace zm {

struct CLGAllocator;
class CLGRecordWriter;

// The crashing process and its parent. Strings lie in the arena's protected region.
struct CLGProcessInfo {
    int32_t pid = 0;
    int32_t parentPid = 0;
    const char* name = nullptr;
    const char* parentName = nullptr;
    bool debugger = false;
};

// The command name the kernel keeps for process `pid` (under `proc`), "unknown" when it cannot be read.
std::string CLGProcessName(int32_t pid, const std::filesystem::path& proc = "/proc");

// Fills `process` with this process, its parent and whether a debugger is attached.
void CLGProcessInfoGather(CLGProcessInfo& process, bool debuggerAttached, CLGAllocator* allocator);

// The "process_info" line. Crash time.
void CLGWriteProcessInfo(CLGRecordWriter& writer, const CLGProcessInfo& process);

// The running processes, as a refresh found them; heap memory, replaced whole.
struct CLGProcessList {
    struct Entry {
        int32_t pid;
        char* name;
    };
    CLGProcessList() = default;
    CLGProcessList(const CLGProcessList&) = delete;
    CLGProcessList& operator=(const CLGProcessList&) = delete;
    // Frees the entries and their names.
    ~CLGProcessList();

    size_t count = 0;
    Entry* entries = nullptr;
};

// Lists every process under `proc` and swaps the list into `slot`, freeing the list it replaces.
void CLGProcessListRefresh(std::atomic<CLGProcessList*>& slot, const std::filesystem::path& proc = "/proc");

// The "external_process_info" line: {"pid", "name"} per process; an empty array without a list.
// Crash time.
void CLGWriteExternalProcesses(CLGRecordWriter& writer, const CLGProcessList* list);

} // namespace zm
