#include "crashlog/capture/CLGProcessInfo.h"

#include "crashlog/capture/CLGMemory.h"
#include "crashlog/record/CLGRecordWriter.h"
#include "platform/core/Files.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace zm {
namespace {

constexpr size_t kNameLimit = 64;

std::optional<int32_t> processId(const std::string& name) {
    int32_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end != name.data() + name.size() || name.empty())
        return std::nullopt;
    return pid;
}

} // namespace

CLGProcessList::~CLGProcessList() {
    for (size_t i = 0; i < count; ++i)
        free(entries[i].name);
    delete[] entries;
}

std::string CLGProcessName(int32_t pid, const std::filesystem::path& proc) {
    auto comm = core::readFile(proc / std::to_string(pid) / "comm");
    if (!comm.ok())
        return "unknown";
    std::string name = std::move(comm).value();
    if (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}

void CLGProcessInfoGather(CLGProcessInfo& process, bool debuggerAttached, CLGAllocator* allocator) {
    process.pid = getpid();
    process.parentPid = getppid();
    process.name = CLGArenaCopyString(allocator, CLGProcessName(process.pid));
    process.parentName = CLGArenaCopyString(allocator, CLGProcessName(process.parentPid));
    process.debugger = debuggerAttached;
}

void CLGWriteProcessInfo(CLGRecordWriter& writer, const CLGProcessInfo& process) {
    writer.beginLine("process_info");
    writer.beginObject();
    writer.numberMember("pid", static_cast<uint64_t>(process.pid));
    writer.stringMember("name", process.name);
    writer.numberMember("parent_pid", static_cast<uint64_t>(process.parentPid));
    writer.stringMember("parent_name", process.parentName);
    writer.booleanMember("debugger", process.debugger);
    writer.endObject();
    writer.endLine();
}

void CLGProcessListRefresh(std::atomic<CLGProcessList*>& slot, const std::filesystem::path& proc) {
    auto listing = core::listDirectory(proc);
    if (!listing.ok())
        return;
    std::vector<CLGProcessList::Entry> entries;
    for (const core::DirectoryEntry& entry : listing.value()) {
        const auto pid = processId(entry.name);
        if (!pid || !entry.isDirectory)
            continue;
        entries.push_back({*pid, strdup(CLGProcessName(*pid, proc).c_str())});
    }
    auto* list = new CLGProcessList;
    list->count = entries.size();
    list->entries = new CLGProcessList::Entry[entries.size()];
    std::copy(entries.begin(), entries.end(), list->entries);
    delete slot.exchange(list);
}

void CLGWriteExternalProcesses(CLGRecordWriter& writer, const CLGProcessList* list) {
    writer.beginLine("external_process_info");
    writer.beginArray();
    for (size_t i = 0; list && i < list->count; ++i) {
        writer.beginObject();
        writer.numberMember("pid", static_cast<uint64_t>(list->entries[i].pid));
        writer.checkedStringMember("name", list->entries[i].name, kNameLimit);
        writer.endObject();
    }
    writer.endArray();
    writer.endLine();
}

} // namespace zm
