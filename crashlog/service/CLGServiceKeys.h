#pragma once

#include <string_view>

namespace zm {

// What the crash reporter and the crash service agree on and nobody else needs to know: the token the
// service issues to this reporter, the two strings that turn a bundle identifier into the salt of the
// header key, and the salt of the conversion events. Both the reporter and tools/crash-service read
// them here.
inline constexpr std::string_view kCLGDeveloperToken = "5c0e93d1a7f2b8e46d09c3a15f7e2b9d84a6c103";
// Every occurrence of the first string in the bundle identifier becomes the second.
inline constexpr std::string_view kCLGKeySaltFind = ".";
inline constexpr std::string_view kCLGKeySaltReplace = "~z~";
inline constexpr std::string_view kCLGConversionSalt = "b7E2qL9xVw4Rk0TnYs3Fh6Jd1Pc8Mg5Za2Uo7Ie4Xr9Ql3Bt6Nv0Sy8Hp1Wd5KcA";

static_assert(kCLGDeveloperToken.size() == 40);
static_assert(kCLGKeySaltFind.size() == 1 && kCLGKeySaltReplace.size() == 3);
static_assert(kCLGConversionSalt.size() == 64);

} // namespace zm
