#include "io/VersionStoreError.h"

#include "io/SystemError.h"
#include "text/Localization.h"

namespace plumeo {

QString VersionStoreError::description() const
{
    switch (kind) {
    case Kind::cannotWrite:
        return L(QStringLiteral("L’historique des versions n’a pas pu être enregistré."),
                 QStringLiteral("The version history could not be written."));
    case Kind::damagedIndex:
        return L(QStringLiteral("L’historique des versions de ce fichier est endommagé ; il est "
                                "ignoré."),
                 QStringLiteral("The version history of this file is damaged; it is ignored."));
    case Kind::missingContents:
        return L(QStringLiteral("Le contenu de cette version est introuvable ou endommagé."),
                 QStringLiteral("The contents of this version are missing or damaged."));
    }
    return {};
}

QString VersionStoreError::logText() const
{
    static const char *const kinds[] = {"cannot write", "damaged index", "missing contents"};
    QString text = QString::fromLatin1(kinds[int(kind)]) + QStringLiteral(": ") + detail;
    if (systemError != 0)
        text += u' ' + SystemError::describe(systemError);
    return text;
}

} // namespace plumeo
