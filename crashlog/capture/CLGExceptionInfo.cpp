#include "crashlog/capture/CLGExceptionInfo.h"

#include "crashlog/record/CLGRecordWriter.h"
#include "platform/core/Encoding.h"

#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>
#include <typeinfo>

namespace zm {
namespace {

constexpr size_t kTextLimit = 10000;
constexpr int kMaxFrames = 128;

// The info the terminate handler records into; set once by the hook.
CLGExceptionInfo* g_hooked = nullptr;

char* copy(const char* text) {
    return text ? strdup(text) : nullptr;
}

void freeFrames(CLGExceptionFrame* frames, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        free(frames[i].symbol);
        free(frames[i].file);
    }
    delete[] frames;
}

// The demangled type of the exception in flight, or nothing.
std::optional<std::string> currentExceptionTypeName() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return std::nullopt;
    int status = 0;
    char* demangled = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : type->name();
    free(demangled);
    return name;
}

std::optional<std::string> currentExceptionReason() {
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return std::nullopt;
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& exception) {
        return std::string(exception.what());
    } catch (...) {
    }
    return std::nullopt;
}

[[noreturn]] void terminateHandler() {
    if (g_hooked)
        CLGRecordUncaughtException(*g_hooked);
    // A terminate handler must not return; the signal handler records the abort.
    abort();
}

} // namespace

CLGExceptionInfo::~CLGExceptionInfo() {
    free(name);
    free(reason);
    freeFrames(frames, frameCount);
}

void CLGExceptionRecord(CLGExceptionInfo& info, const char* name, const char* reason,
                        const std::vector<CLGStackFrame>& frames) {
    free(info.name);
    free(info.reason);
    freeFrames(info.frames, info.frameCount);
    info.name = copy(name);
    info.reason = copy(reason);
    auto* copies = frames.empty() ? nullptr : new CLGExceptionFrame[frames.size()];
    for (size_t i = 0; i < frames.size(); ++i) {
        copies[i].address = frames[i].address;
        copies[i].symbol = frames[i].symbol ? strdup(frames[i].symbol->c_str()) : nullptr;
        copies[i].file = frames[i].fileName ? strdup(frames[i].fileName->c_str()) : nullptr;
        copies[i].line = frames[i].lineNumber;
    }
    info.frames = copies;
    info.frameCount = static_cast<uint32_t>(frames.size());
}

void CLGExceptionRecordHandled(CLGExceptionInfo& info, const std::string& name, const std::string& reason,
                               const std::vector<CLGStackFrame>& frames) {
    CLGExceptionRecord(info, name.c_str(), core::percentEscape(reason).c_str(), frames);
}

void CLGExceptionHookInstall(CLGExceptionInfo& info) {
    CLGExceptionRecord(info, nullptr, nullptr, {});
    g_hooked = &info;
    info.previousHandler = std::set_terminate(terminateHandler);
}

bool CLGShouldCallPreviousHandler(std::terminate_handler handler) {
    Dl_info symbol;
    if (!handler || dladdr(reinterpret_cast<void*>(handler), &symbol) == 0 || !symbol.dli_sname)
        return false;
    return strcmp(symbol.dli_sname, "TFHandleExceptions") != 0;
}

bool CLGRecordUncaughtException(CLGExceptionInfo& info) {
    void* addresses[kMaxFrames];
    const int count = backtrace(addresses, kMaxFrames);
    std::vector<CLGStackFrame> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(CLGStackFrame::stackFrameWithAddress(reinterpret_cast<uint64_t>(addresses[i])));
    const auto name = currentExceptionTypeName();
    const auto reason = currentExceptionReason();
    const std::string escapedReason = reason ? core::percentEscape(*reason) : std::string();
    CLGExceptionRecord(info, name ? name->c_str() : nullptr, reason ? escapedReason.c_str() : nullptr, frames);
    if (!CLGShouldCallPreviousHandler(info.previousHandler))
        return false;
    info.previousHandler();
    return true;
}

void CLGWriteStackFrame(CLGRecordWriter& writer, uint64_t address, const char* symbol, const char* file,
                        uint32_t line, uint32_t type, uint32_t context) {
    writer.beginObject();
    writer.numberMember("address", address);
    if (context != 0)
        writer.numberMember("context", context);
    if (type != 0)
        writer.numberMember("type", type);
    if (file) {
        writer.checkedStringMember("file", file, kTextLimit);
        writer.numberMember("line", line);
    }
    if (symbol)
        writer.checkedStringMember("symbol", symbol, kTextLimit);
    writer.endObject();
}

void CLGWriteException(CLGRecordWriter& writer, const CLGExceptionInfo& info) {
    writer.beginLine("exception");
    writer.beginObject();
    if (info.name || info.reason || info.frameCount > 0) {
        writer.checkedStringMember("name", info.name, kTextLimit);
        writer.checkedStringMember("reason", info.reason, kTextLimit);
        if (info.frameCount > 0) {
            writer.key("backtrace");
            writer.beginArray();
            for (uint32_t i = 0; i < info.frameCount; ++i) {
                const CLGExceptionFrame& frame = info.frames[i];
                CLGWriteStackFrame(writer, frame.address, frame.symbol, frame.file, frame.line, frame.type,
                                   frame.context);
            }
            writer.endArray();
        }
    }
    writer.endObject();
    writer.endLine();
}

} // namespace zm
