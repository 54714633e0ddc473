#include "AppDelegate.h"
#include "BuildInfo.h"
#include "DocumentController.h"
#include "LaunchOptions.h"
#include "SingleInstance.h"
#include "base/AppIdentifier.h"
#include "base/LogCategories.h"
#include "io/NativePath.h"
#include "text/Localization.h"
#include "update/BundleInstaller.h"
#include "update/RunningBundle.h"
#include "update/UpdateInstallation.h"
#include "update/Updater.h"

#include <optional>

#include <QApplication>
#include <QDir>

#include <unistd.h>

using namespace plumeo;

namespace {

// The working folder as bytes: QDir::currentPath() would decode a name that is not UTF-8 lossily.
QString workingFolder()
{
    QByteArray buffer(4096, '\0');
    while (::getcwd(buffer.data(), size_t(buffer.size())) == nullptr) {
        if (errno != ERANGE)
            return QDir::currentPath();
        buffer.resize(buffer.size() * 2);
    }
    return NativePath::decode(QByteArrayView(buffer.constData()));
}

void warn(const QString &problem)
{
    qCWarning(logLaunch).noquote() << problem;
}

} // namespace

int main(int argc, char **argv)
{
    // Help, version and mistakes are answered before any window system is needed: `plumeo --help`
    // works over ssh and in scripts. A core application only, so that --lang and the stored
    // language are read as usual.
    {
        QStringList given;
        for (int at = 1; at < argc; ++at)
            given.append(NativePath::decode(QByteArrayView(argv[at])));
        const LaunchOptions options = LaunchOptions::parse(given);
        if (options.action != LaunchOptions::Action::open) {
            QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("Plumeo"));
            return options.printAndExitStatus();
        }
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumeo"));
    QApplication::setApplicationVersion(QString::fromLatin1(buildinfo::version));
    QApplication::setDesktopFileName(appIdentifier());
    // An update cut short by a crash or a power cut is put right before anything else runs.
    if (const std::optional<QString> bundle = RunningBundle::path())
        BundleInstaller::recover(*bundle);
    // File names are bytes: taken from argv (Qt has removed its own options from it) rather than
    // from QApplication::arguments(), which decodes them lossily. The running instance has another
    // working folder, hence absolute names.
    QStringList arguments;
    for (int at = 1; at < argc; ++at)
        arguments.append(NativePath::decode(QByteArrayView(argv[at])));
    arguments = AppDelegate::withAbsoluteFiles(arguments, workingFolder());

    AppDelegate delegate;
    const auto snapshot = AppDelegate::snapshotRequest(arguments);
    // Snapshots and test runs are separate processes by nature; everything else joins the running
    // Plumeo if there is one.
    std::optional<QByteArray> channel;
    SingleInstance::Launch launch;
    if (!snapshot && qEnvironmentVariableIsEmpty("PLUMEO_TESTING")
        && !AppDelegate::namesOwnDescriptors(arguments)) {
        QString problem;
        channel = SingleInstance::channelPath(&problem);
        if (channel) {
            QByteArrayList message;
            for (const QString &argument : arguments)
                message.append(NativePath::encode(argument));
            launch = SingleInstance::join(*channel, message);
            if (launch.outcome == SingleInstance::Outcome::delivered)
                return 0;
            problem = launch.problem;
        }
        if (!problem.isEmpty())
            warn(L(QStringLiteral("%1 Ce Plumeo ouvre ses fichiers lui-même, en instance "
                                  "séparée."),
                   QStringLiteral("%1 This Plumeo opens its files itself, as a separate "
                                  "instance."))
                     .arg(problem));
    }

    delegate.applicationWillFinishLaunching(arguments);
    SingleInstance instance;
    if (channel && launch.outcome == SingleInstance::Outcome::listening)
        instance.serve(launch, *channel, [&delegate](const QByteArrayList &later) {
            QStringList names;
            for (const QByteArray &argument : later)
                names.append(NativePath::decode(argument));
            const AppDelegate::OpenResult opened = delegate.openFiles(names);
            if (opened.requested == 0 && opened.newWindow)
                delegate.documentController()->newDocumentInNewWindow();
            else if (opened.requested == 0)
                delegate.documentController()->newDocument();
        });

    const AppDelegate::OpenResult opened = delegate.openFiles(arguments);
    // Asked to quit (SIGTERM, SIGHUP) while opening.
    if (delegate.isQuitting())
        return 0;
    const int broughtBack = delegate.bringBackEarlierWork(opened.requested == 0);
    if (opened.requested == 0 && broughtBack == 0 && delegate.applicationShouldOpenUntitledFile())
        delegate.documentController()->newDocument();
    // Started for files of which none could be opened (each was reported): nothing to show.
    else if (opened.requested > 0 && opened.opened == 0 && broughtBack == 0)
        return 1;
    delegate.applicationDidFinishLaunching();
    const int status = application.exec();
    if (const QString bundle = Updater::installedBundleToStart(); !bundle.isEmpty()) {
        instance.close();
        UpdateInstallation::startDetached(bundle);
    }
    return status;
}
