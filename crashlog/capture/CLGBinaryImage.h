#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <link.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace core {
class DispatchQueue;
}

namespace zm {

// Where an ELF image lies in memory and what identifies it.
struct CLGImageFacts {
    // The first loadable segment's address.
    uint64_t address = 0;
    // From the address to the end of the executable segment.
    uint64_t size = 0;
    // The first 16 bytes of the image's GNU build-id note, inside the loaded image; null without one.
    const uint8_t* uuid = nullptr;
};

// The facts of an image loaded with `loadBias` whose program headers are `headers`.
CLGImageFacts CLGImageFactsFromProgramHeaders(uintptr_t loadBias, const ElfW(Phdr) * headers, size_t count);

// The first 16 bytes of the build-id in the notes at `notes` (`size` bytes); null when there is none
// or it is shorter.
const uint8_t* CLGBuildIdInNotes(const uint8_t* notes, size_t size);

// One loaded image in the context's list: heap memory, never freed, kept in ascending address order.
// The list names the images of the running process when a crash record of an earlier run is
// converted (a crash itself lists the images the linker has then, CLGCrashImages).
struct CLGBinaryImage {
    const char* path = nullptr;
    uint64_t address = 0;
    uint64_t size = 0;
    const uint8_t* uuid = nullptr;
    std::atomic<CLGBinaryImage*> next = nullptr;
};

// Follows the dynamic linker's list of images into a sorted list whose head is `head`. Insertions run
// on `queue`, asynchronously. Linux tells nobody about a newly loaded image, so the tracker looks again
// at every refresh and adds what the linker loaded since (the linker's load count tells whether
// anything changed).
//
// Thread safety: start and refresh from any thread; the list is changed on `queue` only.
class CLGBinaryImageTracker {
public:
    CLGBinaryImageTracker(std::atomic<CLGBinaryImage*>& head, std::shared_ptr<core::DispatchQueue> queue);
    // Frees the nodes it made, once the queue has done its insertions, and empties the list. (The
    // capture context's tracker lives as long as the process.)
    ~CLGBinaryImageTracker();
    CLGBinaryImageTracker(const CLGBinaryImageTracker&) = delete;
    CLGBinaryImageTracker& operator=(const CLGBinaryImageTracker&) = delete;

    // Empties the list and adds every image loaded now.
    void start();
    // Adds the images loaded since the last look.
    void refresh();

private:
    struct Seen;
    void insert(std::vector<std::pair<std::string, CLGImageFacts>> images);

    std::atomic<CLGBinaryImage*>& m_head;
    std::shared_ptr<core::DispatchQueue> m_queue;
    std::shared_ptr<Seen> m_seen;
};

// The image's path as the record gives it: the main program's real path for the program itself,
// "(path invalid)" when the path is not UTF-8.
std::string CLGImagePath(const char* linkerName, bool isMainProgram);

// Lower-case build-id text -> load address, one entry per image from `head` on that has a build-id.
std::map<std::string, uint64_t> CLGUUIDMapOfImages(const CLGBinaryImage* head);

} // namespace zm
