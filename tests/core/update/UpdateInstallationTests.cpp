#include "LocalHttpServer.h"
#include "UpdateTestSupport.h"
#include "ZipBuilder.h"
#include "update/ReleaseFetcher.h"
#include "update/ReleaseVersion.h"
#include "update/Sha256.h"
#include "update/UpdateInstallation.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// A release server on loopback with an installed 1.0 bundle and a signed 2.0 bundle to offer.
class UpdateInstallationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        key = SigningKey::generate();
        ASSERT_TRUE(key);
        installed = dir.filePath(QStringLiteral("Applications/Plumeo.app"));
        makeBundle(installed, bundleFiles("1.0"), key);
        before = snapshotOf(installed);
        QDir().mkpath(dir.filePath(QStringLiteral("tmp")));
        offer(key);
    }

    // Serves /Plumeo-2.0.zip holding a 2.0 bundle signed by signer (unsigned when absent).
    void offer(const std::optional<SigningKey> &signer, const QMap<QString, QByteArray> &extra = {})
    {
        const QString source = dir.filePath(QStringLiteral("release/Plumeo.app"));
        QDir(source).removeRecursively();
        makeBundle(source, bundleFiles("2.0"), std::nullopt);
        makeBundle(source, extra, signer);
        ZipBuilder zip;
        zip.tree(source, QStringLiteral("Plumeo.app"));
        const QString zipPath = dir.filePath(QStringLiteral("release/Plumeo-2.0.zip"));
        QFile::remove(zipPath);
        ASSERT_TRUE(zip.write(zipPath));
        QFile file(zipPath);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        archive = file.readAll();
        server.route(QStringLiteral("/Plumeo-2.0.zip"), {200, archive, false});
    }

    ReleaseInfo release(const QString &path = QStringLiteral("/Plumeo-2.0.zip"),
                        std::optional<QString> sha256 = std::nullopt) const
    {
        return ReleaseInfo::make(QStringLiteral("2.0"), std::nullopt, QUrl(server.url(path)),
                                 sha256);
    }

    Result<void, UpdaterError> install(const ReleaseInfo &info, int timeoutMs = 10'000)
    {
        UpdateInstallation::Options options;
        options.destination = installed;
        options.requiredSigner = key->publicKey();
        options.workParent = dir.filePath(QStringLiteral("tmp"));
        options.timeoutMs = timeoutMs;
        options.relaunch = [this](const QString &bundle) {
            relaunched = bundle;
            return true;
        };
        UpdateInstallation installation(&network, options);
        QSignalSpy installing(&installation, &UpdateInstallation::installing);
        QSignalSpy progress(&installation, &UpdateInstallation::progress);
        std::optional<Result<void, UpdaterError>> outcome;
        installation.start(info, [&outcome](const Result<void, UpdaterError> &r) { outcome = r; });
        EXPECT_FALSE(installation.workFolder().isEmpty());
        EXPECT_TRUE(QFileInfo(installation.workFolder())
                        .fileName()
                        .startsWith(QStringLiteral("PlumeoUpdate-")));
        EXPECT_TRUE(waitUntil([&outcome] { return outcome.has_value(); }));
        sawInstalling = installing.size() == 1;
        sawProgress = !progress.isEmpty();
        // The work folder never outlives the installation.
        EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("tmp"))).isEmpty());
        return outcome.value_or(UpdaterError::system(QStringLiteral("no answer")));
    }

    // Refused with the given kind, the installed bundle byte for byte as it was, no relaunch.
    void expectRefused(const Result<void, UpdaterError> &result, UpdaterError::Kind kind)
    {
        ASSERT_FALSE(result.hasValue());
        EXPECT_EQ(result.error().kind(), kind) << result.error().errorDescription().toStdString();
        EXPECT_EQ(snapshotOf(installed), before);
        EXPECT_TRUE(relaunched.isEmpty());
        EXPECT_EQ(QDir(QFileInfo(installed).path())
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{QStringLiteral("Plumeo.app")});
    }

    QTemporaryDir dir;
    LocalHttpServer server;
    QNetworkAccessManager network;
    std::optional<SigningKey> key;
    QString installed;
    QMap<QString, QByteArray> before;
    QByteArray archive;
    QString relaunched;
    bool sawInstalling = false, sawProgress = false;
};

} // namespace

