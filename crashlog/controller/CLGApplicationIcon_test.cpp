#include "crashlog/controller/CLGApplicationIcon.h"

#include "platform/core/Digest.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

// The start of a PNG file: what tells its pixel size.
std::string pngHeader(uint32_t width, uint32_t height) {
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (const uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((value >> shift) & 0xff);
    }
    return bytes + std::string("\x08\x06\0\0\0", 5);
}

TEST(CLGApplicationIcon, TheLargestIconTheInfoPlistNamesWithinOneHundredFiftyTwoPixelsSquare) {
    core::TemporaryFolder bundle;
    const std::map<std::string, std::string> files = {
        {"Small.png", pngHeader(57, 57)},      {"Largest.png", pngHeader(152, 152)}, {"TooLarge.png", pngHeader(153, 152)},
        {"Wide.png", pngHeader(100, 50)},      {"Tall.png", pngHeader(50, 100)},     {"Named@2x.png", pngHeader(114, 114)},
        {"Named.png", pngHeader(57, 57)},      {"Icon-72.png", pngHeader(72, 72)},   {"NotAnImage.png", "plain text"},
    };
    for (const auto& [name, bytes] : files)
        ASSERT_TRUE(core::writeFileAtomically(bundle.path() / name, bytes));

    const core::Array smallAndLargest{"Small.png", "Largest.png", "NotAnImage.png"};
    const struct {
        const char* name;
        core::Dictionary info;
        std::optional<std::string> chosen; // nothing: no icon
        bool prerendered;
    } cases[] = {
        {"icons that are no dictionary", {{"CFBundleIcons", "Icon.png"}}, std::nullopt, false},
        {"a primary icon that is no dictionary", {{"CFBundleIcons", core::Dictionary{{"CFBundlePrimaryIcon", 1}}}}, std::nullopt, false},
        {"icon files that are no array",
         {{"CFBundleIcons", core::Dictionary{{"CFBundlePrimaryIcon", core::Dictionary{{"CFBundleIconFiles", "Small.png"}}}}}},
         std::nullopt, false},
        {"the primary icon's largest, 152 x 152 kept",
         {{"CFBundleIcons", core::Dictionary{{"CFBundlePrimaryIcon", core::Dictionary{{"CFBundleIconFiles", smallAndLargest},
                                                                                       {"UIPrerenderedIcon", true}}}}}},
         "Largest.png", true},
        {"153 x 152 refused", {{"CFBundleIconFiles", core::Array{"Small.png", "TooLarge.png"}}}, std::nullopt, false},
        {"equal areas keep the first", {{"CFBundleIconFiles", core::Array{"Wide.png", "Tall.png"}}}, "Wide.png", false},
        {"a name without extension prefers @2x", {{"CFBundleIconFile", "Named"}}, "Named@2x.png", false},
        {"an icon file that is no text", {{"CFBundleIconFile", 7}}, std::nullopt, false},
        {"the customary names", {}, "Icon-72.png", false},
        {"nothing that reads as an image", {{"CFBundleIconFiles", core::Array{"NotAnImage.png", "Missing.png"}}}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        const std::optional<CLGIcon> icon = CLGApplicationIconFrom(c.info, bundle.path());
        ASSERT_EQ(icon.has_value(), c.chosen.has_value()) << c.name;
        if (!icon)
            continue;
        const std::string& bytes = files.at(*c.chosen);
        EXPECT_EQ(core::asText(icon->data), bytes) << c.name;
        EXPECT_EQ(icon->dataHash, core::sha1Hex(bytes)) << c.name;
        EXPECT_EQ(icon->prerendered, c.prerendered) << c.name;
    }
    EXPECT_EQ(CLGApplicationIconFrom({{"CFBundleIconFile", "Named"}}, bundle.path())->size, (core::Size{114, 114}));
}

} // namespace
} // namespace zm
