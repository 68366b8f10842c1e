#pragma once

#include "platform/core/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

// Reading the members of a parsed crash record: line kind, then member name.

inline const core::Value* CLGRecordMember(const core::Dictionary& record, std::string_view line,
                                          std::string_view member) {
    const core::Value* found = record.find(line);
    return found ? found->find(member) : nullptr;
}

inline std::optional<std::string> CLGRecordText(const core::Dictionary& record, std::string_view line,
                                                std::string_view member) {
    const core::Value* value = CLGRecordMember(record, line, member);
    if (!value || !value->asString())
        return std::nullopt;
    return *value->asString();
}

// A number as the record wrote it: unsigned 64-bit (a missing one is 0).
inline uint64_t CLGRecordNumber(const core::Dictionary& record, std::string_view line, std::string_view member) {
    const core::Value* value = CLGRecordMember(record, line, member);
    return value && value->isNumber() ? static_cast<uint64_t>(value->integerValue()) : 0;
}

inline bool CLGRecordHas(const core::Dictionary& record, std::string_view line, std::string_view member) {
    return CLGRecordMember(record, line, member) != nullptr;
}

inline bool CLGRecordBool(const core::Dictionary& record, std::string_view line, std::string_view member) {
    const core::Value* value = CLGRecordMember(record, line, member);
    return value && value->boolValue();
}

} // namespace zm
