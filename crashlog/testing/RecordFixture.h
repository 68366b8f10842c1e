#pragma once

#include "crashlog/record/CLGRecordWriter.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zm::testing {

// A crash record made with the record writer, line by line, so that a test can change, drop or add
// lines before writing it. standard() holds the 21 lines of a plausible record.
class RecordFixture {
public:
    using Line = std::function<void(CLGRecordWriter&)>;

    static RecordFixture standard() {
        RecordFixture fixture;
        fixture.add("schema", [](CLGRecordWriter& w) {
            w.numberMember("version", 1);
            w.numberMember("expected_lines", 21);
        });
        fixture.add("mach_exception", [](CLGRecordWriter&) {});
        fixture.add("signal", [](CLGRecordWriter& w) {
            w.numberMember("number", 11);
            w.numberMember("code", 1);
            w.numberMember("address", 0);
            w.stringMember("name", "SIGSEGV");
            w.stringMember("code_name", "SEGV_MAPERR");
            w.booleanMember("preexisting_handlers", false);
            w.numberMember("errno", 0);
        });
        fixture.add("identity", [](CLGRecordWriter& w) {
            w.stringMember("generator", "Crashlog iOS SDK/2.1.3");
            w.stringMember("api_key", "0123456789abcdef0123456789abcdef01234567");
            w.stringMember("identifier", "6553F10000FA-0001-1234-61626364-6566");
            w.numberMember("started_at", 1700000000);
            w.numberMember("ended_at", 1700000100);
        });
        fixture.add("build", [](CLGRecordWriter& w) {
            w.stringMember("config", "unknown");
            w.stringMember("compiler", "unknown");
            w.booleanMember("debug", false);
            w.booleanMember("arc", false);
            w.numberMember("os_max", 0);
            w.numberMember("os_min", 0);
        });
        fixture.add("process_info", [](CLGRecordWriter& w) {
            w.numberMember("pid", 4321);
            w.stringMember("name", "zembrix");
            w.numberMember("parent_pid", static_cast<uint64_t>(-1));
            w.stringMember("parent_name", "bash");
            w.booleanMember("debugger", false);
        });
        fixture.addArray("external_process_info", [](CLGRecordWriter&) {});
        fixture.add("host", [](CLGRecordWriter& w) { w.stringMember("model", "x86_64"); });
        fixture.add("executable", [](CLGRecordWriter& w) { w.stringMember("path", "/usr/bin/zembrix"); });
        fixture.addArray("binary_images", [](CLGRecordWriter&) {});
        fixture.add("exception", [](CLGRecordWriter&) {});
        // The one line with three members of the record: the threads, the crashed one and the count.
        fixture.addLine("threads", [](CLGRecordWriter& w) {
            w.beginLine("threads");
            w.beginArray();
            w.beginArray();
            w.beginObject();
            w.numberMember("address", 4096);
            w.endObject();
            w.endArray();
            w.endArray();
            w.numberMember("crashed_thread", 0);
            w.numberMember("thread_count", 1);
            w.endLine();
        });
        fixture.add("thread_state", [](CLGRecordWriter&) {});
        fixture.add("process_stats", [](CLGRecordWriter& w) { w.numberMember("active", 4096); });
        fixture.addArray("thread_names", [](CLGRecordWriter& w) { w.stringElement("main"); });
        fixture.addArray("dispatch_queue_names", [](CLGRecordWriter& w) { w.stringElement(""); });
        fixture.add("runtime", [](CLGRecordWriter& w) { w.stringMember("objc_selector", nullptr); });
        fixture.add("storage", [](CLGRecordWriter&) {});
        fixture.add("user", [](CLGRecordWriter&) {});
        fixture.add("log", [](CLGRecordWriter& w) { w.numberMember("last_offset", 0); });
        fixture.add("custom_attributes", [](CLGRecordWriter&) {});
        return fixture;
    }

    // A line "{kind:{...}}" whose members `members` writes.
    void add(std::string kind, std::function<void(CLGRecordWriter&)> members) {
        m_lines.emplace_back(kind, [kind, members](CLGRecordWriter& w) {
            w.beginLine(kind.c_str());
            w.beginObject();
            members(w);
            w.endObject();
            w.endLine();
        });
    }
    // A line "{kind:[...]}" whose elements `elements` writes.
    void addArray(std::string kind, std::function<void(CLGRecordWriter&)> elements) {
        m_lines.emplace_back(kind, [kind, elements](CLGRecordWriter& w) {
            w.beginLine(kind.c_str());
            w.beginArray();
            elements(w);
            w.endArray();
            w.endLine();
        });
    }
    // A line written whole by `line`.
    void addLine(std::string kind, Line line) { m_lines.emplace_back(std::move(kind), std::move(line)); }
    void replaceLine(const std::string& kind, Line line) {
        for (auto& [name, existing] : m_lines) {
            if (name == kind)
                existing = line;
        }
    }
    // Replaces the line of that kind, keeping its place.
    void replace(const std::string& kind, std::function<void(CLGRecordWriter&)> members) {
        RecordFixture single;
        single.add(kind, std::move(members));
        for (auto& [name, line] : m_lines) {
            if (name == kind)
                line = single.m_lines.front().second;
        }
    }
    void replaceArray(const std::string& kind, std::function<void(CLGRecordWriter&)> elements) {
        RecordFixture single;
        single.addArray(kind, std::move(elements));
        for (auto& [name, line] : m_lines) {
            if (name == kind)
                line = single.m_lines.front().second;
        }
    }
    void remove(const std::string& kind) {
        std::erase_if(m_lines, [&](const auto& line) { return line.first == kind; });
    }

    void write(const std::filesystem::path& path) const {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        CLGRecordWriter writer(fd);
        for (const auto& line : m_lines)
            line.second(writer);
        close(fd);
    }

private:
    std::vector<std::pair<std::string, Line>> m_lines;
};

} // namespace zm::testing
