#pragma once

#include "text/AppLanguage.h"
#include "text/Encoding.h"
#include "text/LineEnding.h"

#include <optional>
#include <vector>

#include <QFont>
#include <QJsonValue>
#include <QObject>
#include <QString>

namespace plumeo {

// The user's settings: their keys, types and defaults, and typed access over
// UserDefaults::standard(). Nothing is cached: every read asks the store, so a change made anywhere
// is seen by the next read.
namespace Preferences {

// The keys. Two of them belong to other parts of the program (the interface language and the update
// checker) and are only referred to here, so that every reader uses the same strings.
namespace Key {
QString language();                  // Localization::defaultsKey()
QString fontSize();                  // number, points
QString fontName();                  // string; empty: the system's monospaced font
QString tabWidth();                  // integer, characters
QString indentWithTabs();            // boolean
QString wordWrap();                  // boolean
QString showLineNumbers();           // boolean
QString highlightCurrentLine();      // boolean
QString autoIndent();                // boolean
QString autoOutdentClosingBrace();   // boolean
QString highlightMatchingBrackets(); // boolean
QString commentWholeLine();          // boolean
QString defaultEncoding();           // integer: an Encoding raw value; below 1 means UTF-8
QString defaultLineEnding();         // string: "LF", "CRLF" or "CR"; anything else means LF
QString showHiddenFiles();           // boolean
QString hideMarkdownMarkup();        // boolean
QString autoCheckUpdates();          // appKey(".autoCheckUpdates")
QString restoreSession();            // boolean: a plain start reopens the windows of the last quit
} // namespace Key

enum class ValueType { string, number, integer, boolean };

struct Default
{
    QString key;
    ValueType type;
    QJsonValue value;
};

// Every setting with its type and default value, in a fixed order.
const std::vector<Default> &defaults();
// Makes the defaults the store's registered defaults (once at launch; harmless to repeat).
void registerDefaults();

// Typed reading. A value stored under the key counts only when it is of the requested type (a
// string stored under fontSize is ignored); otherwise the default is answered. Asking for a key
// whose default is not of the requested type is a programming error: it asserts, and answers an
// empty string, 0 or false in a release build.
//
// boolean() is more lenient, as settings stores usually are: a stored true or false, a number (0 is
// false, any other number true) or one of the strings "true", "yes", "1" and "false", "no", "0" (in
// any letter case) are read as a Boolean. Any other stored value (another string, a list, null) is
// ignored like a value of the wrong type, so that a damaged entry never turns a feature off.
//
// integer() accepts a stored number only when it is whole and fits in 64 bits; number() accepts any
// finite stored number.
QString string(const QString &key);
double number(const QString &key);
qint64 integer(const QString &key);
bool boolean(const QString &key);

// Stores value under key, or removes the key when value is nothing (so that it reads as its default
// again). The store announces the change once, with UserDefaults::changed, as it does for every
// write wherever it comes from.
void set(const QString &key, const std::optional<QJsonValue> &value);

// Switches the interface language while the program runs. Sets Localization::current, which
// stores the choice (the store then announces the language key with UserDefaults::changed, even
// when the language was already in force) and, only when it changed, tells everything that shows
// text through Localization::notifier(): editors, find bars, notices, window and tab titles,
// hosted windows, Qt's own texts. Then every editor window gets a menu bar built anew in the
// language, also when it was already in force. Main thread only.
void setLanguage(AppLanguage language);

// The encoding to decode with and to give new documents. UTF-8 when the stored number is below 1,
// or names no encoding this program can convert (a hand-edited settings file), so that new
// documents can always be saved.
Encoding preferredEncoding();
// The line ending of new documents: "CRLF" and "CR" (exactly) give those, anything else LF.
LineEnding defaultLineEnding();
// The editor's font: the family fontName at fontSize points, or the system's monospaced font at
// that size when fontName is empty or names no installed family. Regular weight, upright. The size
// is kept within 1 to 512 points whatever is stored, so that a damaged setting cannot ask for a
// font too large to draw.
QFont editorFont();

} // namespace Preferences

} // namespace plumeo
