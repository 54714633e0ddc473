// Plumeo installed as a desktop application: the layout `cmake --install` makes, and the desktop
// entry and AppStream metadata as the freedesktop tools read them; and the relocatable bundle a
// release is made of.
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef PLUMEO_CMAKE
namespace {

struct Finished
{
    int status = -1;
    QString output;
};

Finished run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120'000)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

} // namespace

TEST(Install, LaysOutADesktopApplicationTheToolsAccept)
{
    QTemporaryDir prefix;
    const Finished install = run(QStringLiteral(PLUMEO_CMAKE),
                                 {QStringLiteral("--install"), QStringLiteral(PLUMEO_BUILD_DIR),
                                  QStringLiteral("--prefix"), prefix.path()});
    ASSERT_EQ(install.status, 0) << install.output.toStdString();

    const QDir root(prefix.path());
    EXPECT_TRUE(QFileInfo(root.filePath(QStringLiteral("bin/plumeo"))).isExecutable());
    const QString desktop =
        root.filePath(QStringLiteral("share/applications/com.vantle.plumeo.desktop"));
    const QString metainfo =
        root.filePath(QStringLiteral("share/metainfo/com.vantle.plumeo.metainfo.xml"));
    ASSERT_TRUE(QFileInfo::exists(desktop));
    ASSERT_TRUE(QFileInfo::exists(metainfo));
    EXPECT_TRUE(QFileInfo::exists(
        root.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/com.vantle.plumeo.svg"))));
    for (const int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const QString png = root.filePath(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/com.vantle.plumeo.png").arg(size));
        const QImage image(png);
        EXPECT_EQ(image.size(), QSize(size, size)) << png.toStdString();
    }
    // The version the program reports is the one its metadata announces.
    QFile metadata(metainfo);
    ASSERT_TRUE(metadata.open(QIODevice::ReadOnly));
    EXPECT_TRUE(metadata.readAll().contains(QByteArrayLiteral("<release version=\"")
                                            + PLUMEO_VERSION_TEXT + '"'));

    const QString desktopValidate = QStandardPaths::findExecutable("desktop-file-validate");
    const QString appstream = QStandardPaths::findExecutable("appstreamcli");
    if (desktopValidate.isEmpty() || appstream.isEmpty())
        GTEST_SKIP()
            << "desktop-file-validate or appstreamcli is missing (scripts/setup installs them)";
    const Finished entry = run(desktopValidate, {desktop});
    EXPECT_EQ(entry.status, 0) << entry.output.toStdString();
    EXPECT_TRUE(entry.output.isEmpty()) << entry.output.toStdString();
    const Finished component =
        run(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                        QStringLiteral("--pedantic"), metainfo});
    EXPECT_EQ(component.status, 0) << component.output.toStdString();
}

#ifdef PLUMEO_SIGN_TOOL
TEST(Install, AReleaseIsASignedBundleThatRunsFromAnyFolderWithItsArchiveAndManifest)
{
    QTemporaryDir work;
    const QDir root(work.path());
    const QString key = root.filePath(QStringLiteral("release.key"));
    const Finished keygen = run(QStringLiteral(PLUMEO_SIGN_TOOL), {QStringLiteral("keygen"), key});
    ASSERT_EQ(keygen.status, 0) << keygen.output.toStdString();

    const QString output = root.filePath(QStringLiteral("out put"));
    const Finished made =
        run(QStringLiteral(PLUMEO_CMAKE),
            {QStringLiteral("-DPLUMEO_EXECUTABLE=" PLUMEO_BINARY),
             QStringLiteral("-DSIGN_TOOL=" PLUMEO_SIGN_TOOL), u"-DSIGNING_KEY="_qs + key,
             QStringLiteral("-DBASE_URL=http://127.0.0.1:8765/"), QStringLiteral("-DVERSION=9.8.7"),
             QStringLiteral("-DBUILD_NUMBER=42"), QStringLiteral("-DSOURCE_DIR=" PLUMEO_SOURCE_DIR),
             u"-DOUTPUT_DIR="_qs + output, QStringLiteral("-P"),
             QStringLiteral(PLUMEO_SOURCE_DIR "/cmake/MakeReleaseBundle.cmake")});
    ASSERT_EQ(made.status, 0) << made.output.toStdString();

    const QDir out(output);
    const QString bundle = out.filePath(QStringLiteral("Plumeo.app"));
    for (const QString &file :
         {u"bin/plumeo"_qs, u"share/applications/com.vantle.plumeo.desktop"_qs,
          u"share/icons/hicolor/256x256/apps/com.vantle.plumeo.png"_qs,
          u"share/icons/hicolor/scalable/apps/com.vantle.plumeo.svg"_qs})
        EXPECT_TRUE(QFileInfo::exists(bundle + u'/' + file)) << file.toStdString();
    const Finished verified =
        run(QStringLiteral(PLUMEO_SIGN_TOOL), {QStringLiteral("verify"), bundle});
    EXPECT_EQ(verified.status, 0) << verified.output.toStdString();
    const Finished version = run(bundle + u"/bin/plumeo"_qs, {QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0) << version.output.toStdString();

    QFile manifestFile(out.filePath(QStringLiteral("Plumeo-9.8.7.json")));
    ASSERT_TRUE(manifestFile.open(QIODevice::ReadOnly));
    const QJsonObject manifest = QJsonDocument::fromJson(manifestFile.readAll()).object();
    EXPECT_EQ(manifest.value(u"version"_qs).toString(), u"9.8.7");
    EXPECT_EQ(manifest.value(u"build"_qs).toInt(), 42);
    EXPECT_EQ(manifest.value(u"url"_qs).toString(), u"http://127.0.0.1:8765/Plumeo-9.8.7.zip");
    QFile archive(out.filePath(QStringLiteral("Plumeo-9.8.7.zip")));
    ASSERT_TRUE(archive.open(QIODevice::ReadOnly));
    EXPECT_EQ(manifest.value(u"sha256"_qs).toString(),
              QString::fromLatin1(
                  QCryptographicHash::hash(archive.readAll(), QCryptographicHash::Sha256).toHex()));
}
#endif
#endif
