#include "crashlog/capture/CLGCrashImages.h"

#include "crashlog/capture/CLGMemory.h"
#include "crashlog/record/CLGRecordWriter.h"

#include <link.h>
#include <unistd.h>

namespace zm {
namespace {

constexpr size_t kPathLimit = 1024;

int addImage(dl_phdr_info* info, size_t, void* data) {
    auto& table = *static_cast<CLGCrashImages*>(data);
    if (table.count == kCLGImageLimit)
        return 1;
    const CLGImageFacts facts = CLGImageFactsFromProgramHeaders(info->dlpi_addr, info->dlpi_phdr, info->dlpi_phnum);
    // The linker lists the program first, without a name.
    const bool program = table.count == 0;
    const char* path = program ? table.programPath : info->dlpi_name;
    // Kept in address order as they come: the list is short and mostly ordered already.
    uint32_t at = table.count++;
    for (; at > 0 && table.images[at - 1].address > facts.address; --at)
        table.images[at] = table.images[at - 1];
    table.images[at] = {path, facts.address, facts.size, facts.uuid};
    return 0;
}

} // namespace

bool CLGCrashImages::holds(uint64_t address) const {
    // The last image that starts at or below the address.
    uint32_t low = 0;
    uint32_t high = count;
    while (low < high) {
        const uint32_t middle = (low + high) / 2;
        if (images[middle].address <= address)
            low = middle + 1;
        else
            high = middle;
    }
    return low > 0 && address - images[low - 1].address <= images[low - 1].size;
}

void CLGCrashImagesSnapshot(CLGCrashImages& table) {
    table.count = 0;
    const ssize_t length = readlink("/proc/self/exe", table.programPath, sizeof table.programPath - 1);
    table.programPath[length > 0 ? length : 0] = '\0';
    dl_iterate_phdr(addImage, &table);
}

void CLGWriteBinaryImages(CLGRecordWriter& writer, const CLGCrashImages& table) {
    writer.beginLine("binary_images");
    writer.beginArray();
    for (uint32_t i = 0; i < table.count; ++i) {
        const CLGCrashImage& image = table.images[i];
        writer.beginObject();
        writer.checkedStringMember("path", image.path, kPathLimit);
        char uuid[kCLGUUIDStringSize];
        CLGUUIDString(image.uuid, uuid);
        writer.stringMember("uuid", uuid);
        writer.numberMember("address", image.address);
        writer.numberMember("size", image.size);
        writer.endObject();
    }
    writer.endArray();
    writer.endLine();
}

} // namespace zm
