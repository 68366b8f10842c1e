#include "crashlog/record/CLGRecordReader.h"

#include "platform/core/Encoding.h"

#include <fcntl.h>
#include <unistd.h>

namespace zm {
namespace {

constexpr size_t kMaxStringBytes = 10239;
constexpr int kMaxObjects = 22;
// Records nest four levels deep; anything far deeper is not a record, and must not exhaust the stack.
constexpr int kMaxDepth = 32;

struct DepthScope {
    explicit DepthScope(int& depth)
        : depth(depth) {
        ++depth;
    }
    ~DepthScope() { --depth; }
    int& depth;
};

bool isWhitespace(unsigned char byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r';
}

} // namespace

CLGRecordReader::CLGRecordReader(int fd)
    : m_fd(fd) {
    advance();
}

void CLGRecordReader::advance() {
    unsigned char byte = 0;
    m_current = read(m_fd, &byte, 1) == 1 ? byte : 0;
}

void CLGRecordReader::skipWhitespace() {
    while (isWhitespace(m_current))
        advance();
}

std::optional<core::Dictionary> CLGRecordReader::nextObject() {
    return object();
}

std::optional<core::Dictionary> CLGRecordReader::object() {
    skipWhitespace();
    if (m_current != '{' || m_depth == kMaxDepth)
        return std::nullopt;
    advance();
    DepthScope nested(m_depth);
    core::Dictionary members;
    skipWhitespace();
    if (m_current == '}') {
        advance();
        return members;
    }
    for (;;) {
        skipWhitespace();
        auto name = string();
        if (!name)
            return members;
        skipWhitespace();
        if (m_current != ':')
            return members;
        advance();
        auto member = value();
        if (!member)
            return members;
        members.set(std::move(*name), std::move(*member));
        skipWhitespace();
        if (m_current == '}') {
            advance();
            return members;
        }
        if (m_current == 0)
            return members;
        if (m_current == ',')
            advance();
    }
}

std::optional<core::Value> CLGRecordReader::value() {
    skipWhitespace();
    switch (m_current) {
    case '"':
        if (auto text = string())
            return core::Value(std::move(*text));
        return std::nullopt;
    case '[':
        return array();
    case '{':
        if (auto members = object())
            return core::Value(std::move(*members));
        return std::nullopt;
    case 't':
        return literal("true") ? std::optional<core::Value>(true) : std::nullopt;
    case 'f':
        return literal("false") ? std::optional<core::Value>(false) : std::nullopt;
    case ']':
        // The end of an array: consumed, and no value.
        advance();
        return std::nullopt;
    default:
        if (m_current >= '0' && m_current <= '9')
            return core::Value(number());
        return std::nullopt;
    }
}

std::optional<std::string> CLGRecordReader::string() {
    if (m_current != '"')
        return std::nullopt;
    advance();
    std::string bytes;
    while (m_current != '"' && m_current != 0) {
        if (bytes.size() == kMaxStringBytes)
            return std::nullopt;
        bytes.push_back(static_cast<char>(m_current));
        advance();
    }
    if (m_current != '"')
        return std::nullopt;
    advance();
    if (!core::isValidUtf8(bytes))
        return std::string("(invalid UTF8)");
    return bytes;
}

std::optional<core::Value> CLGRecordReader::array() {
    if (m_depth == kMaxDepth)
        return std::nullopt;
    advance();
    DepthScope nested(m_depth);
    core::Array elements;
    for (;;) {
        auto element = value();
        if (!element)
            return core::Value(std::move(elements));
        elements.push_back(std::move(*element));
        skipWhitespace();
        if (m_current == ']') {
            advance();
            return core::Value(std::move(elements));
        }
        if (m_current == 0)
            return core::Value(std::move(elements));
        if (m_current == ',')
            advance();
    }
}

int64_t CLGRecordReader::number() {
    uint64_t value = 0;
    while (m_current >= '0' && m_current <= '9') {
        // Digits past the 64-bit range wrap; once the top bit is set the value only grows by digits.
        if (!(value >> 63))
            value *= 10;
        value += static_cast<uint64_t>(m_current - '0');
        advance();
    }
    return static_cast<int64_t>(value);
}

bool CLGRecordReader::literal(const char* word) {
    for (const char* letter = word; *letter; ++letter) {
        if (m_current != static_cast<unsigned char>(*letter))
            return false;
        advance();
    }
    return true;
}

core::Dictionary CLGRecordParse(const std::filesystem::path& path) {
    core::Dictionary record;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int64_t lines = 0;
    if (fd >= 0) {
        CLGRecordReader reader(fd);
        while (lines < kMaxObjects) {
            auto line = reader.nextObject();
            if (!line)
                break;
            for (auto& [key, member] : line->entries())
                record.set(key, member);
            ++lines;
        }
        close(fd);
    }
    record.set(std::string(kCLGRecordFileLinesKey), lines);
    return record;
}

bool CLGRecordIsValid(const core::Dictionary& record) {
    const core::Value* lines = record.find(kCLGRecordFileLinesKey);
    const core::Value* schema = record.find("schema");
    const core::Value* expected = schema ? schema->find("expected_lines") : nullptr;
    return lines && expected && expected->isNumber() && lines->integerValue() == expected->integerValue();
}

} // namespace zm
