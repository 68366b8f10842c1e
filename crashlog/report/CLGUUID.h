#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zm {

// The 16-byte identifier of one session, which names every crash file the session leaves. Its bytes,
// big-endian: whole seconds since 1970 (0-3), milliseconds of that second (4-5), a process-wide
// sequence number starting at 1 (6-7), the low 16 bits of the process id (8-9), and the first six
// bytes of the segment data it was made with (10-15). Identifiers made at the same millisecond differ
// in their sequence number.
class CLGUUID {
public:
    using Bytes = std::array<uint8_t, 16>;

    // A new identifier made now; nothing when the segment data is shorter than six bytes or the
    // present moment lies before 1970.
    static std::optional<CLGUUID> generateWithSegmentData(std::span<const uint8_t> segment);
    // The same at a given moment (seconds since 1970).
    static std::optional<CLGUUID> generateWithSegmentData(std::span<const uint8_t> segment, double now);

    const Bytes& data() const { return m_data; }

    // "%08X%04X-%04X-%04X-%08X%04X" of the six groups: upper-case hexadecimal, 35 characters.
    std::string stringValue() const;
    std::string description() const { return stringValue(); }

private:
    explicit CLGUUID(const Bytes& data)
        : m_data(data) {}

    Bytes m_data;
};

// The name every file of a session starts with: its identifier without dashes, in lower case.
std::string CLGSessionBaseName(std::string_view identifier);

} // namespace zm
