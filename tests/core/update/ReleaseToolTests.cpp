#include "UpdateTestSupport.h"
#include "update/ArchiveExtractor.h"
#include "update/BundleLocator.h"
#include "update/BundleSignature.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace plumeo;

namespace {

struct ToolRun
{
    int status;
    QString output;
};

ToolRun run(const QString &program, const QStringList &arguments, const QString &folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VANTLE_LANG"), QStringLiteral("en"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(30'000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

QString signTool()
{
    return QStringLiteral(PLUMEO_SIGN_TOOL);
}

} // namespace

// The way a release is made: a key from the tool, a bundle signed by it, zipped by CMake, then
// unpacked and verified by the updater's own code.
TEST(ReleaseToolTest, KeyBundleArchiveAndUpdaterAgree)
{
    QTemporaryDir dir;
    const QString keyFile = dir.filePath(QStringLiteral("release.key"));
    const ToolRun made = run(signTool(), {QStringLiteral("keygen"), keyFile});
    ASSERT_EQ(made.status, 0) << made.output.toStdString();
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(keyFile).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(made.output.contains(QStringLiteral("team identifier: ")));
    // Never overwrites a key: that would orphan every installed copy.
    EXPECT_EQ(run(signTool(), {QStringLiteral("keygen"), keyFile}).status, 1);

    const QString release = dir.filePath(QStringLiteral("release"));
    const QString bundle = release + QStringLiteral("/Plumeo.app");
    makeBundle(bundle, bundleFiles("3.0"), std::nullopt);
    QFile::setPermissions(bundle + QStringLiteral("/share/plumeo/version"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                              | QFile::WriteGroup);
    const ToolRun signedBundle = run(signTool(), {QStringLiteral("sign"), keyFile, bundle});
    ASSERT_EQ(signedBundle.status, 0) << signedBundle.output.toStdString();
    EXPECT_EQ(signedBundle.output, made.output);
    EXPECT_EQ(run(signTool(), {QStringLiteral("identity"), bundle}).output, made.output);
    EXPECT_EQ(run(signTool(), {QStringLiteral("identity"), keyFile}).output, made.output);

    const QByteArray publicKey = BundleSignature::signerOf(bundle).value();
    EXPECT_EQ(run(signTool(),
                  {QStringLiteral("verify"), bundle, QString::fromLatin1(publicKey.toBase64())})
                  .status,
              0);
    const QByteArray otherKey(32, 'x');
    const ToolRun wrongSigner = run(
        signTool(), {QStringLiteral("verify"), bundle, QString::fromLatin1(otherKey.toBase64())});
    EXPECT_EQ(wrongSigner.status, 1);
    EXPECT_TRUE(wrongSigner.output.contains(QStringLiteral("TeamIdentifier mismatch")))
        << wrongSigner.output.toStdString();
    EXPECT_EQ(
        run(signTool(), {QStringLiteral("sign"), dir.filePath(QStringLiteral("nokey")), bundle})
            .status,
        1);
    EXPECT_EQ(run(signTool(), {QStringLiteral("frobnicate")}).status, 2);

    const ToolRun zipped = run(QStringLiteral(PLUMEO_CMAKE_COMMAND),
                               {QStringLiteral("-E"), QStringLiteral("tar"), QStringLiteral("cf"),
                                QStringLiteral("Plumeo-3.0.zip"), QStringLiteral("--format=zip"),
                                QStringLiteral("Plumeo.app")},
                               release);
    ASSERT_EQ(zipped.status, 0) << zipped.output.toStdString();
    const QString extracted = dir.filePath(QStringLiteral("work/extracted"));
    const auto unpacked =
        ArchiveExtractor().extract(release + QStringLiteral("/Plumeo-3.0.zip"), extracted);
    ASSERT_TRUE(unpacked.hasValue()) << unpacked.error().errorDescription().toStdString();
    const auto found = BundleLocator::findAppBundle(extracted);
    ASSERT_TRUE(found.hasValue());
    const auto verified = BundleSignature::verify(found.value(), publicKey);
    EXPECT_TRUE(verified.hasValue()) << verified.error().errorDescription().toStdString();
}
