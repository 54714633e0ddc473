#include "update/UpdateInstallation.h"

#include "text/Localization.h"
#include "update/BundleInstaller.h"
#include "update/BundleLocator.h"
#include "update/BundleSignature.h"
#include "update/ReleaseDownloader.h"
#include "update/Sha256.h"

#include <QProcess>
#include <QUuid>

#include <sys/stat.h>

namespace plumeo {

UpdateInstallation::UpdateInstallation(QNetworkAccessManager *network,
                                       Options options,
                                       QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_options(std::move(options))
{}

UpdateInstallation::~UpdateInstallation()
{
    if (!m_workFolder.isEmpty())
        QDir(m_workFolder).removeRecursively();
}

bool UpdateInstallation::startDetached(const QString &bundle)
{
    return QProcess::startDetached(bundle + QStringLiteral("/bin/plumeo"), {}, bundle);
}

void UpdateInstallation::start(const ReleaseInfo &release,
                               std::function<void(const Result<void, UpdaterError> &)> done)
{
    m_done = std::move(done);
    const QString name = QStringLiteral("PlumeoUpdate-")
                         + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString folder = QDir(m_options.workParent).filePath(name);
    // Private to this user: nobody else may swap files between the checks and the copy.
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0) {
        const UpdaterError error = UpdaterError::system(
            L(QStringLiteral("Impossible de créer le dossier de travail ") + folder + u'.',
              QStringLiteral("Cannot create the work folder ") + folder + u'.'));
        QMetaObject::invokeMethod(
            this, [this, error] { finish(error); }, Qt::QueuedConnection);
        return;
    }
    m_workFolder = folder;
    m_downloader = new ReleaseDownloader(m_network, this);
    m_downloader->setTimeoutMs(m_options.timeoutMs);
    m_downloader->setMaximumBytes(m_options.extractor.maxBytes);
    connect(m_downloader, &ReleaseDownloader::progress, this, &UpdateInstallation::progress);
    m_downloader->download(release.downloadUrl, folder + QStringLiteral("/update.zip"),
                           [this, release](const Result<void, UpdaterError> &downloaded) {
                               if (!downloaded) {
                                   finish(downloaded);
                                   return;
                               }
                               Q_EMIT installing();
                               finish(verifyAndInstall(release));
                           });
}

Result<void, UpdaterError> UpdateInstallation::verifyAndInstall(const ReleaseInfo &release)
{
    const QString archive = m_workFolder + QStringLiteral("/update.zip");
    const QString extracted = m_workFolder + QStringLiteral("/extracted");
    if (auto checked = Sha256::verifyFile(archive, release.sha256); !checked)
        return checked;
    if (auto unpacked = m_options.extractor.extract(archive, extracted); !unpacked)
        return unpacked;
    const auto bundle = BundleLocator::findAppBundle(extracted);
    if (!bundle)
        return bundle.error();
    // Checked here so that a bad bundle is refused before anything is copied beside the
    // installed one; the installer checks its own copy again.
    if (const auto verified = BundleSignature::verify(bundle.value(), m_options.requiredSigner);
        !verified)
        return verified.error();
    BundleInstaller installer(m_options.destination);
    if (auto installed = installer.install(bundle.value(), m_options.requiredSigner); !installed)
        return installed;
    if (!m_options.relaunch(m_options.destination))
        return UpdaterError::installation(
            L(QStringLiteral("la nouvelle version est installée mais n’a pas pu être lancée"),
              QStringLiteral("the new version is installed but could not be started")));
    return {};
}

void UpdateInstallation::finish(const Result<void, UpdaterError> &result)
{
    if (!m_workFolder.isEmpty())
        QDir(m_workFolder).removeRecursively();
    m_workFolder.clear();
    if (auto done = std::exchange(m_done, nullptr))
        done(result);
}

} // namespace plumeo
