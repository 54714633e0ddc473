// How a command line is read: every form, its edge cases, and what the real program prints and
// returns without a display.
#include "LaunchOptions.h"
#include "text/Localization.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

using Kind = LaunchOptions::UsageError::Kind;

// A file system holding exactly the given names.
LaunchOptions::Exists holding(QSet<QString> names)
{
    return [names](const QString &path) { return names.contains(path); };
}

LaunchOptions parse(const QStringList &arguments, QSet<QString> existing = {})
{
    return LaunchOptions::parse(arguments, holding(std::move(existing)));
}

QList<LaunchFile> files(const QStringList &arguments, QSet<QString> existing = {})
{
    const LaunchOptions options = parse(arguments, std::move(existing));
    EXPECT_EQ(options.action, LaunchOptions::Action::open) << arguments.join(u' ').toStdString();
    return options.files;
}

LaunchFile at(const QString &path, std::optional<TextPlace> place, qsizetype index)
{
    return {path, place, index};
}

std::optional<LaunchOptions::UsageError> mistake(const QStringList &arguments)
{
    const LaunchOptions options = parse(arguments);
    if (options.action != LaunchOptions::Action::usageError)
        return std::nullopt;
    EXPECT_TRUE(options.files.isEmpty());
    return options.error;
}

} // namespace

