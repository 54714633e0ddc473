#include "update/BundleSignature.h"

#include "io/SystemError.h"
#include "text/Localization.h"
#include "update/Sha256.h"
#include "update/SigningKey.h"

#include <map>

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>

namespace plumeo::BundleSignature {

namespace {

const QByteArray header = QByteArrayLiteral("plumeo-bundle-manifest 1\n");

QString signatureFile(const QString &bundle, const char *name)
{
    return bundle + u'/' + folderName() + u'/' + QLatin1String(name);
}

UpdaterError invalid(const QString &fr, const QString &en, const QString &path = {})
{
    return UpdaterError::codeSignature(L(fr, en) + path);
}

bool hasControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

// Adds the lines of folder's contents (relative to bundle) to lines, keyed by path.
Result<void, UpdaterError>
collect(const QString &bundle, const QString &relative, std::map<QByteArray, QByteArray> *lines)
{
    const QString folder = relative.isEmpty() ? bundle : bundle + u'/' + relative;
    const QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names) {
        const QString path = relative.isEmpty() ? name : relative + u'/' + name;
        if (relative.isEmpty() && name == folderName())
            continue;
        if (hasControlCharacter(path))
            return invalid(QStringLiteral("nom de fichier refusé : "),
                           QStringLiteral("refused file name: "), path);
        struct stat info;
        if (::lstat(QFile::encodeName(bundle + u'/' + path).constData(), &info) != 0)
            return UpdaterError::codeSignature(SystemError::describe(errno) + u' ' + path);
        const mode_t mode = info.st_mode & 07777;
        if ((!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) || (mode & 07022) != 0)
            return invalid(
                QStringLiteral("élément refusé (lien, fichier spécial ou droits trop larges) : "),
                QStringLiteral("refused entry (link, special file or unsafe mode): "), path);
        const QByteArray octal = QByteArray::number(uint(mode), 8).rightJustified(4, '0');
        const QByteArray utf8 = path.toUtf8();
        if (S_ISDIR(info.st_mode)) {
            lines->emplace(utf8, "d " + octal + " - " + utf8 + '\n');
            const auto inner = collect(bundle, path, lines);
            if (!inner)
                return inner;
        } else {
            const auto digest = Sha256::hexOfFile(bundle + u'/' + path);
            if (!digest)
                return UpdaterError::codeSignature(digest.error().errorDescription());
            lines->emplace(utf8,
                           "f " + octal + ' ' + digest.value().toLatin1() + ' ' + utf8 + '\n');
        }
    }
    return {};
}

Result<std::map<QByteArray, QByteArray>, UpdaterError> linesOf(const QString &bundle)
{
    struct stat info;
    if (::lstat(QFile::encodeName(bundle).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return invalid(QStringLiteral("le paquet n’est pas un dossier : "),
                       QStringLiteral("the bundle is not a folder: "), bundle);
    std::map<QByteArray, QByteArray> lines;
    const auto collected = collect(bundle, QString(), &lines);
    if (!collected)
        return collected.error();
    return lines;
}

QByteArray join(const std::map<QByteArray, QByteArray> &lines)
{
    QByteArray text = header;
    for (const auto &[path, line] : lines)
        text += line;
    return text;
}

// The first difference between what was signed and what is there, as an error.
UpdaterError differenceOf(const QByteArray &signedManifest,
                          const std::map<QByteArray, QByteArray> &actual)
{
    std::map<QByteArray, QByteArray> expected;
    for (const QByteArray &line : signedManifest.mid(header.size()).split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() >= 4)
            expected.emplace(line.mid(fields[0].size() + fields[1].size() + fields[2].size() + 3),
                             line + '\n');
    }
    for (const auto &[path, line] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end())
            return invalid(QStringLiteral("fichier manquant : "), QStringLiteral("missing file: "),
                           QString::fromUtf8(path));
        if (found->second != line)
            return invalid(QStringLiteral("fichier modifié : "), QStringLiteral("changed file: "),
                           QString::fromUtf8(path));
    }
    for (const auto &[path, line] : actual) {
        if (!expected.count(path))
            return invalid(QStringLiteral("fichier ajouté : "), QStringLiteral("added file: "),
                           QString::fromUtf8(path));
    }
    return invalid(QStringLiteral("manifeste illisible"), QStringLiteral("unreadable manifest"));
}

std::optional<QByteArray> readBase64(const QString &path, qsizetype size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(file.read(1024).trimmed(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != size)
        return std::nullopt;
    return decoded.decoded;
}

bool normaliseModes(const QString &folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot
                                                             | QDir::Hidden | QDir::System);
    for (const QFileInfo &info : entries) {
        if (info.isSymLink())
            continue; // refused later by the manifest, with its name
        const QByteArray path = QFile::encodeName(info.filePath());
        struct stat st;
        if (::lstat(path.constData(), &st) != 0)
            return false;
        const bool executable = S_ISDIR(st.st_mode) || (st.st_mode & 0111);
        if ((S_ISDIR(st.st_mode) || S_ISREG(st.st_mode))
            && ::chmod(path.constData(), executable ? 0755 : 0644) != 0)
            return false;
        if (S_ISDIR(st.st_mode) && !normaliseModes(info.filePath()))
            return false;
    }
    return true;
}

} // namespace

