#include "analytics/TmCrypto.h"

#include "analytics/TmUtils.h"
#include "platform/core/FileLocations.h"
#include "platform/core/TemporaryFolder.h"

#include <memory>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <gtest/gtest.h>

namespace zm {
namespace {

// A key pair made for the test: its public half as PEM, and signatures made with its private half.
class KeyPair {
public:
    KeyPair()
        : m_key(EVP_RSA_gen(1024), EVP_PKEY_free) {}

    // SubjectPublicKeyInfo PEM, 64-character lines.
    std::string publicPEM() const {
        BIO* out = BIO_new(BIO_s_mem());
        PEM_write_bio_PUBKEY(out, m_key.get());
        char* data = nullptr;
        const long size = BIO_get_mem_data(out, &data);
        std::string pem(data, static_cast<size_t>(size));
        BIO_free(out);
        return pem;
    }

    std::string sign(const std::string& text) const {
        EVP_MD_CTX* context = EVP_MD_CTX_new();
        size_t size = 0;
        EVP_DigestSignInit(context, nullptr, EVP_sha1(), nullptr, m_key.get());
        EVP_DigestSign(context, nullptr, &size, reinterpret_cast<const unsigned char*>(text.data()), text.size());
        std::string signature(size, '\0');
        EVP_DigestSign(context, reinterpret_cast<unsigned char*>(signature.data()), &size,
                       reinterpret_cast<const unsigned char*>(text.data()), text.size());
        EVP_MD_CTX_free(context);
        return TmUtils::base64Encode(signature.substr(0, size));
    }

private:
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> m_key;
};

class TmCryptoTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::FileLocations::setShared(core::FileLocations::underRoot(root.path(), previous.resources));
    }
    void TearDown() override { core::FileLocations::setShared(previous); }

    const core::FileLocations previous = core::FileLocations::shared();
    core::TemporaryFolder root;
    KeyPair keys;
};

TEST_F(TmCryptoTest, APemKeyVerifiesItsSignaturesAndNoOthers) {
    const std::string pem = keys.publicPEM();
    const size_t body = pem.find('\n') + 1;
    ASSERT_EQ(pem.find('\n', body) - body, 64u) << "the body comes in 64-character lines";
    TmCrypto crypto;
    EXPECT_FALSE(crypto.verifyString("receipt", keys.sign("receipt"))) << "no key yet";
    crypto.setPublicKeyPEM(pem, "com.zembrix.receipts");
    EXPECT_TRUE(crypto.verifyString("receipt", keys.sign("receipt")));
    EXPECT_FALSE(crypto.verifyString("receipt", keys.sign("another")));
    EXPECT_FALSE(crypto.verifyString("receipt", "not base64!"));

    TmCrypto other;
    other.setPublicKeyPEM("no key here", "com.zembrix.other");
    EXPECT_FALSE(other.verifyString("receipt", keys.sign("receipt"))) << "a tag without a key";
}

TEST_F(TmCryptoTest, OnlyASubjectPublicKeyInfoForRsaIsTaken) {
    const std::string pem = keys.publicPEM();
    const auto key = TmCrypto::parsePEM(pem);
    ASSERT_TRUE(key);
    const std::string bare = "-----BEGIN RSA PUBLIC KEY-----\n" + TmUtils::base64Encode(core::asText(*key)) +
                             "\n-----END RSA PUBLIC KEY-----\n";
    const struct {
        std::string text;
        const char* why;
    } refused[] = {
        {bare, "a bare PKCS#1 key"},
        {pem.substr(0, pem.find("-----END ")), "no END marker"},
        {pem.substr(0, pem.find("-----\n") + 5), "no end of the BEGIN line"},
        {"", "nothing"},
        {"-----BEGIN PUBLIC KEY-----\n-----END PUBLIC KEY-----\n", "an empty body"},
    };
    for (const auto& test : refused)
        EXPECT_EQ(TmCrypto::parsePEM(test.text), std::nullopt) << test.why;
}

} // namespace
} // namespace zm
