#pragma once

#include "Command.h"

#include <variant>
#include <vector>

#include <QKeyCombination>
#include <QString>

namespace plumeo {

// The keyboard-shortcuts reference: three groups of entries, each entry naming the commands (or,
// for keys the editor handles itself, the keys) it describes. The keys are never written here:
// they come from the command table, as the menus show them (Qt's native text, so they read
// "Ctrl+Shift+K" like the menu items, in the language of Qt's own texts).
namespace ShortcutsTable {

// A command of the menus, or a key the text view answers without a menu item (Tab, Return).
using Key = std::variant<Command, QKeyCombination>;

struct Entry
{
    std::vector<Key> keys; // shown one after another, separated by " / "
    QString french;
    QString english;
};

struct Group
{
    QString french;
    QString english;
    std::vector<Entry> entries;
};

// File, Edit, Find & View: 8, 8 and 12 entries.
const std::vector<Group> &groups();

// A command's shortcuts as its menu item shows them ("Ctrl+Shift+Z"); a command with a second
// key gives both ("Meta+Ctrl+F / F11"); empty for a command without one.
QString keyText(Command command);
QString keyText(QKeyCombination key);
QString keyText(const Key &key);
// Every key of the entry, joined by " / ".
QString keysText(const Entry &entry);

} // namespace ShortcutsTable

} // namespace plumeo
