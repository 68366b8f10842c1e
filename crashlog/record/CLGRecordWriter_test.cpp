#include "crashlog/record/CLGRecordReader.h"
#include "crashlog/record/CLGRecordWriter.h"
#include "crashlog/testing/RecordFixture.h"
#include "crashlog/testing/Written.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace zm {
namespace {

using testing::written;

TEST(CLGRecordWriter, WritesLinesByteForByte) {
    struct Case {
        const char* name;
        std::function<void(CLGRecordWriter&)> write;
        const char* bytes;
    };
    const Case cases[] = {
        {"empty object line",
         [](CLGRecordWriter& w) {
             w.beginLine("mach_exception");
             w.beginObject();
             w.endObject();
             w.endLine();
         },
         "{\"mach_exception\":{}}\n"},
        {"signal line without signal information",
         [](CLGRecordWriter& w) {
             w.beginLine("signal");
             w.beginObject();
             w.booleanMember("preexisting_handlers", false);
             w.numberMember("errno", 0);
             w.endObject();
             w.endLine();
         },
         "{\"signal\":{\"preexisting_handlers\":false,\"errno\":0}}\n"},
        {"two lines in a row",
         [](CLGRecordWriter& w) {
             for (const char* kind : {"user", "custom_attributes"}) {
                 w.beginLine(kind);
                 w.beginObject();
                 w.endObject();
                 w.endLine();
             }
         },
         "{\"user\":{}}\n{\"custom_attributes\":{}}\n"},
        {"arrays of frames separated by a comma",
         [](CLGRecordWriter& w) {
             w.beginArray();
             for (uint64_t address : {1, 2}) {
                 w.beginArray();
                 w.beginObject();
                 w.numberMember("address", address);
                 w.endObject();
                 w.endArray();
             }
             w.endArray();
         },
         "[[{\"address\":1}],[{\"address\":2}]]"},
        {"a signed -1 as its 64-bit two's complement",
         [](CLGRecordWriter& w) {
             w.beginObject();
             w.numberMember("parent_pid", static_cast<uint64_t>(int64_t{-1}));
             w.numberMember("zero", 0);
             w.endObject();
         },
         "{\"parent_pid\":18446744073709551615,\"zero\":0}"},
        {"Booleans are true only for exactly 1",
         [](CLGRecordWriter& w) {
             w.beginObject();
             w.booleanMember("one", 1);
             w.booleanMember("two", 2);
             w.endObject();
         },
         "{\"one\":true,\"two\":false}"},
        {"strings: null, quotes escaped, a length limit, escaped text unchanged",
         [](CLGRecordWriter& w) {
             w.beginArray();
             w.stringElement(nullptr);
             w.stringElement("say \"hi\"");
             w.stringElement("truncated", 5);
             w.stringElement("caf%C3%A9%20%22");
             w.endArray();
         },
         "[\"(null)\",\"say %22hi%22\",\"trunc\",\"caf%C3%A9%20%22\"]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(written(c.write), c.bytes) << c.name;
}

TEST(CLGRecordWriter, AWholeRecordWithAQuoteInAThreadNameReadsBackValid) {
    core::TemporaryFolder folder;
    const auto path = folder.path() / "record.clgrecord";
    auto fixture = testing::RecordFixture::standard();
    fixture.replaceArray("thread_names", [](CLGRecordWriter& w) { w.stringElement("worker \"7\""); });
    fixture.write(path);

    const core::Dictionary record = CLGRecordParse(path);
    EXPECT_TRUE(CLGRecordIsValid(record));
    EXPECT_EQ(record.find("file_lines")->integerValue(), 21);
    EXPECT_EQ((*record.find("thread_names")->asArray())[0], core::Value("worker %227%22"));
    EXPECT_EQ(record.find("process_info")->find("parent_pid")->integerValue(), -1);
    EXPECT_EQ(record.find("custom_attributes")->asDictionary()->size(), 0u);
}

} // namespace
} // namespace zm
