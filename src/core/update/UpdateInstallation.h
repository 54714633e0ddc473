#pragma once

#include "base/Result.h"
#include "update/ArchiveExtractor.h"
#include "update/ReleaseInfo.h"
#include "update/UpdaterConstants.h"
#include "update/UpdaterError.h"

#include <functional>
#include <optional>

#include <QDir>
#include <QObject>

class QNetworkAccessManager;

namespace plumeo {

class ReleaseDownloader;

// Installs one release: download into a private work folder, digest check, safe unpacking, the
// bundle found and its signature verified against the required signer, then the replacement
// (BundleInstaller) and the relaunch. Nothing is installed before every check has passed, and the
// installed bundle is replaced only as a whole.
class UpdateInstallation : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString destination;                      // the bundle to replace
        std::optional<QByteArray> requiredSigner; // the running bundle's signer, if any
        QString workParent = QDir::tempPath();    // where the work folder is made
        int timeoutMs = UpdaterConstants::downloadTimeoutMs;
        ArchiveExtractor extractor;
        // Starts the installed bundle; the default runs its bin/plumeo detached, with the bundle
        // path as a separate argument-free program path (no shell).
        std::function<bool(const QString &bundle)> relaunch = startDetached;
    };

    UpdateInstallation(QNetworkAccessManager *network, Options options, QObject *parent = nullptr);
    ~UpdateInstallation() override;

    // The work folder of the running installation, or empty.
    QString workFolder() const { return m_workFolder; }

    // Runs the installation and calls done once from the event loop. The work folder is removed
    // in every case. On success the new bundle is in place and relaunched; the caller then quits.
    void start(const ReleaseInfo &release,
               std::function<void(const Result<void, UpdaterError> &)> done);

    // Runs bundle/bin/plumeo as a new detached process.
    static bool startDetached(const QString &bundle);

Q_SIGNALS:
    void progress(qint64 received, qint64 total);
    // The archive is downloaded; verification and installation begin.
    void installing();

private:
    Result<void, UpdaterError> verifyAndInstall(const ReleaseInfo &release);
    void finish(const Result<void, UpdaterError> &result);

    QNetworkAccessManager *const m_network;
    Options m_options;
    ReleaseDownloader *m_downloader = nullptr;
    QString m_workFolder;
    std::function<void(const Result<void, UpdaterError> &)> m_done;
};

} // namespace plumeo
