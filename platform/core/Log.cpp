#include "platform/core/Log.h"

#include "platform/core/Format.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace core {

namespace {

struct LogState {
    std::mutex lock;
    LogLevel minimum = LogLevel::Info;
    std::vector<LogCapture*> captures;
};

LogState& state() {
    static LogState instance;
    return instance;
}

const char* prefix(LogLevel level) {
    switch (level) {
    case LogLevel::Debug:
        return "debug: ";
    case LogLevel::Warning:
        return "warning: ";
    case LogLevel::Error:
        return "error: ";
    case LogLevel::Info:
        break;
    }
    return "";
}

} // namespace

void log(LogLevel level, std::string_view message) {
    LogState& s = state();
    const std::lock_guard guard(s.lock);
    if (!s.captures.empty()) {
        s.captures.back()->append(level, message);
        return;
    }
    if (level < s.minimum)
        return;
    std::fprintf(stderr, "%s%.*s\n", prefix(level), static_cast<int>(message.size()), message.data());
}

void logf(LogLevel level, const char* pattern, ...) {
    va_list arguments;
    va_start(arguments, pattern);
    const std::string message = formatList(pattern, arguments);
    va_end(arguments);
    log(level, message);
}

void setMinimumLogLevel(LogLevel level) {
    LogState& s = state();
    const std::lock_guard guard(s.lock);
    s.minimum = level;
}

LogCapture::LogCapture() {
    LogState& s = state();
    const std::lock_guard guard(s.lock);
    s.captures.push_back(this);
}

LogCapture::~LogCapture() {
    LogState& s = state();
    const std::lock_guard guard(s.lock);
    s.captures.erase(std::remove(s.captures.begin(), s.captures.end(), this), s.captures.end());
}

void LogCapture::append(LogLevel level, std::string_view message) {
    m_entries.push_back({level, std::string(message)});
}

std::vector<LogEntry> LogCapture::entries() const {
    const std::lock_guard guard(state().lock);
    return m_entries;
}

std::vector<std::string> LogCapture::messages() const {
    const std::lock_guard guard(state().lock);
    std::vector<std::string> texts;
    for (const LogEntry& entry : m_entries)
        texts.push_back(entry.message);
    return texts;
}

bool LogCapture::contains(std::string_view message) const {
    const std::lock_guard guard(state().lock);
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const LogEntry& entry) { return entry.message == message; });
}

} // namespace core
