#include "crashlog/capture/CLGCaptureContext.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(CLGCaptureContext, TheEndpointOverrideComesFromInfoPlistThenTheEnvironment) {
    const auto environment = [](const char* name) -> const char* {
        return std::string_view(name) == "CrashlogAPIEndpoint" ? "http://127.0.0.1:9000" : nullptr;
    };
    const core::Dictionary plist{{"CrashlogAPIEndpoint", "https://crash.example"}};
    EXPECT_EQ(CLGAPIEndpointOverride(plist, environment), "https://crash.example");
    EXPECT_EQ(CLGAPIEndpointOverride({}, environment), "http://127.0.0.1:9000");
    EXPECT_EQ(CLGAPIEndpointOverride({}, [](const char*) -> const char* { return nullptr; }), std::nullopt);
}

TEST(CLGCaptureContext, InfoPlistBooleansAreTrueOnlyWhenPresentAndTrue) {
    const core::Dictionary plist{{"On", true}, {"Off", false}, {"Text", "YES"}};
    EXPECT_TRUE(CLGInfoPlistBool(plist, "On"));
    EXPECT_TRUE(CLGInfoPlistBool(plist, "Text"));
    EXPECT_FALSE(CLGInfoPlistBool(plist, "Off"));
    EXPECT_FALSE(CLGInfoPlistBool(plist, "Missing"));
}

} // namespace
} // namespace zm
