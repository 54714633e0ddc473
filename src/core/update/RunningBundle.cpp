#include "update/RunningBundle.h"

#include "text/Localization.h"
#include "update/BundleSignature.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace plumeo::RunningBundle {

std::optional<QString> bundleOf(const QString &executableDir)
{
    const QFileInfo bin(QDir::cleanPath(executableDir));
    if (bin.fileName() != QStringLiteral("bin"))
        return std::nullopt;
    const QFileInfo bundle(bin.path());
    if (bundle.suffix().compare(QStringLiteral("app"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return bundle.absoluteFilePath();
}

std::optional<QString> path()
{
    return bundleOf(QCoreApplication::applicationDirPath());
}

QString installDestination()
{
    if (const std::optional<QString> bundle = path())
        return *bundle;
    return QDir::homePath() + QStringLiteral("/Applications/Plumeo.app");
}

Result<std::optional<QByteArray>, UpdaterError> requiredSigner(const std::optional<QString> &bundle)
{
    using Answer = Result<std::optional<QByteArray>, UpdaterError>;
    if (!bundle || !QFileInfo::exists(*bundle + u'/' + BundleSignature::folderName()))
        return Answer(std::optional<QByteArray>());
    if (std::optional<QByteArray> signer = BundleSignature::signerOf(*bundle))
        return Answer(signer);
    return UpdaterError::codeSignature(
        L(QStringLiteral("la signature de l’application installée est illisible"),
          QStringLiteral("the installed application’s signature cannot be read")));
}

} // namespace plumeo::RunningBundle
