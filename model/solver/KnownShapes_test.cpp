#include "model/solver/KnownShapes.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(KnownShapes, KeepsEveryShapeOnceAcrossGrowth) {
    // Enough shapes to grow the table several times, some of them prefixes of others.
    std::vector<std::string> shapes;
    for (int i = 0; i < 5000; ++i)
        shapes.push_back(std::string(static_cast<size_t>(i % 7), '\0') + std::to_string(i));
    KnownShapes known;
    for (const std::string& shape : shapes)
        EXPECT_TRUE(known.insert(shape)) << shape;
    EXPECT_EQ(known.size(), shapes.size());
    for (const std::string& shape : shapes) {
        EXPECT_TRUE(known.contains(shape));
        const std::string copy = shape;
        EXPECT_FALSE(known.insert(copy)) << "a copy of a known shape is known";
    }
    EXPECT_FALSE(known.contains(std::string(1, '\0') + "0"));
    EXPECT_FALSE(known.contains(""));
    EXPECT_EQ(known.size(), shapes.size());
}

} // namespace
} // namespace zm
