#include "analytics/TmCrypto.h"

#include "analytics/TmUtils.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Files.h"

#include <memory>

#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

namespace zm {

namespace {

// DER of the AlgorithmIdentifier for rsaEncryption with NULL parameters.
constexpr uint8_t kRsaAlgorithm[] = {0x30, 0x0D, 0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01, 0x05, 0x00};

// The key store's file for a class "key", type "RSA" and the tag.
std::filesystem::path keyFile(const std::string& tag) {
    return core::FileLocations::shared().applicationSupport / "Keys" / ("key-RSA-" + core::hexString(tag) + ".der");
}

// Reads a DER tag and its length (short form, or long form with up to four bytes); false past the end.
bool readHeader(const core::Bytes& der, size_t& at, uint8_t tag) {
    if (at >= der.size() || der[at++] != tag || at >= der.size())
        return false;
    const uint8_t first = der[at++];
    if (first <= 0x80)
        return true;
    const size_t count = first & 0x7F;
    if (count > 4 || at + count > der.size())
        return false;
    at += count;
    return true;
}

} // namespace

std::optional<core::Bytes> TmCrypto::parsePEM(std::string_view pem) {
    const size_t begin = pem.find("-----BEGIN ");
    if (begin == std::string_view::npos)
        return std::nullopt;
    const size_t markerEnd = pem.find("-----\n", begin + 11);
    if (markerEnd == std::string_view::npos)
        return std::nullopt;
    const size_t bodyStart = markerEnd + 6;
    const size_t end = pem.find("-----END ", bodyStart);
    if (end == std::string_view::npos)
        return std::nullopt;
    const auto der = TmUtils::base64Decode(pem.substr(bodyStart, end - bodyStart));
    if (!der || der->empty())
        return std::nullopt;
    size_t at = 0;
    if (!readHeader(*der, at, 0x30))
        return std::nullopt;
    if (der->size() < at + sizeof kRsaAlgorithm || !std::equal(std::begin(kRsaAlgorithm), std::end(kRsaAlgorithm), der->begin() + at))
        return std::nullopt;
    at += sizeof kRsaAlgorithm;
    if (!readHeader(*der, at, 0x03) || at >= der->size() || (*der)[at] != 0)
        return std::nullopt;
    return core::Bytes(der->begin() + at + 1, der->end());
}

void TmCrypto::setPublicKeyPEM(const std::string& pem, const std::string& tag) {
    m_publicKeyPEM = pem;
    m_publicKeyTag = tag;
    const std::filesystem::path file = keyFile(tag);
    std::error_code error;
    std::filesystem::remove(file, error);
    const auto key = parsePEM(pem);
    if (!key || !core::createDirectories(file.parent_path()))
        return;
    (void)core::writeFileAtomically(file, core::asText(*key));
}

bool TmCrypto::verifyString(std::string_view text, std::string_view signature) const {
    const auto stored = core::readFile(keyFile(m_publicKeyTag));
    const auto signatureBytes = TmUtils::base64Decode(signature);
    if (!stored || !signatureBytes)
        return false;
    const auto* der = reinterpret_cast<const unsigned char*>(stored->data());
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        d2i_PublicKey(EVP_PKEY_RSA, nullptr, &der, static_cast<long>(stored->size())), EVP_PKEY_free);
    if (!key)
        return false;
    const std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(EVP_PKEY_CTX_new(key.get(), nullptr),
                                                                             EVP_PKEY_CTX_free);
    const core::Bytes digest = TmUtils::getSHA1(text);
    return context && EVP_PKEY_verify_init(context.get()) == 1 &&
           EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) == 1 &&
           EVP_PKEY_CTX_set_signature_md(context.get(), EVP_sha1()) == 1 &&
           EVP_PKEY_verify(context.get(), signatureBytes->data(), signatureBytes->size(), digest.data(), digest.size()) == 1;
}

} // namespace zm
