#include "platform/core/PropertyList.h"

#include <string>

#include <gtest/gtest.h>

namespace core {
namespace {

Value sample() {
    Dictionary settings;
    settings.set("title", "Zembrix & <friends>");
    settings.set("blank", " ");
    settings.set("lines", "one\r\ntwo\rthree\n");
    settings.set("key\rwith a return", "\t");
    settings.set("count", 3);
    settings.set("big", int64_t{1} << 40);
    settings.set("ratio", 0.1);
    settings.set("on", true);
    settings.set("off", false);
    settings.set("when", Date{978307200});
    settings.set("blob", Bytes{0, 1, 2, 0xFF});
    settings.set("rows", Array{Value("a"), Value(Dictionary{{"Type", "PSGroupSpecifier"}}), Value(Array{})});
    settings.set("empty", Dictionary{});
    return Value(std::move(settings));
}

TEST(PropertyList, RoundTripsEveryKindInOrder) {
    const Result<std::string> xml = toPropertyList(sample());
    ASSERT_TRUE(xml) << xml.error().description;
    const Result<Value> back = parsePropertyList(*xml);
    ASSERT_TRUE(back) << back.error().description;
    EXPECT_EQ(*back, sample());
    EXPECT_EQ(back->asDictionary()->keys(), sample().asDictionary()->keys());
    EXPECT_EQ(back->find("count")->kind(), Value::Kind::Integer);
    EXPECT_EQ(back->find("ratio")->kind(), Value::Kind::Real);
    EXPECT_EQ(*back->find("blank")->asString(), " ");
}

TEST(PropertyList, WritesTheConventionalElements) {
    const Result<std::string> xml = toPropertyList(Value(Dictionary{{"n", 1.5}, {"t", true}}));
    ASSERT_TRUE(xml);
    EXPECT_NE(xml->find("<plist version=\"1.0\">"), std::string::npos);
    EXPECT_NE(xml->find("<key>n</key>"), std::string::npos);
    EXPECT_NE(xml->find("<real>1.5</real>"), std::string::npos);
    EXPECT_NE(xml->find("<true />"), std::string::npos);
}

TEST(PropertyList, ReadsFilesWrittenByOtherTools) {
    const char* xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>StringsTable</key>
	<string>Root</string>
	<key>PreferenceSpecifiers</key>
	<array>
		<dict>
			<key>Type</key>
			<string>PSSliderSpecifier</string>
			<key>MinimumValue</key>
			<integer> +0 </integer>
			<key>DefaultValue</key>
			<real>-2.5E1</real>
		</dict>
	</array>
	<key>Data</key>
	<data>
	AAEC
	/w==
	</data>
</dict>
</plist>)";
    const Result<Value> v = parsePropertyList(xml);
    ASSERT_TRUE(v) << v.error().description;
    EXPECT_EQ(*v->find("StringsTable")->asString(), "Root");
    const Value& row = (*v->find("PreferenceSpecifiers")->asArray())[0];
    EXPECT_EQ(row.find("MinimumValue")->integerValue(), 0);
    EXPECT_EQ(row.find("DefaultValue")->doubleValue(), -25);
    EXPECT_EQ(*v->find("Data")->asData(), (Bytes{0, 1, 2, 0xFF}));
}

TEST(PropertyList, NullHasNoFormAndBadDocumentsNameTheirFault) {
    EXPECT_FALSE(toPropertyList(Value(Array{Value()})));
    const struct {
        const char* xml;
        const char* says;
    } cases[] = {
        {"", "not well-formed"},
        {"<plist><dict><key>a</key>", "not well-formed"},
        {"<root/>", "<root>"},
        {"<plist></plist>", "empty"},
        {"<plist><integer>12x</integer></plist>", "no integer"},
        {"<plist><real>abc</real></plist>", "no number"},
        {"<plist><date>yesterday</date></plist>", "no ISO 8601"},
        {"<plist><data>@@@@</data></plist>", "base64"},
        {"<plist><dict><key>a</key></dict></plist>", "no value"},
        {"<plist><dict><string>a</string></dict></plist>", "<key>"},
        {"<plist><set/></plist>", "<set>"},
    };
    for (const auto& c : cases) {
        const Result<Value> v = parsePropertyList(c.xml);
        ASSERT_FALSE(v) << c.xml;
        EXPECT_EQ(v.error().domain, kPropertyListErrorDomain);
        EXPECT_NE(v.error().description.find(c.says), std::string::npos) << v.error().description;
    }
    std::string deep = "<plist>";
    for (int i = 0; i < 600; ++i)
        deep += "<array>";
    for (int i = 0; i < 600; ++i)
        deep += "</array>";
    deep += "</plist>";
    EXPECT_FALSE(parsePropertyList(deep));
}

} // namespace
} // namespace core
