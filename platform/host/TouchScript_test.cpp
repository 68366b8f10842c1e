#include "platform/host/TouchScript.h"

#include <gtest/gtest.h>

namespace host {
namespace {

TEST(TouchScript, ReadsEveryCommandWithItsTargets) {
    const auto script = parseTouchScript("# a comment\n"
                                         "tap @+\n"
                                         "\n"
                                         "drag @x#2 100.5,200 12   # to the right\n"
                                         "down 1,2\nmove @7\nup 3,4\n"
                                         "wait 0.5\nshot\nshot after\n"
                                         "drag @a 1,2 @b#2\n");
    ASSERT_TRUE(script) << script.error().description;
    ASSERT_EQ(script->size(), 9u);
    const ScriptCommand& tap = (*script)[0];
    EXPECT_EQ(tap.verb, ScriptVerb::Tap);
    EXPECT_EQ(tap.line, 2);
    ASSERT_EQ(tap.targets.size(), 1u);
    EXPECT_EQ(tap.targets[0].text, "+");
    EXPECT_EQ(tap.targets[0].occurrence, 1);

    const ScriptCommand& drag = (*script)[1];
    EXPECT_EQ(drag.verb, ScriptVerb::Drag);
    EXPECT_EQ(drag.steps, 12);
    EXPECT_EQ(drag.targets[0].text, "x");
    EXPECT_EQ(drag.targets[0].occurrence, 2);
    EXPECT_EQ(drag.targets[1].point, (core::Point{100.5f, 200}));

    EXPECT_EQ((*script)[5].seconds, 0.5);
    EXPECT_EQ((*script)[6].name, "shot");
    EXPECT_EQ((*script)[7].name, "after");

    // A drag through a point on the way, with the usual moves for each stretch.
    const ScriptCommand& through = (*script)[8];
    ASSERT_EQ(through.targets.size(), 3u);
    EXPECT_EQ(through.targets[1].point, (core::Point{1, 2}));
    EXPECT_EQ(through.targets[2].occurrence, 2);
    EXPECT_EQ(through.steps, 30);
}

TEST(TouchScript, ABadLineIsNamed) {
    const char* bad[] = {
        "tap",     "tap @+ @-", "drag @1",  "drag @1 @2 0", "wait",
        "wait -1", "wait soon", "jump @1",  "tap 12",       "tap 1,two",
        "tap @",   "tap @x#0",  "shot a b", "shot ../up",   "drag @1 @2 many",
    };
    for (const char* line : bad) {
        const auto script = parseTouchScript(std::string("tap @1\n") + line + "\n");
        ASSERT_FALSE(script) << line;
        EXPECT_TRUE(script.error().description.starts_with("line 2: ")) << script.error().description;
    }
}

TEST(TouchScript, AHashInsideATargetIsNoComment) {
    const auto script = parseTouchScript("tap @2#3");
    ASSERT_TRUE(script);
    EXPECT_EQ((*script)[0].targets[0].text, "2");
    EXPECT_EQ((*script)[0].targets[0].occurrence, 3);
}

} // namespace
} // namespace host
