#pragma once

#include "crashlog/record/CLGRecordReader.h"
#include "crashlog/testing/ChildProcess.h"
#include "platform/core/Value.h"

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace zm::testing {

// crashlog-crasher run on one case with its data root in `folder`: how it ended, the crash records
// and markers it left, and the first record read back.
struct CrasherRun {
    ChildResult child;
    std::vector<std::filesystem::path> records;
    std::vector<std::filesystem::path> markers;
    core::Dictionary record;

    const core::Value& at(std::string_view line, std::string_view member) const {
        static const core::Value none;
        const core::Value* found = record.find(line);
        found = found ? found->find(member) : nullptr;
        return found ? *found : none;
    }
};

inline CrasherRun runCrasher(const std::string& name, const std::filesystem::path& folder) {
    CrasherRun run;
    run.child = runChild({CRASHLOG_CRASHER, name, folder.string()});
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() == ".clgrecord")
            run.records.push_back(entry.path());
        if (entry.path().filename() == "crash_marker")
            run.markers.push_back(entry.path());
    }
    if (!run.records.empty())
        run.record = CLGRecordParse(run.records.front());
    return run;
}

// One frame of `crashlog-crasher show`: the symbol the conversion gave ("?" for none, without its
// offset) and the image's path ("(no image)" for none).
struct ShownFrame {
    uint64_t address = 0;
    std::string symbol;
    std::string image;
};

struct ShownThread {
    std::string name;
    bool crashed = false;
    std::vector<ShownFrame> frames;

    bool names(std::string_view symbol) const {
        for (const ShownFrame& frame : frames) {
            if (frame.symbol == symbol)
                return true;
        }
        return false;
    }
};

struct ShownRecord {
    std::string signalLine;
    std::vector<ShownThread> threads;
    std::string text;
};

// `crashlog-crasher show RECORD`, read back.
inline std::optional<ShownRecord> showRecord(const std::filesystem::path& record) {
    const ChildResult child = runChild({CRASHLOG_CRASHER, "show", record.string()});
    if (!child.exitedWith(0))
        return std::nullopt;
    ShownRecord shown;
    shown.text = child.out;
    std::istringstream lines(child.out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "signal") {
            shown.signalLine = line;
        } else if (first == "thread") {
            ShownThread thread;
            thread.crashed = line.find(" crashed \"") != std::string::npos;
            const size_t quote = line.find('"');
            thread.name = line.substr(quote + 1, line.rfind('"') - quote - 1);
            shown.threads.push_back(thread);
        } else if (first.starts_with("#") && !shown.threads.empty()) {
            ShownFrame frame;
            std::string address;
            words >> address >> frame.symbol;
            std::getline(words >> std::ws, frame.image);
            frame.address = std::stoull(address, nullptr, 16);
            frame.symbol = frame.symbol.substr(0, frame.symbol.find('+'));
            shown.threads.back().frames.push_back(frame);
        }
    }
    return shown;
}

} // namespace zm::testing
