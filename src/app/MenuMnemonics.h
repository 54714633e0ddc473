#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace plumeo {

// Keyboard mnemonics (the underlined letter Alt opens a menu or chooses an item with) and the '&'
// that marks them in a Qt title.
namespace MenuMnemonics {

// The titles of one menu, each with a mnemonic ('&' before one letter or digit) that no other title
// of the list shares, letter case and nothing else ignored. A title keeps a mnemonic it already
// has. The others take, in this order of preference and first come first served: their first
// letter, the first letter of another word, any other letter or digit of theirs. A title whose
// characters are all taken gets none. Titles must not contain a literal '&' other than their own
// mnemonic: escape data with escaped() first.
QStringList assigned(const QStringList &titles);

// newTitle for an item whose title was oldTitle, keeping the letter Alt chose it with when newTitle
// has it, else taking one that none of its siblings (taken: their mnemonics) uses.
QString retitled(const QString &oldTitle, const QString &newTitle, const QSet<QChar> &taken);

// text shown as it is in a menu or a tab: every '&' doubled, so that a file named "R&D.txt" is not
// read as "RD.txt" with an underlined D.
QString escaped(const QString &text);

// The title as it reads on screen: the mnemonic marker removed, "&&" back to "&".
QString plain(const QString &title);

// The mnemonic character of title, lower-cased, or a null QChar when it has none.
QChar of(const QString &title);

} // namespace MenuMnemonics

} // namespace plumeo
