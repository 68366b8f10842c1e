#include "platform/core/Digest.h"

#include <cassert>
#include <random>

#include <openssl/evp.h>
#include <sys/random.h>

namespace core {

namespace {

Bytes digest(const EVP_MD* method, std::string_view bytes) {
    Bytes result(static_cast<size_t>(EVP_MD_get_size(method)));
    unsigned int length = 0;
    const int ok = EVP_Digest(bytes.data(), bytes.size(), result.data(), &length, method, nullptr);
    assert(ok == 1 && length == result.size() && "the digest is part of every OpenSSL build");
    (void)ok;
    result.resize(length);
    return result;
}

} // namespace

Bytes sha1(std::string_view bytes) {
    return digest(EVP_sha1(), bytes);
}

Bytes md5(std::string_view bytes) {
    return digest(EVP_md5(), bytes);
}

std::string sha1Hex(std::string_view bytes) {
    return hexString(sha1(bytes));
}

std::string md5Hex(std::string_view bytes) {
    return hexString(md5(bytes));
}

std::string uuidString() {
    // From the kernel rather than OpenSSL's generator, which keeps state for every thread that draws
    // and frees a worker's only if the worker ends before OpenSSL's own clean-up at exit.
    uint8_t bytes[16];
    if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        std::random_device device;
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(device());
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80); // variant 1
    return uuidString(bytes);
}

std::string uuidString(const uint8_t (&bytes)[16]) {
    const std::string hex = hexString(std::string_view(reinterpret_cast<const char*>(bytes), 16), true);
    return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" + hex.substr(16, 4) +
           "-" + hex.substr(20);
}

} // namespace core
