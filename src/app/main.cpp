#include "AppDelegate.h"
#include "BuildInfo.h"
#include "DocumentController.h"
#include "SingleInstance.h"

#include <QApplication>

using namespace plumeo;

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumeo"));
    QApplication::setApplicationVersion(QString::fromLatin1(buildinfo::version));
    QApplication::setDesktopFileName(QStringLiteral("plumeo"));
    const QStringList arguments = QApplication::arguments().mid(1);

    AppDelegate delegate;
    const auto snapshot = AppDelegate::snapshotRequest(arguments);
    // Snapshots and test runs are separate processes by nature; everything else joins the running
    // Plumeo if there is one.
    const bool shared = !snapshot && qEnvironmentVariableIsEmpty("PLUMEO_TESTING");
    if (shared && SingleInstance::forward(arguments))
        return 0;

    delegate.applicationWillFinishLaunching(arguments);
    SingleInstance instance;
    if (shared)
        instance.listen([&delegate](const QStringList &later) {
            if (delegate.openFiles(later).requested == 0)
                delegate.documentController()->newDocument();
        });

    const AppDelegate::OpenResult opened = delegate.openFiles(arguments);
    if (opened.requested == 0 && delegate.applicationShouldOpenUntitledFile())
        delegate.documentController()->newDocument();
    // Started for files of which none could be opened (each was reported): nothing to show.
    else if (opened.requested > 0 && opened.opened == 0)
        return 1;
    return application.exec();
}
