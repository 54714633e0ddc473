#include "AutosaveAlerts.h"

#include "io/NativePath.h"
#include "io/SafeFileWriter.h"
#include "text/Localization.h"

#include <QMessageBox>

namespace plumeo::AutosaveAlerts {

namespace {

std::function<void(const DocumentError &)> &receiver()
{
    static std::function<void(const DocumentError &)> instance;
    return instance;
}

bool &problemPresented()
{
    static bool presented = false;
    return presented;
}

void present(const DocumentError &message)
{
    if (receiver()) {
        receiver()(message);
        return;
    }
    auto *box =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Plumeo"), message.description);
    if (message.recoverySuggestion)
        box->setInformativeText(*message.recoverySuggestion);
    box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

QString listed(const QStringList &paths)
{
    QStringList shown;
    for (const QString &path : paths)
        shown.append(NativePath::display(path));
    return shown.join(u'\n');
}

} // namespace

void setReceiverForTesting(std::function<void(const DocumentError &)> replacement)
{
    receiver() = std::move(replacement);
    problemPresented() = false;
}

void presentAutosaveProblem(const FileWriteError &error)
{
    if (problemPresented())
        return;
    problemPresented() = true;
    present({L(QStringLiteral("Vos modifications non enregistrées ne peuvent pas être mises à "
                              "l’abri."),
               QStringLiteral("Your unsaved changes can’t be kept safe.")),
             error.reason() + u' '
                 + L(QStringLiteral("Vous pouvez continuer à travailler, mais en cas de panne, "
                                    "ce que vous n’avez pas enregistré serait perdu. Enregistrez "
                                    "vos documents."),
                     QStringLiteral("You can keep working, but if Plumeo stopped unexpectedly, "
                                    "what you haven’t saved would be lost. Save your "
                                    "documents."))});
}

void presentUnreadableAutosaves(const QStringList &paths)
{
    present({L(QStringLiteral("Certaines copies de documents non enregistrés n’ont pas pu être "
                              "lues."),
               QStringLiteral("Some copies of unsaved documents couldn’t be read.")),
             L(QStringLiteral("Elles sont endommagées ou ne viennent pas de Plumeo. Rien n’en a "
                              "été ouvert ; elles ont été mises de côté :\n%1"),
               QStringLiteral("They are damaged or weren’t made by Plumeo. Nothing was opened "
                              "from them; they were set aside:\n%1"))
                 .arg(listed(paths))});
}

void presentUnreadableSession(const QString &path)
{
    present({L(QStringLiteral("Les fenêtres de votre dernière session n’ont pas pu être "
                              "rouvertes."),
               QStringLiteral("The windows of your last session couldn’t be reopened.")),
             L(QStringLiteral("Le fichier « %1 » est endommagé ou ne vient pas de Plumeo. Rien "
                              "n’en a été ouvert."),
               QStringLiteral("The file “%1” is damaged or wasn’t made by Plumeo. Nothing was "
                              "opened from it."))
                 .arg(NativePath::display(path))});
}

void presentMissingSessionFiles(const QStringList &paths)
{
    present({paths.size() == 1
                 ? L(QStringLiteral("Un fichier de votre dernière session n’a pas pu être "
                                    "rouvert."),
                     QStringLiteral("A file of your last session couldn’t be reopened."))
                 : L(QStringLiteral("%1 fichiers de votre dernière session n’ont pas pu être "
                                    "rouverts."),
                     QStringLiteral("%1 files of your last session couldn’t be reopened."))
                       .arg(paths.size()),
             L(QStringLiteral("Introuvable ou illisible :\n%1"),
               QStringLiteral("Missing or unreadable:\n%1"))
                 .arg(listed(paths))});
}

} // namespace plumeo::AutosaveAlerts
