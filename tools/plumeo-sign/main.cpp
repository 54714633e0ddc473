// plumeo-sign: makes the key pair that signs Plumeo's release bundles, signs a bundle, verifies
// one, and prints a signer's team identifier and public key.
//
// The private key never leaves its file (created 0600, never overwritten). An installed Plumeo
// accepts an update only if it is signed by the same key as itself, so losing the key means that
// installed copies can no longer update by themselves.
#include "text/Localization.h"
#include "update/BundleSignature.h"
#include "update/SigningKey.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>

using namespace plumeo;

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usage()
{
    err() << L(
        QStringLiteral(
            "Usage :\n"
            "  plumeo-sign keygen FICHIER-CLÉ        crée une paire de clés (fichier 0600)\n"
            "  plumeo-sign sign FICHIER-CLÉ PAQUET   signe PAQUET (Plumeo.app)\n"
            "  plumeo-sign verify PAQUET [CLÉ]       vérifie PAQUET, et son signataire si la "
            "clé publique (base64) est donnée\n"
            "  plumeo-sign identity FICHIER-CLÉ|PAQUET  affiche l’identifiant d’équipe et la "
            "clé publique\n"),
        QStringLiteral(
            "Usage:\n"
            "  plumeo-sign keygen KEYFILE            makes a key pair (file mode 0600)\n"
            "  plumeo-sign sign KEYFILE BUNDLE       signs BUNDLE (Plumeo.app)\n"
            "  plumeo-sign verify BUNDLE [KEY]       verifies BUNDLE, and its signer when the "
            "base64 public key is given\n"
            "  plumeo-sign identity KEYFILE|BUNDLE   prints the team identifier and public "
            "key\n"));
    err().flush();
    return 2;
}

int fail(const QString &message)
{
    err() << "plumeo-sign: " << message << '\n';
    err().flush();
    return 1;
}

void printIdentity(const QByteArray &publicKey)
{
    out() << L(QStringLiteral("identifiant d’équipe : "), QStringLiteral("team identifier: "))
          << SigningKey::teamIdentifier(publicKey) << '\n'
          << L(QStringLiteral("clé publique : "), QStringLiteral("public key: "))
          << publicKey.toBase64() << '\n';
    out().flush();
}

std::optional<SigningKey> readKey(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return SigningKey::fromPem(file.readAll());
}

int keygen(const QString &path)
{
    const std::optional<SigningKey> key = SigningKey::generate();
    if (!key)
        return fail(
            L(QStringLiteral("impossible de créer une clé"), QStringLiteral("cannot make a key")));
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(L(QStringLiteral("impossible de créer "), QStringLiteral("cannot create "))
                    + path + QStringLiteral(" (") + QString::fromLocal8Bit(strerror(errno)) + u')');
    const QByteArray &pem = key->privateKeyPem();
    const bool written =
        ::write(fd, pem.constData(), size_t(pem.size())) == ssize_t(pem.size()) && ::fsync(fd) == 0;
    ::close(fd);
    if (!written) {
        QFile::remove(path);
        return fail(L(QStringLiteral("impossible d’écrire "), QStringLiteral("cannot write "))
                    + path);
    }
    printIdentity(key->publicKey());
    return 0;
}

int sign(const QString &keyPath, const QString &bundle)
{
    const std::optional<SigningKey> key = readKey(keyPath);
    if (!key)
        return fail(L(QStringLiteral("clé privée Ed25519 illisible : "),
                      QStringLiteral("unreadable Ed25519 private key: "))
                    + keyPath);
    if (const auto done = BundleSignature::sign(bundle, *key); !done)
        return fail(done.error().errorDescription());
    if (const auto checked = BundleSignature::verify(bundle, key->publicKey()); !checked)
        return fail(checked.error().errorDescription());
    printIdentity(key->publicKey());
    return 0;
}

int verify(const QString &bundle, const std::optional<QString> &publicKey)
{
    std::optional<QByteArray> required;
    if (publicKey) {
        const auto decoded = QByteArray::fromBase64Encoding(
            publicKey->toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || decoded.decoded.size() != 32)
            return fail(
                L(QStringLiteral("clé publique invalide"), QStringLiteral("invalid public key")));
        required = decoded.decoded;
    }
    const auto verified = BundleSignature::verify(bundle, required);
    if (!verified)
        return fail(verified.error().errorDescription());
    printIdentity(verified.value());
    return 0;
}

int identity(const QString &path)
{
    if (QFileInfo(path).isDir()) {
        const std::optional<QByteArray> signer = BundleSignature::signerOf(path);
        if (!signer)
            return fail(
                L(QStringLiteral("paquet non signé : "), QStringLiteral("unsigned bundle: "))
                + path);
        printIdentity(*signer);
        return 0;
    }
    const std::optional<SigningKey> key = readKey(path);
    if (!key)
        return fail(L(QStringLiteral("clé privée Ed25519 illisible : "),
                      QStringLiteral("unreadable Ed25519 private key: "))
                    + path);
    printIdentity(key->publicKey());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    if (command == QStringLiteral("keygen") && args.size() == 2)
        return keygen(args[1]);
    if (command == QStringLiteral("sign") && args.size() == 3)
        return sign(args[1], args[2]);
    if (command == QStringLiteral("verify") && (args.size() == 2 || args.size() == 3))
        return verify(args[1], args.size() == 3 ? std::optional<QString>(args[2]) : std::nullopt);
    if (command == QStringLiteral("identity") && args.size() == 2)
        return identity(args[1]);
    return usage();
}
