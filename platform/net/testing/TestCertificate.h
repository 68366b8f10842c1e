#pragma once

#include <filesystem>
#include <memory>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace net::testing {

// Writes a key and a certificate for 127.0.0.1 that signs itself: a TLS server no authority vouches
// for, until a client is told to trust the certificate file itself. False when it cannot be made.
inline bool writeSelfSignedCertificate(const std::filesystem::path& certificatePath, const std::filesystem::path& keyPath) {
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    const std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), X509_free);
    if (!key || !certificate)
        return false;
    X509* made = certificate.get();
    X509_set_version(made, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(made), 1);
    X509_gmtime_adj(X509_getm_notBefore(made), -60);
    X509_gmtime_adj(X509_getm_notAfter(made), 3600);
    X509_set_pubkey(made, key.get());
    X509_NAME* name = X509_get_subject_name(made);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(made, name);
    // Clients match an address against the certificate's alternative names; it is its own authority.
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, made, made, nullptr, nullptr, 0);
    for (const auto& [id, value] : {std::pair{NID_subject_alt_name, "IP:127.0.0.1"}, std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
        X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, id, value);
        if (!extension)
            return false;
        X509_add_ext(made, extension, -1);
        X509_EXTENSION_free(extension);
    }
    if (X509_sign(made, key.get(), EVP_sha256()) <= 0)
        return false;
    FILE* file = fopen(certificatePath.c_str(), "w");
    if (!file)
        return false;
    bool written = PEM_write_X509(file, made) == 1;
    fclose(file);
    file = fopen(keyPath.c_str(), "w");
    if (!file)
        return false;
    written = PEM_write_PrivateKey(file, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1 && written;
    fclose(file);
    return written;
}

} // namespace net::testing
