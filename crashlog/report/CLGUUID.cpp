#include "crashlog/report/CLGUUID.h"

#include "platform/core/Format.h"

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cmath>
#include <mutex>
#include <unistd.h>

namespace zm {
namespace {

std::mutex g_sequenceLock;
uint16_t g_sequence = 0; // guarded by g_sequenceLock

void putBigEndian(CLGUUID::Bytes& bytes, size_t at, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * (width - 1 - i)));
}

uint64_t readBigEndian(const CLGUUID::Bytes& bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

} // namespace

std::optional<CLGUUID> CLGUUID::generateWithSegmentData(std::span<const uint8_t> segment) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return generateWithSegmentData(segment, std::chrono::duration<double>(now).count());
}

std::optional<CLGUUID> CLGUUID::generateWithSegmentData(std::span<const uint8_t> segment, double now) {
    if (segment.size() < 6)
        return std::nullopt;
    Bytes bytes{};
    {
        std::lock_guard lock(g_sequenceLock);
        if (!(now > 0))
            return std::nullopt;
        const double seconds = std::floor(now);
        putBigEndian(bytes, 0, static_cast<uint32_t>(seconds), 4);
        putBigEndian(bytes, 4, static_cast<uint16_t>((now - seconds) * 1000), 2);
        putBigEndian(bytes, 6, ++g_sequence, 2);
    }
    putBigEndian(bytes, 8, static_cast<uint16_t>(getpid()), 2);
    std::copy_n(segment.begin(), 6, bytes.begin() + 10);
    return CLGUUID(bytes);
}

std::string CLGUUID::stringValue() const {
    return core::format("%08llX%04llX-%04llX-%04llX-%08llX%04llX",
                        static_cast<unsigned long long>(readBigEndian(m_data, 0, 4)),
                        static_cast<unsigned long long>(readBigEndian(m_data, 4, 2)),
                        static_cast<unsigned long long>(readBigEndian(m_data, 6, 2)),
                        static_cast<unsigned long long>(readBigEndian(m_data, 8, 2)),
                        static_cast<unsigned long long>(readBigEndian(m_data, 10, 4)),
                        static_cast<unsigned long long>(readBigEndian(m_data, 14, 2)));
}

std::string CLGSessionBaseName(std::string_view identifier) {
    std::string name;
    for (const char letter : identifier) {
        if (letter != '-')
            name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
    }
    return name;
}

} // namespace zm
