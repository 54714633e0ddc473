#pragma once

#include "text/Localization.h"
#include "update/BundleSignature.h"
#include "update/SigningKey.h"
#include "update/UpdaterError.h"

#include <ostream>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTest>

// Runs the event loop until done is true or ten seconds have passed (a hung test, not a timing
// assertion).
template <typename Predicate> bool waitUntil(Predicate done)
{
    return QTest::qWaitFor(done, 10'000);
}

// Shows texts in language for the life of the object.
class LanguageScope
{
public:
    explicit LanguageScope(plumeo::AppLanguage language)
        : m_previous(plumeo::Localization::current())
    {
        plumeo::Localization::setCurrent(language);
    }
    ~LanguageScope() { plumeo::Localization::setCurrent(m_previous); }

private:
    plumeo::AppLanguage m_previous;
};

namespace plumeo {
inline void PrintTo(const UpdaterError &error, std::ostream *os)
{
    *os << "UpdaterError(" << int(error.kind()) << ", \"" << error.text().toStdString() << "\", "
        << error.httpStatus() << ", \"" << error.expected().toStdString() << "\", \""
        << error.actual().value_or(QStringLiteral("<none>")).toStdString() << "\")";
}
} // namespace plumeo

// Makes a bundle folder holding files (relative path → contents; "bin/plumeo" is made executable)
// and signs it with key when one is given.
inline void makeBundle(const QString &bundle,
                       const QMap<QString, QByteArray> &files,
                       const std::optional<plumeo::SigningKey> &key)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = bundle + u'/' + it.key();
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(it.value());
        file.close();
        if (it.key() == QStringLiteral("bin/plumeo"))
            file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeGroup
                                | QFile::ExeOther);
    }
    if (key) {
        const auto signedBundle = plumeo::BundleSignature::sign(bundle, *key);
        if (!signedBundle)
            qFatal("signing failed: %s", qPrintable(signedBundle.error().errorDescription()));
    }
}

inline QMap<QString, QByteArray> bundleFiles(const QByteArray &version)
{
    return {{QStringLiteral("bin/plumeo"), "#!/bin/sh\necho " + version + "\n"},
            {QStringLiteral("share/plumeo/version"), version},
            {QStringLiteral("share/plumeo/help/index.html"), "<html>" + version + "</html>"}};
}

// The whole contents of a folder, for "byte for byte untouched" checks: path → mode and bytes.
inline QMap<QString, QByteArray> snapshotOf(const QString &folder)
{
    QMap<QString, QByteArray> contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray entry = QByteArray::number(int(info.permissions()), 16) + ' ';
        if (info.isFile()) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            entry += file.readAll();
        }
        contents.insert(QDir(folder).relativeFilePath(path), entry);
    }
    return contents;
}
