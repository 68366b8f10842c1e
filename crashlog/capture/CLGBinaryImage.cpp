#include "crashlog/capture/CLGBinaryImage.h"

#include "crashlog/capture/CLGMemory.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Encoding.h"

#include <climits>
#include <cstring>
#include <elf.h>
#include <mutex>
#include <set>
#include <unistd.h>

namespace zm {
namespace {

size_t align4(size_t size) {
    return (size + 3) & ~size_t{3};
}

struct Scan {
    unsigned long long loads = 0;
    std::vector<std::pair<std::string, CLGImageFacts>> images;
};

} // namespace

const uint8_t* CLGBuildIdInNotes(const uint8_t* notes, size_t size) {
    size_t at = 0;
    while (at + sizeof(ElfW(Nhdr)) <= size) {
        ElfW(Nhdr) header;
        memcpy(&header, notes + at, sizeof header);
        const size_t name = at + sizeof header;
        const size_t description = name + align4(header.n_namesz);
        const size_t end = description + align4(header.n_descsz);
        if (end > size || end <= at)
            return nullptr;
        if (header.n_type == NT_GNU_BUILD_ID && header.n_namesz == 4 && memcmp(notes + name, "GNU", 4) == 0)
            return header.n_descsz >= 16 ? notes + description : nullptr;
        at = end;
    }
    return nullptr;
}

CLGImageFacts CLGImageFactsFromProgramHeaders(uintptr_t loadBias, const ElfW(Phdr) * headers, size_t count) {
    CLGImageFacts facts;
    bool sawLoad = false;
    for (size_t i = 0; i < count; ++i) {
        const ElfW(Phdr)& header = headers[i];
        if (header.p_type == PT_LOAD) {
            if (!sawLoad)
                facts.address = loadBias + header.p_vaddr;
            sawLoad = true;
            // The code segment may begin pages after the image (a read-only segment first): the size
            // reaches from the image's address to the end of its code, so that every return address
            // in it falls inside.
            if ((header.p_flags & PF_X) && facts.size == 0)
                facts.size = loadBias + header.p_vaddr + header.p_memsz - facts.address;
        } else if (header.p_type == PT_NOTE && !facts.uuid) {
            facts.uuid = CLGBuildIdInNotes(reinterpret_cast<const uint8_t*>(loadBias + header.p_vaddr), header.p_filesz);
        }
    }
    return facts;
}

std::string CLGImagePath(const char* linkerName, bool isMainProgram) {
    std::string path;
    if (isMainProgram) {
        char buffer[PATH_MAX];
        const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
        if (length > 0)
            path.assign(buffer, static_cast<size_t>(length));
    } else if (linkerName) {
        path = linkerName;
    }
    return core::isValidUtf8(path) ? path : "(path invalid)";
}

struct CLGBinaryImageTracker::Seen {
    std::mutex mutex;
    unsigned long long loads = 0;       // guarded by mutex
    std::set<uint64_t> addresses;       // on the queue only
};

CLGBinaryImageTracker::CLGBinaryImageTracker(std::atomic<CLGBinaryImage*>& head,
                                             std::shared_ptr<core::DispatchQueue> queue)
    : m_head(head)
    , m_queue(std::move(queue))
    , m_seen(std::make_shared<Seen>()) {}

CLGBinaryImageTracker::~CLGBinaryImageTracker() {
    m_queue->sync([] {});
    for (CLGBinaryImage* image = m_head.exchange(nullptr); image;) {
        CLGBinaryImage* next = image->next.load();
        free(const_cast<char*>(image->path));
        delete image;
        image = next;
    }
}

void CLGBinaryImageTracker::start() {
    m_head.store(nullptr);
    {
        std::lock_guard lock(m_seen->mutex);
        m_seen->loads = 0;
    }
    refresh();
}

void CLGBinaryImageTracker::refresh() {
    Scan scan;
    {
        std::lock_guard lock(m_seen->mutex);
        scan.loads = m_seen->loads;
        dl_iterate_phdr(
            [](dl_phdr_info* info, size_t, void* data) -> int {
                auto& scan = *static_cast<Scan*>(data);
                // The first image is the program; its load count tells whether anything is new.
                if (scan.images.empty() && info->dlpi_adds == scan.loads)
                    return 1;
                scan.loads = info->dlpi_adds;
                const bool isMainProgram = scan.images.empty();
                scan.images.emplace_back(CLGImagePath(info->dlpi_name, isMainProgram),
                                         CLGImageFactsFromProgramHeaders(info->dlpi_addr, info->dlpi_phdr,
                                                                         info->dlpi_phnum));
                return 0;
            },
            &scan);
        m_seen->loads = scan.loads;
    }
    if (!scan.images.empty())
        insert(std::move(scan.images));
}

void CLGBinaryImageTracker::insert(std::vector<std::pair<std::string, CLGImageFacts>> images) {
    m_queue->async([&head = m_head, seen = m_seen, images = std::move(images)] {
        for (const auto& [path, facts] : images) {
            if (!seen->addresses.insert(facts.address).second)
                continue;
            auto* node = new CLGBinaryImage;
            node->path = strdup(path.c_str());
            node->address = facts.address;
            node->size = facts.size;
            node->uuid = facts.uuid;
            // After every node whose address is not larger; the node is whole before it is linked.
            std::atomic<CLGBinaryImage*>* link = &head;
            for (CLGBinaryImage* at = link->load(); at && at->address <= node->address; at = link->load())
                link = &at->next;
            node->next.store(link->load());
            link->store(node);
        }
    });
}

std::map<std::string, uint64_t> CLGUUIDMapOfImages(const CLGBinaryImage* head) {
    std::map<std::string, uint64_t> map;
    for (const CLGBinaryImage* image = head; image; image = image->next.load()) {
        if (!image->uuid)
            continue;
        char uuid[kCLGUUIDStringSize];
        CLGUUIDString(image->uuid, uuid);
        map.emplace(uuid, image->address);
    }
    return map;
}

} // namespace zm