TEST_F(UpdateInstallationTest, FindsDownloadsVerifiesInstallsAndRelaunches)
{
    server.route(QStringLiteral("/manifest.json"),
                 {200,
                  R"({"version":"v2.0","build":"3","url":")"
                      + server.url(QStringLiteral("/Plumeo-2.0.zip")).toUtf8() + R"(","sha256":")"
                      + Sha256::hexOf(archive).toUpper().toUtf8() + "\\n\"}",
                  false});
    ReleaseFetcher fetcher(&network, QStringLiteral("com.vantle.plumeo"));
    std::optional<Result<ReleaseInfo, UpdaterError>> found;
    fetcher.fetch(
        {UpdateEndpoint::customManifest, QUrl(server.url(QStringLiteral("/manifest.json")))},
        [&found](const Result<ReleaseInfo, UpdaterError> &r) { found = r; });
    ASSERT_TRUE(waitUntil([&found] { return found.has_value(); }));
    ASSERT_TRUE(found->hasValue()) << found->error().errorDescription().toStdString();
    const ReleaseInfo &info = found->value();
    ASSERT_TRUE(ReleaseVersion::isNewer(info.version, info.build, QStringLiteral("1.0"), 1));

    const auto result = install(info);
    ASSERT_TRUE(result.hasValue()) << result.error().errorDescription().toStdString();
    EXPECT_TRUE(sawInstalling);
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(relaunched, installed);
    QFile version(installed + QStringLiteral("/share/plumeo/version"));
    ASSERT_TRUE(version.open(QIODevice::ReadOnly));
    EXPECT_EQ(version.readAll(), "2.0");
    EXPECT_TRUE(BundleSignature::verify(installed, key->publicKey()).hasValue());
}

TEST_F(UpdateInstallationTest, RefusesBadDownloads)
{
    expectRefused(install(release(QStringLiteral("/missing.zip"))),
                  UpdaterError::invalidHTTPStatus);
    server.route(QStringLiteral("/error.zip"), {500, "oops", false});
    const auto failed = install(release(QStringLiteral("/error.zip")));
    expectRefused(failed, UpdaterError::invalidHTTPStatus);
    EXPECT_EQ(failed.error(), UpdaterError::invalidHttpStatus(500));
    server.route(QStringLiteral("/stalled.zip"), {200, {}, true});
    expectRefused(install(release(QStringLiteral("/stalled.zip")), 300),
                  UpdaterError::systemFailure);

    const QString wrong = Sha256::hexOf("something else");
    const auto mismatch = install(release(QStringLiteral("/Plumeo-2.0.zip"), wrong));
    expectRefused(mismatch, UpdaterError::checksumMismatch);
    EXPECT_EQ(mismatch.error(), UpdaterError::checksum(wrong, Sha256::hexOf(archive)));

    server.route(QStringLiteral("/empty.zip"), {200, "not a zip at all", false});
    expectRefused(install(release(QStringLiteral("/empty.zip"))), UpdaterError::extractionFailed);
}

TEST_F(UpdateInstallationTest, RefusesBundlesNotSignedByTheInstalledSigner)
{
    offer(SigningKey::generate());
    expectRefused(install(release()), UpdaterError::teamIdentifierMismatch);
    offer(std::nullopt);
    expectRefused(install(release()), UpdaterError::invalidCodeSignature);

    ZipBuilder noBundle;
    noBundle.file(QStringLiteral("readme.txt"), "no app here");
    const QString zipPath = dir.filePath(QStringLiteral("nobundle.zip"));
    ASSERT_TRUE(noBundle.write(zipPath));
    QFile file(zipPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    server.route(QStringLiteral("/nobundle.zip"), {200, file.readAll(), false});
    expectRefused(install(release(QStringLiteral("/nobundle.zip"))),
                  UpdaterError::appBundleNotFound);
}
