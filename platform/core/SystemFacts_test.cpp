#include "platform/core/SystemFacts.h"

#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <sys/utsname.h>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(SystemFacts, TheKernelNamesMachineVersionAndBuild) {
    utsname names;
    ASSERT_EQ(uname(&names), 0);
    const SystemFacts& facts = systemFacts();
    EXPECT_EQ(facts.machine, names.machine);
    EXPECT_EQ(facts.systemVersion, names.release);
    EXPECT_EQ(facts.osVersion, names.version);
    EXPECT_FALSE(facts.model.empty());
}

TEST(SystemFacts, TheModelIsTheFirmwaresProductNameElseUnknown) {
    TemporaryFolder folder;
    const auto file = folder.path() / "product_name";
    const struct {
        const char* content; // null: no file
        const char* model;
    } cases[] = {{"ThinkPad X1 Carbon\n", "ThinkPad X1 Carbon"}, {" \n", "unknown"}, {nullptr, "unknown"}};
    for (const auto& test : cases) {
        std::filesystem::remove(file);
        if (test.content) {
            ASSERT_TRUE(writeFileAtomically(file, test.content).ok());
        }
        EXPECT_EQ(SystemFacts::read(file).model, test.model);
    }
}

} // namespace
} // namespace core
