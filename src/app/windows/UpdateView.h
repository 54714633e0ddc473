#pragma once

#include <functional>

#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTextBrowser;

namespace plumeo {

class Updater;

// The update panel: the application's icon, name and version; the updater's status line; the
// notes of the release on offer with a link to its web page; the download's progress; the
// automatic-check setting; and the buttons of the state (Later and Update & Relaunch for an
// available release, a disabled Close while downloading or installing, Retry and OK after an
// error, OK otherwise). It follows the updater and the interface language as they change. Closing
// the panel never stops a check or a download.
class UpdateView : public QWidget
{
    Q_OBJECT
public:
    // updater must outlive the panel; close closes its window.
    UpdateView(Updater &updater, std::function<void()> close, QWidget *parent = nullptr);

    QLabel *statusLabel() const { return m_status; }
    QLabel *statusIcon() const { return m_icon; }
    QLabel *notesHeader() const { return m_notesHeader; }
    QTextBrowser *notes() const { return m_notes; }
    QPushButton *webPageButton() const { return m_webPage; }
    QProgressBar *busyIndicator() const { return m_busy; }
    QProgressBar *downloadProgress() const { return m_progress; }
    QCheckBox *autoCheckBox() const { return m_autoCheck; }
    QPushButton *laterButton() const { return m_later; }
    QPushButton *installButton() const { return m_install; }
    QPushButton *closeButton() const { return m_closeButton; }
    QPushButton *retryButton() const { return m_retry; }
    QPushButton *okButton() const { return m_ok; }

private:
    void refresh();
    void closePanel();

    Updater &m_updater;
    std::function<void()> m_close;
    QLabel *m_version;
    QLabel *m_icon;
    QProgressBar *m_busy;
    QLabel *m_status;
    QWidget *m_notesBox;
    QLabel *m_notesHeader;
    QPushButton *m_webPage;
    QTextBrowser *m_notes;
    QProgressBar *m_progress;
    QCheckBox *m_autoCheck;
    QPushButton *m_later;
    QPushButton *m_install;
    QPushButton *m_closeButton;
    QPushButton *m_retry;
    QPushButton *m_ok;
};

} // namespace plumeo