TEST(LaunchOptions, FilesWithLinesAndColumns)
{
    EXPECT_EQ(files({"notes.txt"}), QList{at("notes.txt", std::nullopt, 0)});
    EXPECT_EQ(files({"notes.txt:12"}, {"notes.txt"}), QList{at("notes.txt", TextPlace{12, {}}, 0)});
    EXPECT_EQ(files({"notes.txt:12:7"}, {"notes.txt"}),
              QList{at("notes.txt", TextPlace{12, 7}, 0)});
    // The file does not exist yet: the place is still read off the name.
    EXPECT_EQ(files({"new.md:3"}), QList{at("new.md", TextPlace{3, {}}, 0)});
    EXPECT_EQ(files({"new.md:3:4"}), QList{at("new.md", TextPlace{3, 4}, 0)});
    // 0 is read as the first line or column.
    EXPECT_EQ(files({"a:0:0"}, {"a"}), QList{at("a", TextPlace{1, 1}, 0)});
    // No number, or nothing before the colon: a name as written.
    EXPECT_EQ(files({"a:"}), QList{at("a:", std::nullopt, 0)});
    EXPECT_EQ(files({":5"}), QList{at(":5", std::nullopt, 0)});
    EXPECT_EQ(files({"a:x"}), QList{at("a:x", std::nullopt, 0)});
    EXPECT_EQ(files({"a:-3"}), QList{at("a:-3", std::nullopt, 0)});
    EXPECT_EQ(files({"http://host:80"}), QList{at("http://host", TextPlace{80, {}}, 0)});
    // Absurd numbers stop growing instead of overflowing: the opener clamps to the last line.
    const auto huge = files({"a:99999999999999999999999"}, {"a"});
    ASSERT_EQ(huge.size(), 1);
    EXPECT_GT(huge[0].place->line, 1'000'000'000);
}

TEST(LaunchOptions, ANameThatExistsWithItsColonWins)
{
    EXPECT_EQ(files({"a:3"}, {"a:3", "a"}), QList{at("a:3", std::nullopt, 0)});
    // "a:3" exists: line 5 of it, not line 3 column 5 of "a".
    EXPECT_EQ(files({"a:3:5"}, {"a:3", "a"}), QList{at("a:3", TextPlace{5, {}}, 0)});
    EXPECT_EQ(files({"a:3:5"}, {"a"}), QList{at("a", TextPlace{3, 5}, 0)});
    EXPECT_EQ(files({"a:3:5"}), QList{at("a", TextPlace{3, 5}, 0)});
}

TEST(LaunchOptions, PlusLineAppliesToTheNextFileTakenAsWritten)
{
    EXPECT_EQ(files({"+12", "notes.txt"}), QList{at("notes.txt", TextPlace{12, {}}, 1)});
    EXPECT_EQ(files({"+12:3", "notes.txt"}), QList{at("notes.txt", TextPlace{12, 3}, 1)});
    EXPECT_EQ(files({"+0", "a"}), QList{at("a", TextPlace{1, {}}, 1)});
    // The name after +LINE is not read for a place: "a:3" is a file name there.
    EXPECT_EQ(files({"+4", "a:3"}), QList{at("a:3", TextPlace{4, {}}, 1)});
    // Only the next file; the last +LINE before a file counts.
    EXPECT_EQ(files({"+2", "+9", "a", "b"}),
              QList({at("a", TextPlace{9, {}}, 2), at("b", std::nullopt, 3)}));
    // Not a number: a file name.
    EXPECT_EQ(files({"+abc"}), QList{at("+abc", std::nullopt, 0)});
    EXPECT_EQ(files({"+"}), QList{at("+", std::nullopt, 0)});
    EXPECT_EQ(files({"+3:"}), QList{at("+3:", std::nullopt, 0)});
    // A place that no file follows is a mistake.
    EXPECT_EQ(mistake({"a", "+5"}), (LaunchOptions::UsageError{Kind::placeWithoutFile, "+5"}));
}

TEST(LaunchOptions, StandardInputIsReadOnce)
{
    EXPECT_EQ(files({"-"}), QList{at("/dev/stdin", std::nullopt, 0)});
    EXPECT_EQ(files({"-", "a", "-"}),
              QList({at("/dev/stdin", std::nullopt, 0), at("a", std::nullopt, 1)}));
}

TEST(LaunchOptions, OptionsAndTheEndOfOptions)
{
    LaunchOptions options = parse({"--new-window", "--lang", "en", "a", "-platform", "offscreen",
                                   "-reverse", "--style=fusion", "b"});
    EXPECT_EQ(options.action, LaunchOptions::Action::open);
    EXPECT_TRUE(options.newWindow);
    EXPECT_EQ(options.files, QList({at("a", std::nullopt, 3), at("b", std::nullopt, 8)}));
    EXPECT_FALSE(parse({"a"}).newWindow);

    // The snapshot's output and input are its own, whatever they look like.
    EXPECT_EQ(files({"--snapshot", "out.png", "in.md", "a.txt"}),
              QList{at("a.txt", std::nullopt, 3)});
    EXPECT_EQ(files({"--snapshot", "out.png"}), QList<LaunchFile>());
    EXPECT_EQ(files({"--snapshot"}), QList<LaunchFile>());

    // After "--", every word is a file: options, +LINE and names with colons are read as files
    // (a name is still read for its place).
    EXPECT_EQ(files({"--", "-x", "--help", "+3", "a:2"}),
              QList({at("-x", std::nullopt, 1), at("--help", std::nullopt, 2),
                     at("+3", std::nullopt, 3), at("a", TextPlace{2, {}}, 4)}));
    EXPECT_EQ(files({"--", "-"}), QList{at("/dev/stdin", std::nullopt, 1)});
}

TEST(LaunchOptions, HelpVersionAndMistakesStopTheReading)
{
    EXPECT_EQ(parse({"a", "--help", "--bogus"}).action, LaunchOptions::Action::help);
    EXPECT_EQ(parse({"-h"}).action, LaunchOptions::Action::help);
    EXPECT_EQ(parse({"--version", "a"}).action, LaunchOptions::Action::version);
    EXPECT_EQ(mistake({"--bogus", "--help"}),
              (LaunchOptions::UsageError{Kind::unknownOption, "--bogus"}));
    EXPECT_EQ(mistake({"-x"}), (LaunchOptions::UsageError{Kind::unknownOption, "-x"}));
    EXPECT_EQ(mistake({"--lang=en"}),
              (LaunchOptions::UsageError{Kind::unknownOption, "--lang=en"}));
    EXPECT_EQ(mistake({"--lang"}), (LaunchOptions::UsageError{Kind::missingValue, "--lang"}));
    EXPECT_EQ(mistake({"--lang", "es"}), (LaunchOptions::UsageError{Kind::badLanguage, "es"}));
    EXPECT_FALSE(mistake({"--lang", "System"}));
    EXPECT_FALSE(mistake({"--lang", "en_GB"}));
}

TEST(LaunchOptions, TextsInBothLanguages)
{
    Localization::setCurrent(AppLanguage::fr);
    const QString frenchHelp = LaunchOptions::helpText();
    const QString frenchError =
        LaunchOptions::usageErrorText({Kind::unknownOption, QStringLiteral("--bogus")});
    Localization::setCurrent(AppLanguage::en);
    EXPECT_TRUE(frenchHelp.startsWith(u"Utilisation : plumeo"));
    EXPECT_EQ(frenchError, u"plumeo : option inconnue « --bogus »\nEssayez « plumeo --help » pour "
                           u"en savoir plus.\n");
    EXPECT_TRUE(LaunchOptions::helpText().startsWith(u"Usage: plumeo"));
    EXPECT_EQ(LaunchOptions::usageErrorText({Kind::placeWithoutFile, QStringLiteral("+5")}),
              u"plumeo: “+5” must be followed by a file\nTry “plumeo --help” for more "
              u"information.\n");
    Localization::setCurrent(AppLanguage::system);
}

#ifdef PLUMEO_BINARY
namespace {

struct Finished
{
    int status = -1;
    QString out;
    QString err;
};

// The installed program's way of being run from a terminal without any display.
Finished runWithoutDisplay(const QStringList &arguments, const QString &lang = QStringLiteral("C"))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "VANTLE_LANG",
                             "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), lang);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PLUMEO_BINARY), arguments);
    if (!process.waitForFinished(30'000)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(LaunchOptionsProgram, AnswersWithoutADisplay)
{
    const Finished help = runWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(u"Usage: plumeo")) << help.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const Finished french =
        runWithoutDisplay({QStringLiteral("-h")}, QStringLiteral("fr_FR.UTF-8"));
    EXPECT_EQ(french.status, 0);
    EXPECT_TRUE(french.out.startsWith(u"Utilisation : plumeo")) << french.out.toStdString();
    const Finished forced = runWithoutDisplay(
        {QStringLiteral("--lang"), QStringLiteral("en"), QStringLiteral("--help")},
        QStringLiteral("fr_FR.UTF-8"));
    EXPECT_TRUE(forced.out.startsWith(u"Usage: plumeo")) << forced.out.toStdString();

    const Finished version = runWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith(u"Plumeo ")) << version.out.toStdString();
    EXPECT_TRUE(version.out.endsWith(u'\n'));

    const Finished wrong = runWithoutDisplay({QStringLiteral("--bogus"), QStringLiteral("a.txt")});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.out.isEmpty());
    EXPECT_EQ(wrong.err, u"plumeo: unknown option “--bogus”\nTry “plumeo --help” for more "
                         u"information.\n");
}
#endif
