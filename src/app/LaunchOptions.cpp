#include "LaunchOptions.h"

#include "AppVersion.h"
#include "io/NativePath.h"
#include "text/Localization.h"

#include <cstdio>

#include <sys/stat.h>

namespace plumeo {

namespace {

constexpr qint64 largestNumber = qint64(1) << 40;

// Decimal digits only; past any real line count the value stops growing (the opener clamps).
std::optional<qint64> number(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(value * 10 + (c.unicode() - u'0'), largestNumber);
    }
    return value;
}

// "LINE" or "LINE:COL".
std::optional<TextPlace> place(QStringView text)
{
    const qsizetype colon = text.indexOf(u':');
    const auto line = number(colon < 0 ? text : text.first(colon));
    if (!line)
        return std::nullopt;
    TextPlace result{std::max<qint64>(*line, 1), std::nullopt};
    if (colon >= 0) {
        const auto column = number(text.sliced(colon + 1));
        if (!column)
            return std::nullopt;
        result.column = std::max<qint64>(*column, 1);
    }
    return result;
}

// name as FILE:LINE or FILE:LINE:COL, when it has that shape with a non-empty FILE.
struct Reading
{
    QString file;
    TextPlace place;
};
std::optional<Reading> readingWithLine(const QString &name)
{
    const qsizetype colon = name.lastIndexOf(u':');
    if (colon <= 0)
        return std::nullopt;
    const auto line = number(QStringView(name).sliced(colon + 1));
    if (!line)
        return std::nullopt;
    return Reading{name.first(colon), {std::max<qint64>(*line, 1), std::nullopt}};
}
std::optional<Reading> readingWithColumn(const QString &name)
{
    const auto inner = readingWithLine(name);
    if (!inner)
        return std::nullopt;
    const auto outer = readingWithLine(inner->file);
    if (!outer)
        return std::nullopt;
    return Reading{outer->file, {outer->place.line, inner->place.line}};
}

// What a file word means: the name as written when it exists, else FILE:LINE when that file
// exists (a name with a colon in it wins over a column), else FILE:LINE:COL when that one does,
// else the longest reading, for a file yet to be created.
LaunchFile fileFromName(const QString &name, const LaunchOptions::Exists &exists)
{
    if (exists(name))
        return {name, std::nullopt};
    const auto withLine = readingWithLine(name);
    const auto withColumn = readingWithColumn(name);
    if (withLine && exists(withLine->file))
        return {withLine->file, withLine->place};
    if (withColumn && exists(withColumn->file))
        return {withColumn->file, withColumn->place};
    if (withColumn)
        return {withColumn->file, withColumn->place};
    if (withLine)
        return {withLine->file, withLine->place};
    return {name, std::nullopt};
}

// Qt's own command-line options, which QGuiApplication and QApplication take out of argv: the
// ones followed by a value, and the flags. Qt also accepts them with two dashes, and a value
// after "=" for some.
bool isQtOptionWithValue(QStringView option)
{
    static const char *const names[] = {
        "platform",
        "platformpluginpath",
        "platformtheme",
        "plugin",
        "qwindowgeometry",
        "geometry",
        "qwindowtitle",
        "title",
        "qwindowicon",
        "icon",
        "session",
        "display",
        "name",
        "style",
        "stylesheet",
    };
    for (const char *name : names)
        if (option == QLatin1StringView(name))
            return true;
    return false;
}
bool isQtFlag(QStringView option)
{
    static const char *const names[] = {"reverse", "testability", "widgetcount",
                                        "nograb",  "dograb",      "sync"};
    for (const char *name : names)
        if (option == QLatin1StringView(name))
            return true;
    return option.startsWith(u"style=") || option.startsWith(u"stylesheet=")
           || option.startsWith(u"qmljsdebugger=");
}
// The Qt option word at arguments[at] without its dashes, if it is one.
std::optional<QStringView> qtOption(const QString &word)
{
    if (word.size() < 2 || word[0] != u'-' || (word[1] == u'-' && word.size() < 3))
        return std::nullopt;
    QStringView bare = QStringView(word).sliced(word.startsWith(u"--") ? 2 : 1);
    if (isQtOptionWithValue(bare) || isQtFlag(bare))
        return bare;
    return std::nullopt;
}

bool isLanguage(const QString &value)
{
    const QString lower = value.toLower();
    return lower.startsWith(u"en") || lower.startsWith(u"fr") || lower == u"system";
}

} // namespace

bool LaunchOptions::existsOnDisk(const QString &path)
{
    struct stat status;
    return ::lstat(NativePath::encode(path).constData(), &status) == 0;
}

