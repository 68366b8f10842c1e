#include "tools/crashlog-crasher/RecordText.h"

#include "crashlog/report/CLGRecordFields.h"
#include "platform/core/Format.h"

namespace zm::crasher {
namespace {

std::string signalLine(const CLGCrashFile& file) {
    const core::Dictionary& record = file.crashData();
    std::string line = "signal";
    if (const core::Value* number = CLGRecordMember(record, "signal", "number"))
        line += " " + std::to_string(number->integerValue());
    for (const char* member : {"name", "code_name"})
        line += " " + CLGRecordText(record, "signal", member).value_or("?");
    if (const core::Value* address = CLGRecordMember(record, "signal", "address"))
        line += core::format(" address 0x%llx", static_cast<unsigned long long>(address->integerValue()));
    return line + "\n";
}

std::string frameLine(const CLGCrashFile& file, size_t index, const CLGStackFrame& frame) {
    const std::string symbol =
        frame.symbol ? core::format("%s+0x%llx", frame.symbol->c_str(), static_cast<unsigned long long>(frame.offset))
                     : "?";
    const core::Value* image = file.binaryImageContaining(frame.address);
    const core::Value* path = image ? image->find("path") : nullptr;
    const std::string imagePath = path && path->asString() ? *path->asString() : "(no image)";
    return core::format("  #%zu 0x%016llx %s %s\n", index, static_cast<unsigned long long>(frame.address),
                        symbol.c_str(), imagePath.c_str());
}

} // namespace

std::string recordText(const CLGCrashFile& file) {
    std::string text = signalLine(file);
    for (size_t index = 0; index < file.threads().size(); ++index) {
        const CLGThread& thread = file.threads()[index];
        text += core::format("thread %zu%s \"%s\"\n", index, thread.crashed() ? " crashed" : "", thread.name().c_str());
        for (size_t at = 0; at < thread.frames.size(); ++at)
            text += frameLine(file, at, thread.frames[at]);
    }
    return text;
}

} // namespace zm::crasher
