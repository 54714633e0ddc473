#include "Alerts.h"

#include "text/Localization.h"

#include <QMessageBox>
#include <QPushButton>

namespace plumeo::Alerts {

namespace {

TestAnswers &answers()
{
    static TestAnswers instance;
    return instance;
}

std::function<bool(const DocumentError &)> &saveAsAnswer()
{
    static std::function<bool(const DocumentError &)> instance;
    return instance;
}

void prepare(QMessageBox &box,
             QMessageBox::Icon icon,
             const QString &text,
             const std::optional<QString> &informative)
{
    box.setIcon(icon);
    box.setWindowTitle(QStringLiteral("Plumeo"));
    box.setText(text);
    if (informative)
        box.setInformativeText(*informative);
}

QString cancelTitle()
{
    return L(QStringLiteral("Annuler"), QStringLiteral("Cancel"));
}

// A question with one action besides Cancel; true when the action was chosen.
bool askForAction(QWidget *parent,
                  QMessageBox::Icon icon,
                  const QString &text,
                  const std::optional<QString> &informative,
                  const QString &actionTitle,
                  QMessageBox::ButtonRole role,
                  bool actionIsDefault)
{
    QMessageBox box(parent);
    prepare(box, icon, text, informative);
    QPushButton *action = box.addButton(actionTitle, role);
    QPushButton *cancel = box.addButton(cancelTitle(), QMessageBox::RejectRole);
    box.setDefaultButton(actionIsDefault ? action : cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == action;
}

} // namespace

void setAnswersForTesting(TestAnswers replacement)
{
    answers() = std::move(replacement);
}

void setSaveAsAnswerForTesting(std::function<bool(const DocumentError &)> answer)
{
    saveAsAnswer() = std::move(answer);
}

void presentError(QWidget *parent, const DocumentError &error)
{
    if (answers().presentError) {
        answers().presentError(error);
        return;
    }
    QMessageBox box(parent);
    prepare(box, QMessageBox::Warning, error.description, error.recoverySuggestion);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool offerSaveAs(QWidget *parent, const DocumentError &error)
{
    if (answers().presentError) {
        if (saveAsAnswer())
            return saveAsAnswer()(error);
        answers().presentError(error);
        return false;
    }
    return askForAction(parent, QMessageBox::Warning, error.description, error.recoverySuggestion,
                        L(QStringLiteral("Enregistrer sous…"), QStringLiteral("Save As…")),
                        QMessageBox::AcceptRole, true);
}

void presentSettingsProblem(const DocumentError &error)
{
    static bool presented = false;
    if (presented)
        return;
    presented = true;
    if (answers().presentError) {
        answers().presentError(error);
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Plumeo"), error.description);
    if (error.recoverySuggestion)
        box->setInformativeText(*error.recoverySuggestion);
    box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

SaveChoice askToSave(QWidget *parent, const QString &documentName)
{
    if (answers().askToSave)
        return answers().askToSave(documentName);
    QMessageBox box(parent);
    // The name and its quotes stay on one line however the message wraps.
    QString unbreakable = documentName;
    unbreakable.replace(u' ', QChar::Nbsp);
    prepare(box, QMessageBox::Warning,
            L(QStringLiteral("Voulez-vous enregistrer les modifications apportées au document "
                             "«\u00A0%1\u00A0»\u00A0?")
                  .arg(unbreakable),
              QStringLiteral("Do you want to save the changes made to the document “%1”?")
                  .arg(unbreakable)),
            L(QStringLiteral("Vos modifications seront perdues si vous ne les enregistrez pas."),
              QStringLiteral("Your changes will be lost if you don’t save them.")));
    QPushButton *save = box.addButton(L(QStringLiteral("Enregistrer"), QStringLiteral("Save")),
                                      QMessageBox::AcceptRole);
    QPushButton *discard =
        box.addButton(L(QStringLiteral("Ne pas enregistrer"), QStringLiteral("Don’t Save")),
                      QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(cancelTitle(), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::save;
    if (box.clickedButton() == discard)
        return SaveChoice::dontSave;
    return SaveChoice::cancel;
}

bool confirmRevert(QWidget *parent, const QString &documentName)
{
    if (answers().confirmRevert)
        return answers().confirmRevert(documentName);
    return askForAction(
        parent, QMessageBox::Question,
        L(QStringLiteral("Revenir à la dernière version enregistrée de « %1 » ?").arg(documentName),
          QStringLiteral("Revert to the last saved version of “%1”?").arg(documentName)),
        L(QStringLiteral("Vos modifications actuelles seront perdues."),
          QStringLiteral("Your current changes will be lost.")),
        L(QStringLiteral("Revenir"), QStringLiteral("Revert")), QMessageBox::DestructiveRole,
        false);
}

bool confirmOverwriteChangedFile(QWidget *parent, const QString &documentName)
{
    if (answers().confirmOverwriteChangedFile)
        return answers().confirmOverwriteChangedFile(documentName);
    // Asked without answers set up for a test: never overwrite silently.
    if (answers().presentError)
        return false;
    return askForAction(
        parent, QMessageBox::Warning,
        L(QStringLiteral("« %1 » a été modifié par une autre application depuis son ouverture.")
              .arg(documentName),
          QStringLiteral("“%1” has been changed by another application since it was opened.")
              .arg(documentName)),
        L(QStringLiteral("L’enregistrer remplacera ces modifications par votre version."),
          QStringLiteral("Saving will replace those changes with your version.")),
        L(QStringLiteral("Enregistrer quand même"), QStringLiteral("Save Anyway")),
        QMessageBox::DestructiveRole, false);
}

} // namespace plumeo::Alerts
