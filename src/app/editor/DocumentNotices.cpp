#include "editor/DocumentNotices.h"

#include "Alerts.h"
#include "document/DocumentFileMonitor.h"
#include "document/DocumentLoad.h"
#include "document/StreamLoad.h"
#include "document/TextDocument.h"
#include "editor/NoticeBar.h"
#include "io/NativePath.h"
#include "text/Localization.h"

#include <QFileInfo>
#include <QLocale>

namespace plumeo {

namespace {

QString readSize(qint64 bytes)
{
    const QLocale locale(L(QStringLiteral("fr_FR"), QStringLiteral("en_US")));
    return locale.formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

DocumentNotices::DocumentNotices(TextDocument *document, NoticeBar *bar, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_bar(bar)
{
    connect(document, &TextDocument::diskStateChanged, this, &DocumentNotices::refresh);
    connect(document, &TextDocument::streamLoadChanged, this, [this] {
        if (StreamLoad *load = m_document->streamLoad())
            connect(load, &StreamLoad::progress, this, &DocumentNotices::showProgress);
        refresh();
        Q_EMIT loadingChanged(m_document->streamLoad() != nullptr);
    });
    connect(document, &TextDocument::loadingChanged, this, [this] {
        watchLoad();
        refresh();
        Q_EMIT loadingChanged(m_document->isLoading());
    });
    watchLoad();
    connect(document, &TextDocument::fileChanged, this, &DocumentNotices::refresh);
    connect(bar, &NoticeBar::buttonClicked, this, &DocumentNotices::answer);
    if (StreamLoad *load = m_document->streamLoad())
        connect(load, &StreamLoad::progress, this, &DocumentNotices::showProgress);
    refresh();
}

void DocumentNotices::refresh()
{
    const QString name = m_document->displayName();
    if (m_document->streamLoad()) {
        m_shown = Shown::loading;
        m_bar->present(QString(), {L(QStringLiteral("Annuler"), QStringLiteral("Cancel"))});
        showProgress();
        return;
    }
    if (m_document->isLoading()) {
        m_shown = Shown::opening;
        m_bar->present(QString(), {L(QStringLiteral("Annuler"), QStringLiteral("Cancel"))});
        showProgress();
        return;
    }
    switch (m_document->diskState()) {
    case TextDocument::DiskState::changed:
        m_shown = Shown::changed;
        m_bar->present(
            L(QStringLiteral("« %1 » a été modifié par une autre application. Vos modifications "
                             "ne sont pas enregistrées.")
                  .arg(name),
              QStringLiteral("“%1” was changed by another application. Your changes are not "
                             "saved.")
                  .arg(name)),
            {L(QStringLiteral("Recharger"), QStringLiteral("Reload")),
             L(QStringLiteral("Garder ma version"), QStringLiteral("Keep my version"))});
        return;
    case TextDocument::DiskState::missing:
        m_shown = Shown::missing;
        m_bar->present(
            L(QStringLiteral("« %1 » a été supprimé ou déplacé. Enregistrer le recréera.")
                  .arg(name),
              QStringLiteral("“%1” was deleted or moved. Saving will write it again.").arg(name)),
            {L(QStringLiteral("Masquer"), QStringLiteral("Dismiss"))});
        return;
    case TextDocument::DiskState::inSync:
        break;
    }
    if (m_document->hasLongLines() && !m_longLinesDismissed && !m_document->isRichText()) {
        m_shown = Shown::longLines;
        m_bar->present(
            m_document->laysOutUnwrapped()
                ? L(QStringLiteral("Les lignes de plus de 100 000 caractères ne sont ni "
                                   "coloriées ni renvoyées à la ligne, pour que la saisie reste "
                                   "rapide."),
                    QStringLiteral("Lines longer than 100,000 characters are neither highlighted "
                                   "nor wrapped, so that typing stays fast."))
                : L(QStringLiteral("Les lignes de plus de 100 000 caractères ne sont pas "
                                   "coloriées, pour que la saisie reste rapide."),
                    QStringLiteral("Lines longer than 100,000 characters are not highlighted, so "
                                   "that typing stays fast.")),
            {L(QStringLiteral("Masquer"), QStringLiteral("Dismiss"))});
        return;
    }
    m_shown = Shown::nothing;
    m_bar->hide();
}

void DocumentNotices::watchLoad()
{
    if (const DocumentLoad *load = m_document->load())
        connect(load, &DocumentLoad::progress, this, &DocumentNotices::showProgress,
                Qt::UniqueConnection);
}

void DocumentNotices::showProgress()
{
    if (const DocumentLoad *load = m_document->load(); load && m_shown == Shown::opening) {
        const QString name = m_document->displayName();
        const int percent = load->percent();
        m_bar->setMessage(L(QStringLiteral("Ouverture de « %1 »… %2\u202F%").arg(name).arg(percent),
                            QStringLiteral("Opening “%1”… %2%").arg(name).arg(percent)));
        return;
    }
    StreamLoad *load = m_document->streamLoad();
    if (!load || m_shown != Shown::loading)
        return;
    const QString source = NativePath::display(load->sourceName());
    m_bar->setMessage(
        L(QStringLiteral("Lecture de « %1 »… %2 reçus.").arg(source, readSize(load->bytesRead())),
          QStringLiteral("Reading “%1”… %2 received.").arg(source, readSize(load->bytesRead()))));
}

void DocumentNotices::answer(int index)
{
    switch (m_shown) {
    case Shown::loading:
        if (StreamLoad *load = m_document->streamLoad())
            load->cancel();
        return;
    case Shown::opening:
        Q_EMIT closeRequested();
        return;
    case Shown::changed:
        if (index == 0) {
            if (const auto reloaded = DocumentFileMonitor::reload(m_document); !reloaded) {
                Alerts::presentError(m_bar->window(), reloaded.error());
                return;
            }
        } else {
            m_document->setDismissedDiskIdentity(FileIdentity::of(m_document->filePath()));
            m_document->setDiskState(TextDocument::DiskState::inSync);
        }
        return;
    case Shown::missing:
        m_bar->hide();
        m_shown = Shown::nothing;
        return;
    case Shown::longLines:
        m_longLinesDismissed = true;
        refresh();
        return;
    case Shown::nothing:
        return;
    }
}

} // namespace plumeo
