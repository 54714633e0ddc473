#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace plumeo {

// An Ed25519 key pair that signs release bundles. The private half is kept as PKCS #8 PEM text,
// the public half as its 32 raw bytes.
class SigningKey
{
public:
    static std::optional<SigningKey> generate();
    // Nothing when pem is not an Ed25519 private key.
    static std::optional<SigningKey> fromPem(const QByteArray &pem);

    const QByteArray &privateKeyPem() const { return m_pem; }
    const QByteArray &publicKey() const { return m_publicKey; }
    // The 64-byte signature of message; nothing if the key cannot sign.
    std::optional<QByteArray> sign(const QByteArray &message) const;

    // Whether signature is publicKey's signature of message.
    static bool
    verify(const QByteArray &publicKey, const QByteArray &message, const QByteArray &signature);
    // The short name of a signer shown to people: the first 10 hexadecimal digits, upper case, of
    // the SHA-256 of its public key.
    static QString teamIdentifier(const QByteArray &publicKey);

private:
    SigningKey(QByteArray pem, QByteArray publicKey)
        : m_pem(std::move(pem))
        , m_publicKey(std::move(publicKey))
    {}

    QByteArray m_pem;
    QByteArray m_publicKey;
};

} // namespace plumeo
