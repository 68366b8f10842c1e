#include "platform/core/NamedPasteboards.h"

#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(NamedPasteboards, ATextOutlivesItsWriterAndEachNameKeepsItsOwn) {
    TemporaryFolder root;
    const auto folder = root.path() / "Library" / "Pasteboards";
    EXPECT_EQ(NamedPasteboards(folder).string("fb_app_attribution"), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(folder)) << "reading makes nothing";

    ASSERT_TRUE(NamedPasteboards(folder).setString("fb_app_attribution", "id-1").ok());
    ASSERT_TRUE(NamedPasteboards(folder).setString("com.telemetry.fbAppAttrId.ab12", "").ok());
    const NamedPasteboards later(folder);
    EXPECT_EQ(later.string("fb_app_attribution"), "id-1");
    EXPECT_EQ(later.string("com.telemetry.fbAppAttrId.ab12"), "");
    ASSERT_TRUE(later.setString("fb_app_attribution", "id-2").ok());
    EXPECT_EQ(later.string("fb_app_attribution"), "id-2");
}

TEST(NamedPasteboards, NoNameReachesOutsideItsFolder) {
    TemporaryFolder root;
    const NamedPasteboards pasteboards(root.path() / "boards");
    for (const char* name : {"..", ".", "../escaped", "a/b", "/etc/passwd"}) {
        ASSERT_TRUE(pasteboards.setString(name, name).ok()) << name;
        EXPECT_EQ(pasteboards.string(name), name);
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path()))
        EXPECT_EQ(entry.path().parent_path().filename(), entry.is_directory() ? root.path().filename() : "boards")
            << entry.path();
    EXPECT_FALSE(pasteboards.setString("", "x").ok());
    EXPECT_FALSE(pasteboards.setString(std::string(300, 'n'), "x").ok());
    EXPECT_EQ(pasteboards.string(std::string(300, 'n')), std::nullopt);
}

} // namespace
} // namespace core
