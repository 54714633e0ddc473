#pragma once

#include "session/AutosaveRecord.h"

#include <functional>
#include <optional>

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace plumeo {

// Shows one document that Plumeo stopped before it was saved: the recovered text beside the file on
// disk (or a word that it had no file), and asks what to do with it. Restore brings the text back
// as unsaved changes; Discard drops the copy; Decide Later keeps it for the next start. Nothing is
// opened or written by the dialog itself.
class RecoveryDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { restore, discard, later };

    // diskText: the file's text as it is on disk now; nothing when the record has no file, or the
    // file cannot be read (diskProblem then says why).
    RecoveryDialog(const AutosaveRecord &record,
                   std::optional<QString> diskText,
                   QString diskProblem,
                   QWidget *parent = nullptr);

    Choice choice() const { return m_choice; }

    // Asks, through the dialog or the answer set for testing.
    static Choice ask(const AutosaveRecord &record,
                      std::optional<QString> diskText,
                      const QString &diskProblem,
                      QWidget *parent = nullptr);
    // Answers every question without a dialog (an empty function restores the dialog).
    static void setAnswerForTesting(std::function<Choice(const AutosaveRecord &)> answer);

private:
    void retranslate();
    QString documentName() const;

    AutosaveRecord m_record;
    bool m_hasDiskText;
    QString m_diskProblem;
    Choice m_choice = Choice::later;
    QLabel *m_message;
    QLabel *m_recoveredLabel;
    QLabel *m_diskLabel;
    QPlainTextEdit *m_diskView;
    QPushButton *m_restore;
    QPushButton *m_discard;
    QPushButton *m_later;
};

} // namespace plumeo
