#pragma once

#include "platform/core/Encoding.h"

#include <string>
#include <string_view>

namespace core {

// Digests of bytes (a text's UTF-8 bytes when given a text).
Bytes sha1(std::string_view bytes);
Bytes md5(std::string_view bytes);
// As 40 and 32 lower-case hexadecimal digits.
std::string sha1Hex(std::string_view bytes);
std::string md5Hex(std::string_view bytes);

// A new random (version 4) UUID as 36 upper-case characters, "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
std::string uuidString();
// The text of 16 given bytes in the same layout.
std::string uuidString(const uint8_t (&bytes)[16]);

} // namespace core
