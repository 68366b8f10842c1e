#include "analytics/TMJSON.h"

#include <cmath>

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(TMJSON, EncodesByteWiseWithTheClientsOwnRules) {
    const struct {
        core::Value object;
        const char* json;
    } cases[] = {
        {core::Dictionary{{"a", 1}}, R"({"a":1})"},
        {core::Dictionary{{"1", "x"}}, R"({"1":"x"})"},
        {core::Value("a/b\"c"), R"("a\/b\"c")"},
        {core::Value("tab\there\\"), R"("tab\there\\")"},
        {core::Value("\b\f\n\r"), R"("\b\f\n\r")"},
        {core::Value("\x01 stays"), "\"\x01 stays\""},
        {core::Value("z\xc3\xa9ro \xe2\x82\xac"), "\"z\xc3\xa9ro \xe2\x82\xac\""},
        {core::Dictionary{}, "{}"},
        {core::Array{}, "[]"},
        {core::Array{true, false, core::Value(), 2.5, -3, 1e21, 100.0}, "[1,0,null,2.5,-3,1e+21,100]"},
        {core::Dictionary{{"when", core::Date{1704067200}}}, R"({"when":"2024-01-01 00:00:00 +0000"})"},
        {core::Dictionary{{"blob", core::Bytes{0, 1, 2, 3, 0xff}}}, R"({"blob":"<00010203 ff>"})"},
        {core::Dictionary{{"z", 1}, {"a", core::Dictionary{{"k", core::Array{"v"}}}}}, R"({"z":1,"a":{"k":["v"]}})"},
        {core::Value(NAN), "null"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(TMJSONStringFromObject(test.object), test.json) << test.json;
}

TEST(TMJSON, NumbersInKeyPositionAreQuoted) {
    const struct {
        core::Value key;
        const char* json;
    } cases[] = {{1, "\"1\""}, {true, "\"1\""}, {2.5, "\"2.5\""}, {"k/", "\"k\\/\""}};
    for (const auto& test : cases) {
        std::string json = "{";
        TMJSONAppendObject(test.key, json, true);
        EXPECT_EQ(json, std::string("{") + test.json);
    }
}

} // namespace
} // namespace zm
