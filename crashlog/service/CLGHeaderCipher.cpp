#include "crashlog/service/CLGHeaderCipher.h"

#include "crashlog/service/CLGServiceKeys.h"
#include "platform/core/Digest.h"

#include <algorithm>
#include <memory>

#include <openssl/evp.h>

namespace zm {

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// Runs the whole input through the cipher; nothing when any step fails.
std::optional<std::string> run(const CLGHeaderKey& key, const unsigned char* input, size_t length, bool encrypt) {
    const CipherContext context(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    if (!context || EVP_CipherInit_ex(context.get(), EVP_aes_256_ecb(), nullptr, key.data(), nullptr, encrypt ? 1 : 0) != 1)
        return std::nullopt;
    // One block more than the input: the padding of a whole last block.
    std::string output(length + 16, '\0');
    int written = 0;
    int finalWritten = 0;
    auto* out = reinterpret_cast<unsigned char*>(output.data());
    if (EVP_CipherUpdate(context.get(), out, &written, input, static_cast<int>(length)) != 1 ||
        EVP_CipherFinal_ex(context.get(), out + written, &finalWritten) != 1)
        return std::nullopt;
    output.resize(static_cast<size_t>(written + finalWritten));
    return output;
}

} // namespace

CLGHeaderKey CLGHeaderKeyWithSeed(std::string_view seed, std::string_view salt) {
    std::string changedSalt;
    for (const char c : salt) {
        if (kCLGKeySaltFind.find(c) == 0)
            changedSalt += kCLGKeySaltReplace;
        else
            changedSalt += c;
    }
    const std::string digest = core::sha1Hex(std::string(seed) + changedSalt);
    CLGHeaderKey key{};
    std::copy_n(digest.begin(), key.size(), key.begin());
    return key;
}

std::optional<core::Bytes> CLGHeaderEncrypt(const CLGHeaderKey& key, std::string_view plain) {
    const auto encrypted = run(key, reinterpret_cast<const unsigned char*>(plain.data()), plain.size(), true);
    if (!encrypted)
        return std::nullopt;
    return core::asBytes(*encrypted);
}

std::optional<std::string> CLGHeaderDecrypt(const CLGHeaderKey& key, const core::Bytes& encrypted) {
    return run(key, encrypted.data(), encrypted.size(), false);
}

} // namespace zm
