#include "crashlog/record/CLGRecordWriter.h"

#include "crashlog/capture/CLGMemory.h"

#include <cstring>
#include <unistd.h>

namespace zm {
namespace {

constexpr size_t kUnlimited = static_cast<size_t>(-1);

} // namespace

void CLGRecordWriter::write(const char* bytes, size_t length) {
    if (length == 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(m_fd, bytes, length);
}

void CLGRecordWriter::write(const char* text) {
    write(text, strlen(text));
}

void CLGRecordWriter::separate() {
    if (m_comma)
        write(",", 1);
}

void CLGRecordWriter::beginLine(const char* kind) {
    beginObject();
    key(kind);
}

void CLGRecordWriter::endLine() {
    endObject();
    write("\n", 1);
}

void CLGRecordWriter::beginObject() {
    separate();
    write("{", 1);
    ++m_depth;
    m_comma = false;
}

void CLGRecordWriter::beginArray() {
    separate();
    write("[", 1);
    ++m_depth;
    m_comma = false;
}

void CLGRecordWriter::endObject() {
    write("}", 1);
    --m_depth;
    m_comma = m_depth != 0;
}

void CLGRecordWriter::endArray() {
    write("]", 1);
    --m_depth;
    m_comma = m_depth != 0;
}

void CLGRecordWriter::key(const char* name, size_t maxLength) {
    separate();
    string(name, maxLength);
    write(":", 1);
    m_comma = false;
}

void CLGRecordWriter::string(const char* text, size_t maxLength) {
    if (!text) {
        write("\"(null)\"");
        return;
    }
    write("\"", 1);
    // Runs between double quotes go out whole; each quote becomes its percent escape.
    const char* run = text;
    size_t index = 0;
    for (; index < maxLength && text[index] != '\0'; ++index) {
        if (text[index] != '"')
            continue;
        write(run, static_cast<size_t>(text + index - run));
        write("%22", 3);
        run = text + index + 1;
    }
    write(run, static_cast<size_t>(text + index - run));
    write("\"", 1);
}

void CLGRecordWriter::number(uint64_t value) {
    char digits[20];
    size_t start = sizeof digits;
    do {
        digits[--start] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    write(digits + start, sizeof digits - start);
}

void CLGRecordWriter::stringMember(const char* name, const char* value) {
    stringMember(name, value, kUnlimited);
}

void CLGRecordWriter::stringMember(const char* name, const char* value, size_t maxLength) {
    key(name);
    string(value, maxLength);
    m_comma = true;
}

void CLGRecordWriter::checkedStringMember(const char* name, const char* value, size_t limit) {
    size_t length = 0;
    if (!value)
        stringMember(name, nullptr);
    else if (CLGReadString(value, limit, &length))
        stringMember(name, value, length);
    else
        stringMember(name, "(string unreadable)");
}

void CLGRecordWriter::numberMember(const char* name, uint64_t value) {
    key(name);
    number(value);
    m_comma = true;
}

void CLGRecordWriter::booleanMember(const char* name, int value) {
    key(name);
    write(value == 1 ? "true" : "false");
    m_comma = true;
}

void CLGRecordWriter::stringElement(const char* text) {
    stringElement(text, kUnlimited);
}

void CLGRecordWriter::stringElement(const char* text, size_t maxLength) {
    separate();
    string(text, maxLength);
    m_comma = true;
}

void CLGRecordWriter::checkedStringElement(const char* text, size_t limit) {
    size_t length = 0;
    if (!text)
        stringElement(nullptr);
    else if (CLGReadString(text, limit, &length))
        stringElement(text, length);
    else
        stringElement("(string unreadable)");
}

} // namespace zm
