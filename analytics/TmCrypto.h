#pragma once

#include "platform/core/Encoding.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zm {

// An RSA public key taken from PEM text and kept under an application tag, and SHA-1 signatures of
// strings verified with it (PKCS#1 v1.5). Keys are kept in a key store of files under the data root,
// one per class, type and tag, standing in for the platform's keychain.
class TmCrypto {
public:
    // Keeps the text and tag, and replaces the stored key of the tag by the text's key (none when the
    // text holds no usable key).
    void setPublicKeyPEM(const std::string& pem, const std::string& tag);
    // Whether `signature` (base64) is the stored key's signature of the string's SHA-1 digest.
    bool verifyString(std::string_view text, std::string_view signature) const;

    // The PKCS#1 RSAPublicKey inside a SubjectPublicKeyInfo PEM for rsaEncryption; nothing for any
    // other text.
    static std::optional<core::Bytes> parsePEM(std::string_view pem);

    const std::string& publicKeyPEM() const { return m_publicKeyPEM; }
    const std::string& publicKeyTag() const { return m_publicKeyTag; }

private:
    std::string m_publicKeyPEM;
    std::string m_publicKeyTag;
};

} // namespace zm
