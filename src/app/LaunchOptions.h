#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

namespace plumeo {

// A place in a text given on the command line: 1-based line and, when given, 1-based column in
// UTF-16 code units. Never below 1 (0 reads as 1); the opener clamps to the text.
struct TextPlace
{
    qint64 line = 1;
    std::optional<qint64> column;

    friend bool operator==(const TextPlace &, const TextPlace &) = default;
};

// A file named on the command line, with the place to show when one was given.
struct LaunchFile
{
    QString path; // as given; "-" (standard input) is "/dev/stdin"
    std::optional<TextPlace> place;
    // Index in the parsed arguments of the word that named the file.
    qsizetype argumentIndex = -1;

    friend bool operator==(const LaunchFile &, const LaunchFile &) = default;
};

// What a command line asks for, decided without a display and without touching the interface
// language (texts are made when printed, once --lang can be seen), so that --help, --version and
// mistakes are answered before any window system is needed.
//
// Recognised:
//   FILE, FILE:LINE, FILE:LINE:COL   a name that exists as written wins over the FILE:LINE reading
//   +LINE[:COL] FILE                 FILE is then taken as written
//   -                                standard input, read once into an untitled document
//   --new-window, --lang X, --snapshot [OUT [IN]], --help/-h, --version
//   --                               every later word is a file name
// Qt's own options (-platform NAME, -style NAME, …) are passed over: Qt takes them.
class LaunchOptions
{
public:
    enum class Action { open, help, version, usageError };
    struct UsageError
    {
        enum class Kind {
            unknownOption,   // argument is the option
            missingValue,    // argument is the option that needs one
            badLanguage,     // argument is the value given to --lang
            placeWithoutFile // argument is the +LINE word
        };
        Kind kind = Kind::unknownOption;
        QString argument;
        // One line without "plumeo: " or a line feed, in the interface language.
        QString message() const;
        friend bool operator==(const UsageError &, const UsageError &) = default;
    };

    // Whether a path names something (a dangling link too). path is in NativePath form.
    using Exists = std::function<bool(const QString &path)>;
    static bool existsOnDisk(const QString &path);

    // arguments: after the program name. Reading stops at --help, --version or the first mistake.
    static LaunchOptions parse(const QStringList &arguments, const Exists &exists = existsOnDisk);

    Action action = Action::open;
    std::optional<UsageError> error;
    bool newWindow = false;
    QList<LaunchFile> files;

    // The texts printed for --help and --version, and for a mistake (with the hint to --help),
    // in the interface language, each ending with a line feed.
    static QString helpText();
    static QString versionText();
    static QString usageErrorText(const UsageError &error);
    // Prints what action asks for on standard output (help, version) or standard error (a
    // mistake) and returns the exit status: 0, or 2 for a mistake.
    int printAndExitStatus() const;
};

} // namespace plumeo
