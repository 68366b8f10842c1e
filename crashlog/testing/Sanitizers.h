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

// Whether this build runs under the thread sanitizer, which keeps its own state on every thread's
// stack and cannot start a thread on a stack as small as the exception server's (256 KiB).
#if defined(__SANITIZE_THREAD__)
inline constexpr bool kThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
inline constexpr bool kThreadSanitizer = true;
#else
inline constexpr bool kThreadSanitizer = false;
#endif
#else
inline constexpr bool kThreadSanitizer = false;
#endif

} // namespace zm::testing

// Skips the test where the sanitizer owns the crash signals.
#define CLG_SKIP_UNDER_SANITIZER()                                                                      \
    do {                                                                                                \
        if (::zm::testing::kSanitizerOwnsSignals)                                                       \
            GTEST_SKIP() << "the sanitizer owns the crash signals";                                     \
    } while (false)
