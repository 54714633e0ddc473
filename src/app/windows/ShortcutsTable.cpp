#include "ShortcutsTable.h"

#include <QKeySequence>
#include <QStringList>

namespace plumeo::ShortcutsTable {

using namespace Qt::Literals::StringLiterals;
using enum Command;

const std::vector<Group> &groups()
{
    static const std::vector<Group> table{
        {u"Fichier"_s,
         u"File"_s,
         {
             {{newDocument}, u"Nouveau document"_s, u"New document"_s},
             {{openDocument},
              u"Ouvrir… (fichiers masqués au choix)"_s,
              u"Open… (optional hidden files)"_s},
             {{saveDocument}, u"Enregistrer"_s, u"Save"_s},
             {{duplicateDocument}, u"Dupliquer"_s, u"Duplicate"_s},
             {{saveDocumentAs}, u"Enregistrer sous…"_s, u"Save As…"_s},
             {{performClose}, u"Fermer l’onglet ou la fenêtre"_s, u"Close tab or window"_s},
             {{showSettings}, u"Réglages"_s, u"Settings"_s},
             {{toggleFullScreen}, u"Plein écran"_s, u"Full Screen"_s},
         }},
        {u"Édition"_s,
         u"Edit"_s,
         {
             {{undo, redo}, u"Annuler / Rétablir"_s, u"Undo / Redo"_s},
             {{duplicateLine}, u"Dupliquer la ligne"_s, u"Duplicate line"_s},
             {{deleteLine}, u"Supprimer la ligne"_s, u"Delete line"_s},
             {{moveLineUp, moveLineDown}, u"Déplacer la ligne"_s, u"Move line"_s},
             {{indentSelection, outdentSelection},
              u"Indenter / Désindenter"_s,
              u"Indent / Outdent"_s},
             // The text view indents a selection with Tab itself; no menu item carries the key.
             {{QKeyCombination(Qt::Key_Tab), QKeyCombination(Qt::ShiftModifier, Qt::Key_Tab)},
              u"Indenter / Désindenter la sélection"_s,
              u"Indent / Outdent selection"_s},
             {{toggleComment}, u"Commenter / Décommenter"_s, u"Toggle comment"_s},
             {{QKeyCombination(Qt::Key_Return)},
              u"Nouvelle ligne indentée comme la précédente"_s,
              u"New line indented like the previous one"_s},
         }},
        {u"Recherche & Présentation"_s,
         u"Find & View"_s,
         {
             {{find}, u"Rechercher"_s, u"Find"_s},
             {{findAndReplace}, u"Rechercher et remplacer"_s, u"Find and replace"_s},
             {{findNext, findPrevious},
              u"Occurrence suivante / précédente"_s,
              u"Next / previous match"_s},
             {{useSelectionForFind},
              u"Utiliser la sélection pour la recherche"_s,
              u"Use selection for find"_s},
             {{goToLine}, u"Aller à la ligne…"_s, u"Go to line…"_s},
             {{toggleWordWrap}, u"Retour à la ligne automatique"_s, u"Word wrap"_s},
             {{toggleLineNumbers}, u"Numéros de ligne"_s, u"Line numbers"_s},
             {{toggleMarkdownMarkup}, u"Masquer les balises Markdown"_s, u"Hide Markdown markup"_s},
             {{increaseFontSize, decreaseFontSize, resetFontSize},
              u"Taille du texte"_s,
              u"Text size"_s},
             {{bold, italic, underline},
              u"Gras / italique / souligné (RTF)"_s,
              u"Bold / italic / underline (RTF)"_s},
             {{showFontPanel, showColorPanel},
              u"Polices / couleurs (RTF)"_s,
              u"Fonts / colors (RTF)"_s},
             {{showHelp, showShortcuts}, u"Aide / Cette liste"_s, u"Help / This list"_s},
         }},
    };
    return table;
}

QString keyText(QKeyCombination key)
{
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

QString keyText(Command command)
{
    const CommandInfo &info = Commands::info(command);
    QStringList keys;
    for (const QKeyCombination key : {info.shortcut, info.alternateShortcut})
        if (key.key() != Qt::Key_unknown)
            keys << keyText(key);
    return keys.join(u" / ");
}

QString keyText(const Key &key)
{
    return std::visit([](const auto &value) { return keyText(value); }, key);
}

QString keysText(const Entry &entry)
{
    QStringList keys;
    for (const Key &key : entry.keys)
        keys << keyText(key);
    return keys.join(u" / ");
}

} // namespace plumeo::ShortcutsTable
