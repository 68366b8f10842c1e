#pragma once

#include "platform/core/Encoding.h"

#include <array>
#include <optional>
#include <string_view>

namespace zm {

// The key of the encrypted request headers: the first 32 characters of the lower-case SHA-1 text of
// the seed (the API key) followed by the salt (the bundle identifier) with kCLGKeySaltFind replaced
// by kCLGKeySaltReplace. Made anew for every use and never kept.
using CLGHeaderKey = std::array<uint8_t, 32>;
CLGHeaderKey CLGHeaderKeyWithSeed(std::string_view seed, std::string_view salt);

// AES-256 in ECB mode with PKCS#7 padding under `key`. Encryption answers nothing only when the cipher
// cannot run; decryption also when the bytes are not a whole padded message under that key.
std::optional<core::Bytes> CLGHeaderEncrypt(const CLGHeaderKey& key, std::string_view plain);
std::optional<std::string> CLGHeaderDecrypt(const CLGHeaderKey& key, const core::Bytes& encrypted);

} // namespace zm
