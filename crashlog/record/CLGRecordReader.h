#pragma once

#include "platform/core/Value.h"

#include <filesystem>
#include <optional>

namespace zm {

// Reads back what CLGRecordWriter wrote: JSON objects without escapes, one byte per read call.
// Strings are at most 10239 bytes and are decoded as UTF-8 ("(invalid UTF8)" when they are not);
// numbers are unsigned decimals accumulated modulo 2^64 and kept as signed 64-bit values. The reader
// is forgiving where a cut or hand-made record would be: members without commas, and an object that
// ends at the end of the file without its "}". Whatever fails ends the object and keeps what was
// read so far.
class CLGRecordReader {
public:
    // Reads from `fd`, which stays owned by the caller.
    explicit CLGRecordReader(int fd);

    // The next object of the file; nothing at the end of the file or where no object starts.
    std::optional<core::Dictionary> nextObject();

private:
    void advance();
    void skipWhitespace();
    std::optional<core::Value> value();
    std::optional<core::Dictionary> object();
    std::optional<std::string> string();
    std::optional<core::Value> array();
    int64_t number();
    bool literal(const char* word);

    int m_fd;
    // One byte of look-ahead; 0 at the end of the file.
    unsigned char m_current = 0;
    // Containers open around the byte being read.
    int m_depth = 0;
};

// The key a parsed record carries beside its lines: how many objects were merged.
inline constexpr std::string_view kCLGRecordFileLinesKey = "file_lines";

// Every object of the record at `path` merged into one dictionary (a later line's keys replace an
// earlier line's), stopping at the first that does not read or after the 22nd, plus "file_lines"
// with the number merged. A file that cannot be opened gives "file_lines" 0 alone.
core::Dictionary CLGRecordParse(const std::filesystem::path& path);

// Whether the parsed record holds as many lines as its "schema" line expects.
bool CLGRecordIsValid(const core::Dictionary& record);

} // namespace zm
