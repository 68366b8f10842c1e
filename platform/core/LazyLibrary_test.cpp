#include "platform/core/LazyLibrary.h"

#include <gtest/gtest.h>

namespace {

struct MathTable {
    double (*cos)(double) = nullptr;
    double (*notThere)(double) = nullptr;
};

TEST(LazyLibrary, FillsTheTableOrSaysWhatIsMissing) {
    const auto whole = core::loadLibrary<MathTable>(
        "libm.so.6", [](core::LibrarySymbols& symbols, MathTable& table) { symbols.find("cos", table.cos); });
    ASSERT_NE(whole.get(), nullptr) << whole.failure;
    EXPECT_DOUBLE_EQ(whole.get()->cos(0), 1.0);

    const auto partial =
        core::loadLibrary<MathTable>("libm.so.6", [](core::LibrarySymbols& symbols, MathTable& table) {
            symbols.find("zembrix_not_a_function", table.notThere);
            symbols.find("cos", table.cos);
        });
    EXPECT_EQ(partial.get(), nullptr);
    EXPECT_EQ(partial.failure, "libm.so.6 has no zembrix_not_a_function");

    bool filled = false;
    const auto absent = core::loadLibrary<MathTable>(
        "libzembrix-absent.so.0", [&](core::LibrarySymbols&, MathTable&) { filled = true; });
    EXPECT_EQ(absent.get(), nullptr);
    EXPECT_FALSE(filled);
    EXPECT_EQ(absent.failure.rfind("cannot load libzembrix-absent.so.0", 0), 0u) << absent.failure;
}

} // namespace
