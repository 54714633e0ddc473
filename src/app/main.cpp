#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "BuildInfo.h"
#include "text/Localization.h"
#include "text/TextFile.h"

using namespace plumeo;

// Shows each file given on the command line, decoded, in a read-only window whose title names its
// encoding, byte order mark and line ending.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plumeo"));
    QApplication::setApplicationVersion(QString::fromLatin1(buildinfo::version));

    QStringList paths = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (paths[i] == u"--lang") {
            paths.remove(i, std::min<qsizetype>(2, paths.size() - i));
            --i;
        }
    }

    int shown = 0;
    for (const QString &path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            QMessageBox::warning(nullptr, QStringLiteral("Plumeo"), file.errorString());
            continue;
        }
        const QByteArray bytes = file.readAll();
        if (TextFile::isBinary(bytes)) {
            const TextFileError error = TextFileError::binaryData();
            QMessageBox::warning(nullptr, QStringLiteral("Plumeo"),
                                 error.errorDescription() + u'\n' + *error.recoverySuggestion());
            continue;
        }
        auto decoded = TextFile::decode(bytes, Encoding::utf8());
        if (!decoded) {
            QMessageBox::warning(nullptr, QStringLiteral("Plumeo"), decoded.error().errorDescription());
            continue;
        }
        auto *view = new QPlainTextEdit;
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->setReadOnly(true);
        view->setPlainText(decoded.value().text);
        const DecodedText &d = decoded.value();
        view->setWindowTitle(QStringLiteral("%1 — %2%3, %4")
                                 .arg(path, TextFile::name(d.encoding),
                                      d.hasBOM ? QStringLiteral(" BOM") : QString(),
                                      d.lineEnding ? d.lineEnding->rawValue() : QStringLiteral("—")));
        view->resize(900, 640);
        view->show();
        ++shown;
    }
    if (shown == 0 && paths.isEmpty()) {
        auto *view = new QPlainTextEdit;
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->setWindowTitle(L(QStringLiteral("Sans titre"), QStringLiteral("Untitled")));
        view->resize(900, 640);
        view->show();
        ++shown;
    }
    if (shown == 0)
        return 1;
    return app.exec();
}