QString folderName()
{
    return QStringLiteral("signature");
}

Result<QByteArray, UpdaterError> manifestOf(const QString &bundle)
{
    const auto lines = linesOf(bundle);
    if (!lines)
        return lines.error();
    return join(lines.value());
}

Result<void, UpdaterError> sign(const QString &bundle, const SigningKey &key)
{
    QDir(bundle + u'/' + folderName()).removeRecursively();
    if (!normaliseModes(bundle) || ::chmod(QFile::encodeName(bundle).constData(), 0755) != 0)
        return UpdaterError::codeSignature(SystemError::describe(errno));
    const auto manifest = manifestOf(bundle);
    if (!manifest)
        return manifest.error();
    const std::optional<QByteArray> signature = key.sign(manifest.value());
    if (!signature)
        return invalid(QStringLiteral("la clé ne peut pas signer"),
                       QStringLiteral("the key cannot sign"));
    if (!QDir(bundle).mkdir(folderName()))
        return UpdaterError::codeSignature(SystemError::describe(errno));
    const std::pair<const char *, QByteArray> files[] = {
        {"manifest", manifest.value()},
        {"signature", signature->toBase64() + '\n'},
        {"public-key", key.publicKey().toBase64() + '\n'},
    };
    for (const auto &[name, contents] : files) {
        QSaveFile file(signatureFile(bundle, name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()
            || !file.commit())
            return UpdaterError::codeSignature(file.errorString());
        QFile::setPermissions(file.fileName(), QFile::ReadOwner | QFile::WriteOwner
                                                   | QFile::ReadGroup | QFile::ReadOther);
    }
    return {};
}

std::optional<QByteArray> signerOf(const QString &bundle)
{
    return readBase64(signatureFile(bundle, "public-key"), 32);
}

Result<QByteArray, UpdaterError> verify(const QString &bundle,
                                        const std::optional<QByteArray> &requiredSigner)
{
    const std::optional<QByteArray> signer = signerOf(bundle);
    const std::optional<QByteArray> signature = readBase64(signatureFile(bundle, "signature"), 64);
    QFile manifestFile(signatureFile(bundle, "manifest"));
    if (!signer || !signature || !manifestFile.open(QIODevice::ReadOnly))
        return invalid(QStringLiteral("le paquet n’est pas signé"),
                       QStringLiteral("the bundle is not signed"));
    const QByteArray signedManifest = manifestFile.readAll();
    if (!SigningKey::verify(*signer, signedManifest, *signature))
        return invalid(QStringLiteral("la signature ne correspond pas au manifeste"),
                       QStringLiteral("the signature does not match the manifest"));

    struct stat folder;
    if (::lstat(QFile::encodeName(bundle + u'/' + folderName()).constData(), &folder) != 0
        || !S_ISDIR(folder.st_mode))
        return invalid(QStringLiteral("le paquet n’est pas signé"),
                       QStringLiteral("the bundle is not signed"));
    const QStringList inSignature =
        QDir(bundle + u'/' + folderName())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                       QDir::Name);
    for (const QString &name : inSignature) {
        struct stat st;
        const bool regular =
            ::lstat(QFile::encodeName(bundle + u'/' + folderName() + u'/' + name).constData(), &st)
                == 0
            && S_ISREG(st.st_mode);
        if (!regular
            || (name != QStringLiteral("manifest") && name != QStringLiteral("signature")
                && name != QStringLiteral("public-key")))
            return invalid(QStringLiteral("fichier ajouté : "), QStringLiteral("added file: "),
                           folderName() + u'/' + name);
    }
    const auto actual = linesOf(bundle);
    if (!actual)
        return actual.error();
    if (join(actual.value()) != signedManifest)
        return differenceOf(signedManifest, actual.value());

    if (requiredSigner && *requiredSigner != *signer)
        return UpdaterError::teamMismatch(SigningKey::teamIdentifier(*requiredSigner),
                                          SigningKey::teamIdentifier(*signer));
    return *signer;
}

} // namespace plumeo::BundleSignature
