#include "platform/core/Json.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(Json, ParsesEveryKindAndKeepsMemberOrder) {
    const Result<Value> parsed = parseJson(R"({"z": 1, "a": [true, null, 2.5, -3, "t\u00e9"], "m": {}})");
    ASSERT_TRUE(parsed) << parsed.error().description;
    const Value& v = *parsed;
    EXPECT_EQ(v.asDictionary()->keys(), (std::vector<std::string>{"z", "a", "m"}));
    const Array& a = *v.find("a")->asArray();
    EXPECT_EQ(a[0].kind(), Value::Kind::Bool);
    EXPECT_TRUE(a[1].isNull());
    EXPECT_EQ(a[2].kind(), Value::Kind::Real);
    EXPECT_EQ(a[3].kind(), Value::Kind::Integer);
    EXPECT_EQ(*a[4].asString(), "t\xC3\xA9");
    EXPECT_TRUE(v.find("m")->asDictionary()->empty());
}

TEST(Json, NumbersKeepTheirKindAndExactValue) {
    EXPECT_EQ(parseJson("9223372036854775807")->integerValue(), 9223372036854775807LL);
    EXPECT_EQ(parseJson("18446744073709551615")->kind(), Value::Kind::Real);
    EXPECT_EQ(parseJson("1.0")->kind(), Value::Kind::Real);
    EXPECT_EQ(parseJson("1e2")->doubleValue(), 100);
    EXPECT_EQ(toJson(Value(1.0)), "1.0");
    EXPECT_EQ(toJson(Value(0.1)), "0.1");
    EXPECT_EQ(toJson(Value(1.0 / 3)), "0.3333333333333333");
    EXPECT_EQ(toJson(Value(-7)), "-7");
    EXPECT_EQ(toJson(Value(std::nan(""))), "null");
}

TEST(Json, WritesCompactDeterministicText) {
    Dictionary d;
    d.set("name", "a/b \"q\"\n");
    d.set("list", Array{1, true, Value()});
    d.set("bytes", Bytes{0xFF, 0x00});
    d.set("when", Date{0});
    EXPECT_EQ(toJson(Value(d)),
              R"({"name":"a/b \"q\"\n","list":[1,true,null],"bytes":"/wA=","when":"1970-01-01T00:00:00Z"})");
    EXPECT_EQ(toJson(Value(Dictionary{{"a", Array{}}}), JsonStyle::Indented), "{\n  \"a\": []\n}");
    // Broken UTF-8 is replaced rather than failing the whole document.
    EXPECT_EQ(toJson(Value("a\xFF")), "\"a\xEF\xBF\xBD\"");
}

TEST(Json, RoundTripsThroughText) {
    const Value original(
        Dictionary{{"k", Array{Value(1), Value(2.5), Value("s"), Value(Dictionary{{"n", Value()}})}}});
    const Result<Value> back = parseJson(toJson(original));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, original);
}

TEST(Json, MalformedOrTooDeepTextIsAnErrorThatSaysWhere) {
    for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "nul", "[1] 2", "\"\xFF\""}) {
        const Result<Value> parsed = parseJson(bad);
        ASSERT_FALSE(parsed) << bad;
        EXPECT_EQ(parsed.error().domain, kJsonErrorDomain);
        EXPECT_NE(parsed.error().description.find("byte"), std::string::npos) << parsed.error().description;
    }
    const Result<Value> deep = parseJson(std::string(100000, '['));
    ASSERT_FALSE(deep);
    EXPECT_NE(deep.error().description.find("deeper"), std::string::npos);
    EXPECT_TRUE(parseJson(std::string(500, '[') + std::string(500, ']')));
}

TEST(Json, RepeatedMemberKeepsItsFirstPlaceAndLastValue) {
    const Result<Value> parsed = parseJson(R"({"a":1,"b":2,"a":3})");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->asDictionary()->keys(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(parsed->find("a")->intValue(), 3);
}

} // namespace
} // namespace core
