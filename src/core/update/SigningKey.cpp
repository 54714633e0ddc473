#include "update/SigningKey.h"

#include <memory>

#include <QCryptographicHash>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

namespace plumeo {

namespace {

struct KeyDeleter
{
    void operator()(EVP_PKEY *key) const { EVP_PKEY_free(key); }
};
struct ContextDeleter
{
    void operator()(EVP_MD_CTX *context) const { EVP_MD_CTX_free(context); }
};
struct BioDeleter
{
    void operator()(BIO *bio) const { BIO_free(bio); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyDeleter>;
using Context = std::unique_ptr<EVP_MD_CTX, ContextDeleter>;
using Bio = std::unique_ptr<BIO, BioDeleter>;

constexpr size_t publicKeySize = 32;
constexpr size_t signatureSize = 64;

Key privateKeyFrom(const QByteArray &pem)
{
    Bio bio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    if (!bio)
        return nullptr;
    Key key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
    if (!key || EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519)
        return nullptr;
    return key;
}

// The PEM text and the raw public key of key.
bool describe(EVP_PKEY *key, QByteArray *pem, QByteArray *publicKey)
{
    Bio bio(BIO_new(BIO_s_mem()));
    if (!bio
        || PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1)
        return false;
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    *pem = QByteArray(data, size);
    size_t length = publicKeySize;
    publicKey->resize(publicKeySize);
    if (EVP_PKEY_get_raw_public_key(key, reinterpret_cast<unsigned char *>(publicKey->data()),
                                    &length)
            != 1
        || length != publicKeySize)
        return false;
    return true;
}

} // namespace

std::optional<SigningKey> SigningKey::generate()
{
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(
        EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr), &EVP_PKEY_CTX_free);
    EVP_PKEY *raw = nullptr;
    if (!context || EVP_PKEY_keygen_init(context.get()) != 1
        || EVP_PKEY_keygen(context.get(), &raw) != 1)
        return std::nullopt;
    Key key(raw);
    QByteArray pem, publicKey;
    if (!describe(key.get(), &pem, &publicKey))
        return std::nullopt;
    return SigningKey(pem, publicKey);
}

std::optional<SigningKey> SigningKey::fromPem(const QByteArray &pem)
{
    const Key key = privateKeyFrom(pem);
    if (!key)
        return std::nullopt;
    QByteArray normalised, publicKey;
    if (!describe(key.get(), &normalised, &publicKey))
        return std::nullopt;
    return SigningKey(normalised, publicKey);
}

std::optional<QByteArray> SigningKey::sign(const QByteArray &message) const
{
    const Key key = privateKeyFrom(m_pem);
    Context context(EVP_MD_CTX_new());
    if (!key || !context
        || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return std::nullopt;
    QByteArray signature(signatureSize, '\0');
    size_t length = signatureSize;
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &length,
                       reinterpret_cast<const unsigned char *>(message.constData()),
                       size_t(message.size()))
            != 1
        || length != signatureSize)
        return std::nullopt;
    return signature;
}

bool SigningKey::verify(const QByteArray &publicKey,
                        const QByteArray &message,
                        const QByteArray &signature)
{
    if (publicKey.size() != qsizetype(publicKeySize)
        || signature.size() != qsizetype(signatureSize))
        return false;
    const Key key(EVP_PKEY_new_raw_public_key(
        EVP_PKEY_ED25519, nullptr, reinterpret_cast<const unsigned char *>(publicKey.constData()),
        publicKeySize));
    Context context(EVP_MD_CTX_new());
    if (!key || !context
        || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(
               context.get(), reinterpret_cast<const unsigned char *>(signature.constData()),
               signatureSize, reinterpret_cast<const unsigned char *>(message.constData()),
               size_t(message.size()))
           == 1;
}

QString SigningKey::teamIdentifier(const QByteArray &publicKey)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(publicKey, QCryptographicHash::Sha256).toHex().left(10))
        .toUpper();
}

} // namespace plumeo
