#include "platform/core/InfoPlist.h"

#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(InfoPlist, TheBundleDescribesTheApplication) {
    const auto read = readInfoDictionary(std::filesystem::path(ZEMBRIX_RESOURCE_DIR) / "Info.plist");
    ASSERT_TRUE(read.ok()) << read.error().text();
    const Dictionary& info = *read;
    for (const char* key : {"CFBundleIdentifier", "CFBundleName", "CFBundleDisplayName", "CFBundleShortVersionString",
                            "CFBundleVersion"}) {
        ASSERT_TRUE(info.find(key) && info.find(key)->asString()) << key;
        EXPECT_FALSE(info.find(key)->asString()->empty()) << key;
    }
    ASSERT_TRUE(info.find("CFBundleURLTypes"));
    EXPECT_TRUE(info.find("CFBundleURLTypes")->asArray());
}

TEST(InfoPlist, OnlyADictionaryIsAnInformationList) {
    TemporaryFolder folder;
    const auto path = folder.path() / "Info.plist";
    ASSERT_TRUE(writeFileAtomically(path, R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict><key>CFBundleIdentifier</key><string>org.example.x</string></dict></plist>)")
                    .ok());
    const auto read = readInfoDictionary(path);
    ASSERT_TRUE(read.ok()) << read.error().text();
    EXPECT_EQ(*read, (Dictionary{{"CFBundleIdentifier", "org.example.x"}}));

    ASSERT_TRUE(writeFileAtomically(path, "<plist><array/></plist>").ok());
    EXPECT_FALSE(readInfoDictionary(path).ok());
    EXPECT_FALSE(readInfoDictionary(folder.path() / "missing.plist").ok());
}

TEST(InfoPlist, ATestCanLendTheProcessAnotherIdentity) {
    const Dictionary original = infoDictionary();
    {
        ScopedInfoDictionary other({{"CFBundleIdentifier", "org.example.other"}});
        EXPECT_EQ(infoDictionary(), (Dictionary{{"CFBundleIdentifier", "org.example.other"}}));
    }
    EXPECT_EQ(infoDictionary(), original);
}

} // namespace
} // namespace core
