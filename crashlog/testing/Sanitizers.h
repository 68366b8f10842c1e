#pragma once

namespace zm::testing {

// Whether this build runs under a sanitizer that owns the crash signals (address or thread): tests
// that install signal handlers or crash on purpose are skipped there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitizerOwnsSignals = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kSanitizerOwnsSignals = true;
#else
inline constexpr bool kSanitizerOwnsSignals = false;
#endif
#else
inline constexpr bool kSanitizerOwnsSignals = false;
#endif

} // namespace zm::testing

// Skips the test where the sanitizer owns the crash signals.
#define CLG_SKIP_UNDER_SANITIZER()                                                                      \
    do {                                                                                                \
        if (::zm::testing::kSanitizerOwnsSignals)                                                       \
            GTEST_SKIP() << "the sanitizer owns the crash signals";                                     \
    } while (false)
