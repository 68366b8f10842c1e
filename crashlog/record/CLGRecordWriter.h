#pragma once

#include <cstddef>
#include <cstdint>

namespace zm {

// Writes the crash record: one JSON object per line, with no whitespace, straight to a file
// descriptor. Every token is its own write call; nothing is allocated, buffered or formatted by a
// library, so the writer works inside a signal handler. A failing descriptor makes every write fail
// quietly.
//
// Strings are written between double quotes as they are, except that a double quote inside one is
// written as "%22": thread names, paths, queue labels and other texts that reach the record
// unescaped would otherwise end the string early and make the rest of the record unreadable. Text
// that was percent-escaped before it got here contains no double quote and is written unchanged. A
// null string is written as "(null)".
//
// Numbers are unsigned 64-bit decimals; a signed value passes through its 64-bit two's complement
// (-1 is written as 18446744073709551615 and reads back as -1). A Boolean is written as true only
// when it is exactly 1.
class CLGRecordWriter {
public:
    explicit CLGRecordWriter(int fd)
        : m_fd(fd) {}

    // "{" and the key of the line's kind; endLine closes it.
    void beginLine(const char* kind);
    void endLine();

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // A member's name, written like a string (custom keys are free text); at most `maxLength` bytes.
    void key(const char* name, size_t maxLength = static_cast<size_t>(-1));
    void stringMember(const char* name, const char* value);
    // At most `maxLength` bytes of `value` (bytes checked readable beforehand).
    void stringMember(const char* name, const char* value, size_t maxLength);
    // A string that might lie in unmapped memory: at most `limit` bytes, checked readable first;
    // "(string unreadable)" when they are not.
    void checkedStringMember(const char* name, const char* value, size_t limit);
    void numberMember(const char* name, uint64_t value);
    void booleanMember(const char* name, int value);
    void stringElement(const char* text);
    void stringElement(const char* text, size_t maxLength);
    void checkedStringElement(const char* text, size_t limit);

    int fd() const { return m_fd; }

private:
    void write(const char* bytes, size_t length);
    void write(const char* text);
    void separate();
    void string(const char* text, size_t maxLength);
    void number(uint64_t value);

    int m_fd;
    int32_t m_depth = 0;
    bool m_comma = false;
};

} // namespace zm
