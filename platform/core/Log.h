#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

enum class LogLevel { Debug, Info, Warning, Error };

// Writes one line to standard error when the level is at least the minimum (Info at start).
// Safe from any thread.
void log(LogLevel level, std::string_view message);
void logf(LogLevel level, const char* pattern, ...) __attribute__((format(printf, 2, 3)));

void setMinimumLogLevel(LogLevel level);

struct LogEntry {
    LogLevel level;
    std::string message;

    friend bool operator==(const LogEntry&, const LogEntry&) = default;
};

// While one is alive, every message of every level goes to it instead of standard error; the most
// recently made capture wins. Made for tests that check a log text word for word.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<LogEntry> entries() const;
    std::vector<std::string> messages() const;
    bool contains(std::string_view message) const;

private:
    friend void log(LogLevel, std::string_view);
    void append(LogLevel level, std::string_view message);

    std::vector<LogEntry> m_entries; // guarded by the log's lock
};

} // namespace core
