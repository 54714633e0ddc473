#include "Preferences.h"

#include "base/AppIdentifier.h"
#include "base/LogCategories.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <algorithm>
#include <cmath>

#include <QFontDatabase>
#include <QJsonObject>
#include <QtDebug>

namespace plumeo {

namespace Preferences {

namespace Key {

// clang-format off
QString language() { return Localization::defaultsKey(); }
QString fontSize() { return QStringLiteral("fontSize"); }
QString fontName() { return QStringLiteral("fontName"); }
QString tabWidth() { return QStringLiteral("tabWidth"); }
QString indentWithTabs() { return QStringLiteral("indentWithTabs"); }
QString wordWrap() { return QStringLiteral("wordWrap"); }
QString showLineNumbers() { return QStringLiteral("showLineNumbers"); }
QString highlightCurrentLine() { return QStringLiteral("highlightCurrentLine"); }
QString autoIndent() { return QStringLiteral("autoIndent"); }
QString autoOutdentClosingBrace() { return QStringLiteral("autoOutdentClosingBrace"); }
QString highlightMatchingBrackets() { return QStringLiteral("highlightMatchingBrackets"); }
QString commentWholeLine() { return QStringLiteral("commentWholeLine"); }
QString defaultEncoding() { return QStringLiteral("defaultEncoding"); }
QString defaultLineEnding() { return QStringLiteral("defaultLineEnding"); }
QString showHiddenFiles() { return QStringLiteral("showHiddenFiles"); }
QString hideMarkdownMarkup() { return QStringLiteral("hideMarkdownMarkup"); }
QString autoCheckUpdates() { return appKey(u".autoCheckUpdates"); }
QString restoreSession() { return QStringLiteral("restoreSession"); }
// clang-format on

} // namespace Key

const std::vector<Default> &defaults()
{
    using T = ValueType;
    static const std::vector<Default> table{
        {Key::language(), T::string, QStringLiteral("system")},
        {Key::fontSize(), T::number, 13.0},
        {Key::fontName(), T::string, QLatin1String("")},
        {Key::tabWidth(), T::integer, 4},
        {Key::indentWithTabs(), T::boolean, false},
        {Key::wordWrap(), T::boolean, true},
        {Key::showLineNumbers(), T::boolean, true},
        {Key::highlightCurrentLine(), T::boolean, true},
        {Key::autoIndent(), T::boolean, true},
        {Key::autoOutdentClosingBrace(), T::boolean, true},
        {Key::highlightMatchingBrackets(), T::boolean, true},
        {Key::commentWholeLine(), T::boolean, true},
        {Key::defaultEncoding(), T::integer, qint64(Encoding::utf8Raw)},
        {Key::defaultLineEnding(), T::string, QStringLiteral("LF")},
        {Key::showHiddenFiles(), T::boolean, false},
        {Key::hideMarkdownMarkup(), T::boolean, false},
        {Key::autoCheckUpdates(), T::boolean, true},
        {Key::restoreSession(), T::boolean, true},
    };
    return table;
}

void registerDefaults()
{
    QJsonObject object;
    for (const Default &entry : defaults())
        object.insert(entry.key, entry.value);
    UserDefaults::standard().registerDefaults(object);
}

namespace {

// The default of key when it is of type; nothing (after asserting) when the caller asked for a key
// or a type the table does not have.
std::optional<QJsonValue> defaultOf(const QString &key, ValueType type)
{
    const auto &table = defaults();
    const auto entry =
        std::find_if(table.begin(), table.end(), [&](const Default &d) { return d.key == key; });
    if (entry != table.end() && entry->type == type)
        return entry->value;
    Q_ASSERT_X(false, "Preferences", "no default of the requested type for this key");
    qCWarning(logSettings, "the setting %s is read with a type it does not have", qPrintable(key));
    return std::nullopt;
}

// The value stored for key, not counting registered defaults.
std::optional<QJsonValue> stored(const QString &key)
{
    const UserDefaults &store = UserDefaults::standard();
    if (!store.contains(key))
        return std::nullopt;
    return store.value(key);
}

std::optional<QString> stringValue(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

// JSON has no infinities or NaN; one set in memory is as unusable as a string.
std::optional<double> finiteNumber(const QJsonValue &value)
{
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

std::optional<qint64> wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const qint64 whole = value.toInteger(0);
    // toInteger answers the fallback for a fraction or a value beyond 64 bits.
    if (whole == 0 && value.toDouble() != 0.0)
        return std::nullopt;
    return whole;
}

std::optional<bool> booleanReading(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isDouble())
        return value.toDouble() != 0.0;
    if (value.isString()) {
        const QString text = value.toString();
        for (const char *yes : {"true", "yes", "1"})
            if (text.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0)
                return true;
        for (const char *no : {"false", "no", "0"})
            if (text.compare(QLatin1String(no), Qt::CaseInsensitive) == 0)
                return false;
    }
    return std::nullopt;
}

// The stored value of key when accept takes it, else key's default.
template <typename T>
T read(const QString &key, ValueType type, std::optional<T> (*accept)(const QJsonValue &))
{
    const auto fallback = defaultOf(key, type);
    if (!fallback)
        return T{};
    if (const auto value = stored(key))
        if (const auto typed = accept(*value))
            return *typed;
    return accept(*fallback).value_or(T{});
}

} // namespace

QString string(const QString &key)
{
    return read<QString>(key, ValueType::string, stringValue);
}

double number(const QString &key)
{
    return read<double>(key, ValueType::number, finiteNumber);
}

qint64 integer(const QString &key)
{
    return read<qint64>(key, ValueType::integer, wholeNumber);
}

bool boolean(const QString &key)
{
    return read<bool>(key, ValueType::boolean, booleanReading);
}

void set(const QString &key, const std::optional<QJsonValue> &value)
{
    if (value)
        UserDefaults::standard().set(key, *value);
    else
        UserDefaults::standard().remove(key);
}

void setLanguage(AppLanguage language)
{
    Localization::setCurrent(language);
    // Menus never change language in place: each window's bar is replaced by one built now.
    for (EditorWindowController *window : EditorWindowController::all())
        window->rebuildMenuBar();
}

Encoding preferredEncoding()
{
    const qint64 raw = integer(Key::defaultEncoding());
    if (raw < 1)
        return Encoding::utf8();
    const Encoding encoding(static_cast<quint64>(raw));
    return encoding.isKnown() ? encoding : Encoding::utf8();
}

LineEnding defaultLineEnding()
{
    return LineEnding::fromRawValue(string(Key::defaultLineEnding())).value_or(LineEnding::lf);
}

QFont editorFont()
{
    const double size = std::clamp(number(Key::fontSize()), 1.0, 512.0);
    const QString name = string(Key::fontName());
    QFont font;
    if (!name.isEmpty() && QFontDatabase::families().contains(name, Qt::CaseInsensitive))
        font = QFont(name);
    else
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(size);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

} // namespace Preferences

} // namespace plumeo
