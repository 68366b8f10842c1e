#include "platform/core/Value.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Value, KindsAndTypedAccess) {
    EXPECT_EQ(Value().kind(), Value::Kind::Null);
    EXPECT_EQ(Value(true).kind(), Value::Kind::Bool);
    EXPECT_EQ(Value(7).kind(), Value::Kind::Integer);
    EXPECT_EQ(Value(int64_t{1} << 40).kind(), Value::Kind::Integer);
    EXPECT_EQ(Value(2.5).kind(), Value::Kind::Real);
    EXPECT_EQ(Value("x").kind(), Value::Kind::String);
    EXPECT_EQ(Value(Bytes{1, 2}).kind(), Value::Kind::Data);
    EXPECT_EQ(Value(Date{0}).kind(), Value::Kind::Date);
    EXPECT_EQ(Value(Array{1, "a"}).kind(), Value::Kind::Array);
    EXPECT_EQ(Value(Dictionary{{"k", 1}}).kind(), Value::Kind::Dictionary);

    EXPECT_EQ(*Value("text").asString(), "text");
    EXPECT_EQ(Value(5).asString(), nullptr);
    EXPECT_EQ(Value("text").asArray(), nullptr);
    EXPECT_EQ(Value(Dictionary{{"a", Dictionary{{"b", 2}}}}).find("a")->find("b")->intValue(), 2);
    EXPECT_EQ(Value(3).find("a"), nullptr);
}

TEST(Value, NumberConversionsFollowTheNumberTextRulesForTexts) {
    const struct {
        Value value;
        bool asBool;
        int32_t asInt;
        int64_t asInteger;
        double asDouble;
        const char* asString;
    } cases[] = {
        {Value(true), true, 1, 1, 1, "1"},
        {Value(false), false, 0, 0, 0, "0"},
        {Value(42), true, 42, 42, 42, "42"},
        {Value(2.75), true, 2, 2, 2.75, "2.75"},
        {Value(-2.75), true, -2, -2, -2.75, "-2.75"},
        {Value(1e20), true, std::numeric_limits<int32_t>::max(), std::numeric_limits<int64_t>::max(), 1e20,
         "1e+20"},
        {Value(int64_t{5000000000}), true, std::numeric_limits<int32_t>::max(), 5000000000, 5e9,
         "5000000000"},
        {Value(" 12abc"), true, 12, 12, 12, " 12abc"},
        {Value("YES"), true, 0, 0, 0, "YES"},
        {Value("0.5"), false, 0, 0, 0.5, "0.5"},
        {Value(), false, 0, 0, 0, ""},
        {Value(Array{1}), false, 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asString);
        EXPECT_EQ(c.value.boolValue(), c.asBool);
        EXPECT_EQ(c.value.intValue(), c.asInt);
        EXPECT_EQ(c.value.integerValue(), c.asInteger);
        EXPECT_EQ(c.value.doubleValue(), c.asDouble);
        EXPECT_EQ(c.value.stringValue(), c.asString);
    }
    EXPECT_EQ(Value(std::nan("")).intValue(), 0);
    EXPECT_EQ(Value(7).floatValue(), 7.0f);
    EXPECT_EQ(Value(0.1f).floatValue(), 0.1f);
}

TEST(Value, NumbersCompareByValueAndOtherKindsByContent) {
    EXPECT_EQ(Value(true), Value(1));
    EXPECT_EQ(Value(1), Value(1.0));
    EXPECT_NE(Value(1), Value(1.5));
    EXPECT_NE(Value(1), Value("1"));
    EXPECT_NE(Value(), Value(0));
    EXPECT_EQ(Value(), Value(nullptr));
    EXPECT_EQ(Value(Array{1, "a"}), Value(Array{1.0, "a"}));
    EXPECT_NE(Value(Array{1, "a"}), Value(Array{"a", 1}));
    // Large integers are not rounded through doubles when compared.
    EXPECT_NE(Value(int64_t{9007199254740993}), Value(int64_t{9007199254740992}));
}

TEST(Dictionary, KeepsInsertionOrderAndComparesWithoutIt) {
    Dictionary d;
    d.set("b", 1);
    d.set("a", 2);
    d.set("c", 3);
    d.set("b", 4); // replaced in place
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(d.find("b")->intValue(), 4);
    EXPECT_TRUE(d.remove("a"));
    EXPECT_FALSE(d.remove("a"));
    EXPECT_EQ(d.keys(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(d, (Dictionary{{"c", 3}, {"b", 4}}));
    EXPECT_NE(d, (Dictionary{{"c", 3}, {"b", 5}}));
    EXPECT_NE(d, (Dictionary{{"c", 3}}));
}

TEST(Dictionary, LargeDictionariesStayConsistentThroughCopiesAndRemovals) {
    Dictionary d;
    for (int i = 0; i < 200; ++i)
        d.set("key" + std::to_string(i), i);
    Dictionary copy = d;
    for (int i = 0; i < 200; i += 2)
        EXPECT_TRUE(copy.remove("key" + std::to_string(i)));
    copy.set("key1", -1);
    Dictionary moved = std::move(copy);
    EXPECT_EQ(moved.size(), 100u);
    EXPECT_EQ(moved.find("key1")->intValue(), -1);
    EXPECT_EQ(moved.find("key199")->intValue(), 199);
    EXPECT_FALSE(moved.contains("key0"));
    EXPECT_EQ(moved.keys().front(), "key1");
    EXPECT_EQ(d.size(), 200u);
    EXPECT_EQ(d.find("key0")->intValue(), 0);
}

} // namespace
} // namespace core
