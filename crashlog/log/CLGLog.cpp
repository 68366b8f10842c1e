#include "crashlog/log/CLGLog.h"

#include "platform/core/Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace zm {
namespace {

std::atomic<bool> g_debugMode = false;

void write(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    const int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0)
        return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(text.data(), text.size(), format, arguments);
    text.pop_back();
    core::log(core::LogLevel::Info, text);
}

} // namespace

bool CLGDebugMode() {
    return g_debugMode.load();
}

void CLGSetDebugMode(bool on) {
    g_debugMode.store(on);
}

void CLGDebugLog(const char* format, ...) {
    if (!CLGDebugMode())
        return;
    va_list arguments;
    va_start(arguments, format);
    write(format, arguments);
    va_end(arguments);
}

void CLGLog(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    write(format, arguments);
    va_end(arguments);
}

} // namespace zm
