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

} // namespace

std::function<bool(const DocumentError &)> &saveAsAnswer()
{
    static std::function<bool(const DocumentError &)> instance;
    return instance;
}

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
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Plumeo"));
    box.setText(error.description);
    if (error.recoverySuggestion)
        box.setInformativeText(*error.recoverySuggestion);
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
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Plumeo"));
    box.setText(error.description);
    if (error.recoverySuggestion)
        box.setInformativeText(*error.recoverySuggestion);
    QPushButton *saveAs =
        box.addButton(L(QStringLiteral("Enregistrer sous…"), QStringLiteral("Save As…")),
                      QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(L(QStringLiteral("Annuler"), QStringLiteral("Cancel")),
                                        QMessageBox::RejectRole);
    box.setDefaultButton(saveAs);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == saveAs;
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
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Plumeo"));
    box.setText(
        L(QStringLiteral("Voulez-vous enregistrer les modifications apportées au document « %1 » ?")
              .arg(documentName),
          QStringLiteral("Do you want to save the changes made to the document “%1”?")
              .arg(documentName)));
    box.setInformativeText(
        L(QStringLiteral("Vos modifications seront perdues si vous ne les enregistrez pas."),
          QStringLiteral("Your changes will be lost if you don’t save them.")));
    QPushButton *save = box.addButton(L(QStringLiteral("Enregistrer"), QStringLiteral("Save")),
                                      QMessageBox::AcceptRole);
    QPushButton *discard =
        box.addButton(L(QStringLiteral("Ne pas enregistrer"), QStringLiteral("Don’t Save")),
                      QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(L(QStringLiteral("Annuler"), QStringLiteral("Cancel")),
                                        QMessageBox::RejectRole);
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
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QStringLiteral("Plumeo"));
    box.setText(
        L(QStringLiteral("Revenir à la dernière version enregistrée de « %1 » ?").arg(documentName),
          QStringLiteral("Revert to the last saved version of “%1”?").arg(documentName)));
    box.setInformativeText(L(QStringLiteral("Vos modifications actuelles seront perdues."),
                             QStringLiteral("Your current changes will be lost.")));
    QPushButton *revert = box.addButton(L(QStringLiteral("Revenir"), QStringLiteral("Revert")),
                                        QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(L(QStringLiteral("Annuler"), QStringLiteral("Cancel")),
                                        QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == revert;
}

bool confirmOverwriteChangedFile(QWidget *parent, const QString &documentName)
{
    if (answers().confirmOverwriteChangedFile)
        return answers().confirmOverwriteChangedFile(documentName);
    // Asked without answers set up for a test: never overwrite silently.
    if (answers().presentError)
        return false;
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Plumeo"));
    box.setText(L(QStringLiteral("« %1 » a été modifié par une autre application depuis son "
                                 "ouverture.")
                      .arg(documentName),
                  QStringLiteral("“%1” has been changed by another application since it was "
                                 "opened.")
                      .arg(documentName)));
    box.setInformativeText(
        L(QStringLiteral("L’enregistrer remplacera ces modifications par votre version."),
          QStringLiteral("Saving will replace those changes with your version.")));
    QPushButton *save =
        box.addButton(L(QStringLiteral("Enregistrer quand même"), QStringLiteral("Save Anyway")),
                      QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(L(QStringLiteral("Annuler"), QStringLiteral("Cancel")),
                                        QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == save;
}

} // namespace plumeo::Alerts
