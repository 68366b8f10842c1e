#include "crashlog/capture/CLGBinaryImage.h"
#include "crashlog/capture/CLGCrashImages.h"
#include "crashlog/record/CLGRecordReader.h"
#include "crashlog/testing/Written.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Encoding.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <elf.h>

namespace zm {
namespace {

// A note as the linker lays it out: header, name padded to 4, description padded to 4.
void appendNote(std::vector<uint8_t>& notes, uint32_t type, const std::string& name, const std::vector<uint8_t>& description) {
    const auto put32 = [&](uint32_t value) {
        for (int i = 0; i < 4; ++i)
            notes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    };
    put32(static_cast<uint32_t>(name.size() + 1));
    put32(static_cast<uint32_t>(description.size()));
    put32(type);
    notes.insert(notes.end(), name.begin(), name.end());
    notes.push_back(0);
    while (notes.size() % 4)
        notes.push_back(0);
    notes.insert(notes.end(), description.begin(), description.end());
    while (notes.size() % 4)
        notes.push_back(0);
}

std::vector<uint8_t> buildId() {
    std::vector<uint8_t> id;
    for (uint8_t i = 0; i < 20; ++i)
        id.push_back(static_cast<uint8_t>(0xa0 + i));
    return id;
}

TEST(CLGBinaryImage, FindsTheBuildIdAmongNotes) {
    std::vector<uint8_t> notes;
    appendNote(notes, NT_GNU_ABI_TAG, "GNU", {0, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0});
    appendNote(notes, NT_GNU_BUILD_ID, "Other", buildId());
    appendNote(notes, NT_GNU_BUILD_ID, "GNU", buildId());
    const uint8_t* found = CLGBuildIdInNotes(notes.data(), notes.size());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(memcmp(found, buildId().data(), 16), 0);
    // A cut note and a build-id shorter than 16 bytes give none.
    EXPECT_EQ(CLGBuildIdInNotes(notes.data(), notes.size() - 4), nullptr);
    std::vector<uint8_t> shortId;
    appendNote(shortId, NT_GNU_BUILD_ID, "GNU", {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(CLGBuildIdInNotes(shortId.data(), shortId.size()), nullptr);
}

TEST(CLGBinaryImage, SpansFromTheFirstLoadToTheEndOfTheExecutableSegment) {
    std::vector<uint8_t> notes;
    appendNote(notes, NT_GNU_BUILD_ID, "GNU", buildId());
    const auto bias = reinterpret_cast<uintptr_t>(notes.data()) - 0x300;
    ElfW(Phdr) headers[4] = {};
    headers[0].p_type = PT_PHDR;
    headers[1].p_type = PT_LOAD;
    headers[1].p_vaddr = 0x1000;
    headers[1].p_flags = PF_R;
    headers[2].p_type = PT_LOAD;
    headers[2].p_vaddr = 0x2000;
    headers[2].p_memsz = 0x5432;
    headers[2].p_flags = PF_R | PF_X;
    headers[3].p_type = PT_NOTE;
    headers[3].p_vaddr = 0x300;
    headers[3].p_filesz = notes.size();
    const CLGImageFacts facts = CLGImageFactsFromProgramHeaders(bias, headers, 4);
    EXPECT_EQ(facts.address, bias + 0x1000);
    // From the image's start to the end of its code.
    EXPECT_EQ(facts.size, 0x1000u + 0x5432u);
    EXPECT_EQ(facts.uuid, notes.data() + 16);
}

// The build-id of an ELF file on disk, found by its note's bytes.
std::string buildIdOfFile(const std::string& path) {
    const std::string bytes = core::readFile(path).value();
    const char pattern[] = {4, 0, 0, 0, 20, 0, 0, 0, 3, 0, 0, 0, 'G', 'N', 'U', 0};
    const size_t at = bytes.find(std::string_view(pattern, sizeof pattern));
    return at == std::string::npos ? "" : core::hexString(bytes.substr(at + sizeof pattern, 16));
}

// The tracked list (the images a conversion names frames with) and the crash-time table (what a record
// lists) both hold a library loaded after the start, in address order, with its build-id.
TEST(CLGBinaryImage, ALibraryLoadedLaterIsListedInAddressOrder) {
    std::atomic<CLGBinaryImage*> head = nullptr;
    auto queue = core::DispatchQueue::serial("com.crashlog.context-queue");
    CLGBinaryImageTracker tracker(head, queue);
    tracker.start();
    queue->sync([] {});
    void* library = dlopen(CRASHLOG_TEST_LIBRARY, RTLD_NOW);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto function = reinterpret_cast<uintptr_t>(dlsym(library, "crashlogTestLibraryFunction"));
    tracker.refresh();
    queue->sync([] {});
    auto table = std::make_unique<CLGCrashImages>();
    CLGCrashImagesSnapshot(*table);

    core::TemporaryFolder folder;
    const auto path = folder.path() / "images";
    ASSERT_TRUE(core::writeFileAtomically(path, testing::written([&](CLGRecordWriter& w) {
                    CLGWriteBinaryImages(w, *table);
                })).ok());
    const auto images = *CLGRecordParse(path).find("binary_images")->asArray();
    ASSERT_GE(images.size(), 3u);
    EXPECT_EQ(images.size(), table->count);
    int64_t previous = 0;
    int found = 0;
    for (const core::Value& image : images) {
        const int64_t address = image.find("address")->integerValue();
        EXPECT_GT(static_cast<uint64_t>(address), static_cast<uint64_t>(previous));
        previous = address;
        if (image.find("path")->stringValue() == CRASHLOG_TEST_LIBRARY) {
            ++found;
            EXPECT_EQ(image.find("uuid")->stringValue(), buildIdOfFile(CRASHLOG_TEST_LIBRARY));
            EXPECT_LE(static_cast<uint64_t>(address), function);
            EXPECT_LE(function, static_cast<uint64_t>(address + image.find("size")->integerValue()));
        }
    }
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(table->holds(function));
    // The program comes first, under its own path (the linker names it "").
    EXPECT_EQ(images.front().find("path")->stringValue(), CLGImagePath(nullptr, true));

    int tracked = 0;
    uint64_t before = 0;
    for (const CLGBinaryImage* image = head.load(); image; image = image->next.load()) {
        EXPECT_GE(image->address, before);
        before = image->address;
        tracked += std::string(image->path) == CRASHLOG_TEST_LIBRARY;
    }
    EXPECT_EQ(tracked, 1);
    // A second look without new loads adds nothing.
    const CLGBinaryImage* first = head.load();
    tracker.refresh();
    queue->sync([] {});
    EXPECT_EQ(head.load(), first);
}

} // namespace
} // namespace zm
