#include "RecoveryDialog.h"

#include "io/NativePath.h"
#include "rtf/RtfReader.h"
#include "text/Localization.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace plumeo {

namespace {

std::function<RecoveryDialog::Choice(const AutosaveRecord &)> &testAnswer()
{
    static std::function<RecoveryDialog::Choice(const AutosaveRecord &)> instance;
    return instance;
}

QPlainTextEdit *readOnlyView(const QString &text, QWidget *parent)
{
    auto *view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setPlainText(text);
    view->setMinimumSize(320, 280);
    return view;
}

} // namespace

RecoveryDialog::RecoveryDialog(const AutosaveRecord &record,
                               std::optional<QString> diskText,
                               QString diskProblem,
                               QWidget *parent)
    : QDialog(parent)
    , m_record(record)
    , m_hasDiskText(diskText.has_value())
    , m_diskProblem(std::move(diskProblem))
    , m_message(new QLabel(this))
    , m_recoveredLabel(new QLabel(this))
    , m_diskLabel(new QLabel(this))
{
    m_message->setWordWrap(true);
    // A rich document shows its text without its formatting; the formatting comes back with it.
    QString recoveredText = record.text;
    if (QTextDocument rich; record.richText && RtfReader::read(record.rtf, rich))
        recoveredText = rich.toRawText().replace(QChar::ParagraphSeparator, u'\n');
    m_diskView = readOnlyView(diskText.value_or(QString()), this);
    m_diskView->setEnabled(m_hasDiskText);

    auto *panes = new QGridLayout;
    panes->addWidget(m_recoveredLabel, 0, 0);
    panes->addWidget(m_diskLabel, 0, 1);
    panes->addWidget(readOnlyView(recoveredText, this), 1, 0);
    panes->addWidget(m_diskView, 1, 1);

    auto *buttons = new QDialogButtonBox(this);
    m_restore = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    m_discard = buttons->addButton(QString(), QDialogButtonBox::DestructiveRole);
    m_later = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    m_restore->setDefault(true);
    connect(m_restore, &QPushButton::clicked, this, [this] {
        m_choice = Choice::restore;
        accept();
    });
    connect(m_discard, &QPushButton::clicked, this, [this] {
        m_choice = Choice::discard;
        accept();
    });
    connect(m_later, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addLayout(panes, 1);
    layout->addWidget(buttons);
    connect(Localization::notifier(), &LocalizationNotifier::languageDidChange, this,
            &RecoveryDialog::retranslate);
    retranslate();
}

QString RecoveryDialog::documentName() const
{
    if (!m_record.filePath.isEmpty())
        return NativePath::display(QFileInfo(m_record.filePath).fileName());
    return m_record.untitledName.isEmpty()
               ? L(QStringLiteral("Sans titre"), QStringLiteral("Untitled"))
               : m_record.untitledName;
}

void RecoveryDialog::retranslate()
{
    setWindowTitle(L(QStringLiteral("Récupérer un document non enregistré"),
                     QStringLiteral("Recover Unsaved Document")));
    const QString name = documentName();
    const QString when = QLocale(L(QStringLiteral("fr_FR"), QStringLiteral("en_US")))
                             .toString(m_record.savedAt.toLocalTime(), QLocale::ShortFormat);
    m_message->setText(
        L(QStringLiteral("Plumeo s’est arrêté avant que les modifications de « %1 » soient "
                         "enregistrées. Voulez-vous les restaurer ?"),
          QStringLiteral("Plumeo stopped before the changes to “%1” were saved. Do you want to "
                         "restore them?"))
            .arg(name)
        + QStringLiteral("\n\n")
        + L(QStringLiteral("Restaurer les ouvre comme des modifications non enregistrées ; "
                           "rien n’est écrit tant que vous n’enregistrez pas."),
            QStringLiteral("Restoring opens them as unsaved changes; nothing is written until "
                           "you save.")));
    m_recoveredLabel->setText(L(QStringLiteral("Texte récupéré (copie du %1)"),
                                QStringLiteral("Recovered text (copy of %1)"))
                                  .arg(when));
    if (m_record.filePath.isEmpty())
        m_diskLabel->setText(L(QStringLiteral("Document sans titre : aucun fichier sur le disque"),
                               QStringLiteral("Untitled document: no file on disk")));
    else if (!m_hasDiskText)
        m_diskLabel->setText(
            L(QStringLiteral("Fichier sur le disque : %1"), QStringLiteral("File on disk: %1"))
                .arg(m_diskProblem));
    else
        m_diskLabel->setText(
            L(QStringLiteral("Fichier sur le disque (%1)"), QStringLiteral("File on disk (%1)"))
                .arg(NativePath::display(m_record.filePath)));
    m_restore->setText(L(QStringLiteral("Restaurer"), QStringLiteral("Restore")));
    m_discard->setText(L(QStringLiteral("Supprimer la copie"), QStringLiteral("Discard")));
    m_later->setText(L(QStringLiteral("Décider plus tard"), QStringLiteral("Decide Later")));
}

RecoveryDialog::Choice RecoveryDialog::ask(const AutosaveRecord &record,
                                           std::optional<QString> diskText,
                                           const QString &diskProblem,
                                           QWidget *parent)
{
    if (testAnswer())
        return testAnswer()(record);
    RecoveryDialog dialog(record, std::move(diskText), diskProblem, parent);
    dialog.exec();
    return dialog.choice();
}

void RecoveryDialog::setAnswerForTesting(std::function<Choice(const AutosaveRecord &)> answer)
{
    testAnswer() = std::move(answer);
}

} // namespace plumeo
