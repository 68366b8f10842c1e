#include "crashlog/record/CLGRecordReader.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace zm {
namespace {

class CLGRecordReaderTest : public ::testing::Test {
protected:
    core::Dictionary parse(const std::string& bytes) {
        const auto path = m_folder.path() / "record.clgrecord";
        EXPECT_TRUE(core::writeFileAtomically(path, bytes).ok());
        return CLGRecordParse(path);
    }

    core::TemporaryFolder m_folder;
};

std::string lines(int count) {
    std::string text = "{\"schema\":{\"version\":1,\"expected_lines\":21}}\n";
    for (int i = 1; i < count; ++i)
        text += "{\"line" + std::to_string(i) + "\":{}}\n";
    return text;
}

TEST_F(CLGRecordReaderTest, ReadsWhatTheWriterWritesAndForgivesWhatACutRecordLacks) {
    struct Case {
        const char* name;
        std::string bytes;
        core::Dictionary expected;
    };
    const std::string longString(10239, 'x');
    const Case cases[] = {
        {"members without commas", "{\"a\":{\"x\":1\"y\":true\"z\":false}}",
         {{"a", core::Dictionary{{"x", 1}, {"y", true}, {"z", false}}}, {"file_lines", 1}}},
        {"no final brace at the end of the file", "{\"a\":{\"x\":[1,2]}",
         {{"a", core::Dictionary{{"x", core::Array{1, 2}}}}, {"file_lines", 1}}},
        {"whitespace between tokens", " {\n\"a\" : [ \"s\" , { } ] }\r\n\t",
         {{"a", core::Array{"s", core::Dictionary{}}}, {"file_lines", 1}}},
        {"a raw quote ends the string, the object and the record",
         "{\"a\":{\"k\":\"say \"hi\"\"}}\n{\"b\":{}}\n", {{"a", core::Dictionary{{"k", "say "}}}, {"file_lines", 1}}},
        {"the longest string", "{\"a\":\"" + longString + "\"}", {{"a", longString}, {"file_lines", 1}}},
        {"a string one byte too long fails", "{\"a\":\"" + longString + "x\"}", {{"file_lines", 1}}},
        {"bad UTF-8", "{\"a\":\"\xff\xfe\"}", {{"a", "(invalid UTF8)"}, {"file_lines", 1}}},
        {"a later line's key replaces an earlier one", "{\"a\":1}\n{\"a\":2}\n", {{"a", 2}, {"file_lines", 2}}},
        {"the largest number reads back as -1", "{\"a\":18446744073709551615}", {{"a", -1}, {"file_lines", 1}}},
        {"nothing that starts an object", "garbage", {{"file_lines", 0}}},
        {"a misspelt literal", "{\"a\":tru}", {{"file_lines", 1}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.bytes), c.expected) << c.name;
}

TEST_F(CLGRecordReaderTest, ARecordIsValidWithExactlyTheExpectedLineCount) {
    struct Case {
        int objects;
        int64_t fileLines;
        bool valid;
    };
    for (const Case& c : {Case{20, 20, false}, Case{21, 21, true}, Case{25, 22, false}}) {
        const core::Dictionary record = parse(lines(c.objects));
        EXPECT_EQ(record.find("file_lines")->integerValue(), c.fileLines) << c.objects;
        EXPECT_EQ(CLGRecordIsValid(record), c.valid) << c.objects;
    }
    EXPECT_FALSE(CLGRecordIsValid(parse("{\"line\":{}}")));
}

TEST_F(CLGRecordReaderTest, AMissingFileHasNoLines) {
    EXPECT_EQ(CLGRecordParse(m_folder.path() / "missing.clgrecord"), (core::Dictionary{{"file_lines", 0}}));
}

TEST_F(CLGRecordReaderTest, DeepNestingEndsInsteadOfExhaustingTheStack) {
    const core::Dictionary record = parse("{\"a\":" + std::string(100000, '[') + "}");
    EXPECT_EQ(record.find("file_lines")->integerValue(), 1);
}

} // namespace
} // namespace zm