LaunchOptions LaunchOptions::parse(const QStringList &arguments, const Exists &exists)
{
    LaunchOptions options;
    const auto fail = [&options](UsageError::Kind kind, const QString &argument) {
        options.action = Action::usageError;
        options.error = UsageError{kind, argument};
        options.files.clear();
        return options;
    };
    bool optionsEnded = false;
    bool snapshotSeen = false;
    bool standardInputTaken = false;
    std::optional<std::pair<TextPlace, QString>> pendingPlace; // and the word that gave it
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QString &word = arguments[at];
        if (!optionsEnded && word.size() > 1 && word.startsWith(u'-')) {
            if (word == u"--") {
                optionsEnded = true;
            } else if (word == u"--help" || word == u"-h") {
                options.action = Action::help;
                return options;
            } else if (word == u"--version") {
                options.action = Action::version;
                return options;
            } else if (word == u"--new-window") {
                options.newWindow = true;
            } else if (word == u"--lang") {
                if (at + 1 >= arguments.size())
                    return fail(UsageError::Kind::missingValue, word);
                if (!isLanguage(arguments[++at]))
                    return fail(UsageError::Kind::badLanguage, arguments[at]);
            } else if (word == u"--snapshot") {
                // As AppDelegate::snapshotRequest reads it: the output, then the input, whatever
                // they look like. A later --snapshot is not read as one there, nor here.
                if (!snapshotSeen)
                    at += std::min<qsizetype>(2, arguments.size() - 1 - at);
                snapshotSeen = true;
            } else if (const auto qt = qtOption(word)) {
                if (isQtOptionWithValue(*qt))
                    ++at;
            } else {
                return fail(UsageError::Kind::unknownOption, word);
            }
            continue;
        }
        if (!optionsEnded && word.startsWith(u'+')) {
            if (const auto given = place(QStringView(word).sliced(1))) {
                pendingPlace = {*given, word};
                continue;
            }
        }
        if (word == u"-") {
            // Standard input can be read only once: a second "-" names the same document.
            if (!standardInputTaken)
                options.files.append({QStringLiteral("/dev/stdin"), std::nullopt, at});
            standardInputTaken = true;
            pendingPlace.reset();
            continue;
        }
        LaunchFile file =
            pendingPlace ? LaunchFile{word, pendingPlace->first} : fileFromName(word, exists);
        file.argumentIndex = at;
        options.files.append(file);
        pendingPlace.reset();
    }
    if (pendingPlace)
        return fail(UsageError::Kind::placeWithoutFile, pendingPlace->second);
    return options;
}

QString LaunchOptions::UsageError::message() const
{
    switch (kind) {
    case Kind::unknownOption:
        return L(QStringLiteral("option inconnue « %1 »"), QStringLiteral("unknown option “%1”"))
            .arg(argument);
    case Kind::missingValue:
        return L(QStringLiteral("l’option « %1 » demande une valeur"),
                 QStringLiteral("option “%1” needs a value"))
            .arg(argument);
    case Kind::badLanguage:
        return L(QStringLiteral("langue inconnue « %1 » (fr, en ou system)"),
                 QStringLiteral("unknown language “%1” (fr, en or system)"))
            .arg(argument);
    case Kind::placeWithoutFile:
        return L(QStringLiteral("« %1 » doit être suivi d’un fichier"),
                 QStringLiteral("“%1” must be followed by a file"))
            .arg(argument);
    }
    return argument;
}

QString LaunchOptions::helpText()
{
    return L(QStringLiteral(
                 "Utilisation : plumeo [OPTION…] [FICHIER[:LIGNE[:COLONNE]]…]\n"
                 "Ouvre les fichiers dans Plumeo, un éditeur de texte et de code.\n"
                 "\n"
                 "  FICHIER:LIGNE[:COLONNE]  ouvre FICHIER à cette ligne (et colonne), comptées "
                 "depuis 1\n"
                 "  +LIGNE[:COLONNE] FICHIER  de même, FICHIER étant pris tel quel\n"
                 "  -                        lit l’entrée standard dans un document sans titre\n"
                 "  --new-window             ouvre les fichiers dans une nouvelle fenêtre\n"
                 "  --lang fr|en|system      langue de l’interface pour cette fois\n"
                 "  --snapshot [SORTIE [ENTRÉE]]  enregistre une image de la fenêtre en PNG, "
                 "puis quitte\n"
                 "  -h, --help               affiche cette aide et quitte\n"
                 "      --version            affiche la version et quitte\n"
                 "  --                       les mots suivants sont des noms de fichiers\n"
                 "\n"
                 "Un FICHIER qui n’existe pas encore, dans un dossier qui existe, s’ouvre vide ; "
                 "il est créé\n"
                 "au premier enregistrement. Si Plumeo est déjà ouvert, les fichiers s’ouvrent "
                 "dans celui-ci.\n"),
             QStringLiteral(
                 "Usage: plumeo [OPTION…] [FILE[:LINE[:COLUMN]]…]\n"
                 "Opens the files in Plumeo, a text and code editor.\n"
                 "\n"
                 "  FILE:LINE[:COLUMN]       opens FILE at that line (and column), counted from "
                 "1\n"
                 "  +LINE[:COLUMN] FILE      the same, with FILE taken as written\n"
                 "  -                        reads standard input into an untitled document\n"
                 "  --new-window             opens the files in a new window\n"
                 "  --lang fr|en|system      the interface language for this run\n"
                 "  --snapshot [OUT [IN]]    writes a PNG picture of the window, then quits\n"
                 "  -h, --help               shows this help and exits\n"
                 "      --version            shows the version and exits\n"
                 "  --                       the words after it are file names\n"
                 "\n"
                 "A FILE that does not exist yet, in a folder that does, opens empty; it is "
                 "created when first\n"
                 "saved. When Plumeo is already running, the files open in it.\n"));
}

QString LaunchOptions::versionText()
{
    return AppVersion::description() + u'\n';
}

QString LaunchOptions::usageErrorText(const UsageError &error)
{
    return L(QStringLiteral("plumeo : %1\nEssayez « plumeo --help » pour en savoir plus.\n"),
             QStringLiteral("plumeo: %1\nTry “plumeo --help” for more information.\n"))
        .arg(error.message());
}

int LaunchOptions::printAndExitStatus() const
{
    const auto print = [](FILE *stream, const QString &text) {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
        std::fflush(stream);
    };
    switch (action) {
    case Action::help:
        print(stdout, helpText());
        return 0;
    case Action::version:
        print(stdout, versionText());
        return 0;
    case Action::usageError:
        print(stderr, usageErrorText(error.value_or(UsageError{})));
        return 2;
    case Action::open:
        break;
    }
    return 0;
}

} // namespace plumeo
