// Plumeo installed as a desktop application: the layout `cmake --install` makes, and the desktop
// entry and AppStream metadata as the freedesktop tools read them.
#include <QDir>
#include <QFileInfo>
#include <QImage>
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
#endif
