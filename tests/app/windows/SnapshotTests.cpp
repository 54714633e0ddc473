#include "MainMenu.h"
#include "text/Localization.h"
#include "windows/Snapshot.h"

#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;

TEST(SnapshotRules, DelaySampleAndPaths)
{
    EXPECT_EQ(Snapshot::delay(std::nullopt), 0.6);
    EXPECT_EQ(Snapshot::delay(u"1.5"_s), 1.5);
    EXPECT_EQ(Snapshot::delay(u"0"_s), 0.0);
    EXPECT_EQ(Snapshot::delay(u"2"_s), 2.0);
    for (const QString &notANumber :
         {u"abc"_s, u""_s, u"1.5s"_s, u" 1.5"_s, u"1,5"_s, u"nan"_s, u"inf"_s})
        EXPECT_EQ(Snapshot::delay(notANumber), 0.6) << qPrintable(notANumber);
    EXPECT_EQ(Snapshot::delay(u"-1"_s), 0.0) << "a number, but no time can be waited back";

    const QStringList lines = Snapshot::sampleText().split(u'\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], u"// Plumeo — aperçu"_s);
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(lines[5], u"    var gain: Float = 0.5"_s);
    EXPECT_EQ(lines[8], u"        \"\\(name) à \\(gain) dB\"   // interpolation"_s);
    EXPECT_EQ(lines[10], u"}"_s);

    EXPECT_EQ(Snapshot::expandedPath(u"~/shots/a.png"_s), QDir::homePath() + u"/shots/a.png"_s);
    EXPECT_EQ(Snapshot::expandedPath(u"~"_s), QDir::homePath());
    EXPECT_EQ(Snapshot::expandedPath(u"/tmp/~/a.png"_s), u"/tmp/~/a.png"_s);
    EXPECT_EQ(Snapshot::expandedPath(u"a~b.png"_s), u"a~b.png"_s);
}

TEST(SnapshotRules, MenuListingAndTitles)
{
    Localization::setCurrent(AppLanguage::en);
    QObject delegate;
    const std::unique_ptr<QMenuBar> bar(MainMenu::build(&delegate));
    EXPECT_EQ(Snapshot::topLevelMenu(bar.get(), u"Edit"_s)->objectName(), u"editMenu"_s);
    EXPECT_EQ(Snapshot::topLevelMenu(bar.get(), u"edit"_s), nullptr) << "exact titles only";
    EXPECT_EQ(Snapshot::topLevelMenu(bar.get(), u"Undo"_s), nullptr) << "top-level menus only";
    const QStringList format =
        Snapshot::menuListing(Snapshot::topLevelMenu(bar.get(), u"Format"_s));
    EXPECT_EQ(format, (QStringList{u"Font ▸ 5"_s, u"Text ▸ 4"_s, u"Show Colors"_s, u"—"_s,
                                   u"Make Rich Text"_s}));
    Localization::setCurrent(AppLanguage::system);
}

namespace {

// The plumeo program beside this test's build folder.
QString program()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(u"../src/app/plumeo"_s);
}

struct Outcome
{
    int status = -1;
    QString out;
    QString err;
};

// Runs plumeo with arguments and the given snapshot variables, offscreen, with its own settings
// folder; several at once.
class SnapshotProcessTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(program()).isExecutable())
            << "build the plumeo target first: " << qPrintable(program());
        ASSERT_TRUE(folder.isValid());
    }

    QProcess *start(const QStringList &arguments,
                    const QList<std::pair<QString, QString>> &variables)
    {
        auto *process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"PLUMEO_SNAPSHOT_DELAY"_s, u"PLUMEO_SNAPSHOT_WINDOW"_s,
                                    u"PLUMEO_SNAPSHOT_MENU"_s, u"VANTLE_LANG"_s})
            environment.remove(name);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"PLUMEO_CONFIG_DIR"_s, folder.filePath(u"config"_s));
        environment.insert(u"PLUMEO_TESTING"_s, u"1"_s);
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        environment.insert(u"PLUMEO_SNAPSHOT_DELAY"_s, u"0"_s);
        for (const auto &[name, value] : variables)
            environment.insert(name, value);
        process->setProcessEnvironment(environment);
        process->start(program(), arguments);
        processes.emplace_back(process);
        return process;
    }

    static Outcome finish(QProcess *process)
    {
        Outcome run;
        if (!process->waitForFinished(60000)) {
            process->kill();
            process->waitForFinished();
            ADD_FAILURE() << "snapshot did not end: "
                          << qPrintable(process->arguments().join(u' '));
            return run;
        }
        run.status = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -2;
        run.out = QString::fromUtf8(process->readAllStandardOutput());
        run.err = QString::fromUtf8(process->readAllStandardError());
        return run;
    }

    Outcome snapshot(const QStringList &arguments,
                     const QList<std::pair<QString, QString>> &variables = {})
    {
        return finish(start(arguments, variables));
    }

    QString path(const QString &name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    QTemporaryDir runtime; // private to its user, as the session's is
    std::vector<std::unique_ptr<QProcess>> processes;
};

// The top-level menus of a listing kept with the test data, each as the snapshot lists it.
std::vector<std::pair<QString, QStringList>> listedMenus(const QString &language)
{
    QFile file(QStringLiteral(PLUMEO_TEST_DATA "/menus/menu-bar.") + language + u".txt"_s);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    std::vector<std::pair<QString, QStringList>> menus;
    const auto depth = [](const QString &line) {
        qsizetype spaces = 0;
        while (spaces < line.size() && line[spaces] == u' ')
            ++spaces;
        return spaces / 2;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.isEmpty())
            continue;
        if (depth(line) == 0) {
            menus.emplace_back(line.chopped(2), QStringList());
            continue;
        }
        if (depth(line) != 1)
            continue;
        const QString item = line.trimmed();
        if (item == u"---") {
            menus.back().second << u"—"_s;
        } else if (item.endsWith(u" >")) {
            int children = 0;
            for (qsizetype j = i + 1; j < lines.size() && depth(lines[j]) >= 2; ++j)
                children += depth(lines[j]) == 2;
            menus.back().second << item.chopped(2) + u" ▸ "_s + QString::number(children);
        } else {
            menus.back().second << item.section(u" | "_s, 0, 0);
        }
    }
    return menus;
}

} // namespace

// The pictures, in both languages: the document window at its snapshot size, About and Keyboard
// Shortcuts at theirs, the open-dialog self-test, and the line reporting each file.
TEST_F(SnapshotProcessTest, PicturesEveryWindowInBothLanguages)
{
    struct Case
    {
        QString language, window, file;
        QSize size; // empty: the document window, 1180 wide over its menu bar
    };
    std::vector<Case> cases;
    for (const QString &language : {u"fr"_s, u"en"_s}) {
        cases.push_back({language, QString(), u"document-"_s + language + u".png"_s, {}});
        cases.push_back({language, u"about"_s, u"about-"_s + language + u".png"_s, {580, 420}});
        cases.push_back(
            {language, u"shortcuts"_s, u"shortcuts-"_s + language + u".png"_s, {820, 520}});
        cases.push_back(
            {language, u"settings"_s, u"settings-"_s + language + u".png"_s, {460, 610}});
        cases.push_back({language, u"help"_s, u"help-"_s + language + u".png"_s, {1040, 760}});
    }
    std::vector<QProcess *> started;
    for (const Case &c : cases) {
        QList<std::pair<QString, QString>> variables;
        if (!c.window.isEmpty())
            variables.append({u"PLUMEO_SNAPSHOT_WINDOW"_s, c.window});
        started.push_back(start(
            {u"--lang"_s, c.language, u"--snapshot"_s, path(u"shots/"_s + c.file)}, variables));
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case &c = cases[i];
        const Outcome run = finish(started[i]);
        SCOPED_TRACE(qPrintable(c.file));
        EXPECT_EQ(run.status, 0) << qPrintable(run.err);
        const QString written = path(u"shots/"_s + c.file);
        EXPECT_EQ(run.out, u"snapshot written to %1 (%2 bytes)\n"_s.arg(written).arg(
                               QFileInfo(written).size()));
        const QImage picture(written);
        ASSERT_FALSE(picture.isNull());
        if (c.size.isValid()) {
            EXPECT_EQ(picture.size(), c.size);
        } else {
            EXPECT_EQ(picture.width(), 1180);
            EXPECT_GT(picture.height(), 740) << "the content, under the menu bar";
            EXPECT_LT(picture.height(), 800);
        }
        if (!qEnvironmentVariableIsEmpty("PLUMEO_KEEP_SNAPSHOTS"))
            QFile::copy(written, qEnvironmentVariable("PLUMEO_KEEP_SNAPSHOTS") + u'/' + c.file);
    }

    // Picturing a window is no use of it: where the user keeps it is not changed.
    QFile settings(path(u"config/settings.json"_s));
    if (settings.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(settings.readAll().contains("windowFrame")) << "a snapshot wrote the settings";
    }

    for (const QString &language : {u"fr"_s, u"en"_s}) {
        const Outcome open = snapshot({u"--lang"_s, language, u"--snapshot"_s, path(u"open.png"_s)},
                                      {{u"PLUMEO_SNAPSHOT_WINDOW"_s, u"open"_s}});
        EXPECT_EQ(open.status, 0) << qPrintable(open.err);
        EXPECT_EQ(open.out, u"open panel configured by beginOpenPanel: true\n"_s);
        EXPECT_FALSE(QFile::exists(path(u"open.png"_s)));
    }
}

// Every top-level menu, listed in both languages exactly as the menu listing kept with the test
// data has it; the Window menu ends with the list of windows.
TEST_F(SnapshotProcessTest, ListsEveryTopLevelMenu)
{
    for (const QString &language : {u"fr"_s, u"en"_s}) {
        const auto menus = listedMenus(language);
        ASSERT_EQ(menus.size(), 7u);
        std::vector<QProcess *> started;
        for (const auto &[title, items] : menus)
            started.push_back(start({u"--lang"_s, language, u"--snapshot"_s, path(u"menu.png"_s)},
                                    {{u"PLUMEO_SNAPSHOT_MENU"_s, title}}));
        for (std::size_t i = 0; i < menus.size(); ++i) {
            QStringList expected = menus[i].second;
            if (i == 5) // Window: the window list follows, after a separator
                expected << u"—"_s
                         << (language == u"fr" ? u"Sans titre — Plumeo"_s : u"Untitled — Plumeo"_s);
            const Outcome run = finish(started[i]);
            EXPECT_EQ(run.status, 0) << qPrintable(run.err);
            EXPECT_EQ(run.out, expected.join(u'\n') + u'\n') << qPrintable(menus[i].first);
        }
    }
    EXPECT_FALSE(QFile::exists(path(u"menu.png"_s)));
    const Outcome nothing = snapshot({u"--snapshot"_s, path(u"menu.png"_s)},
                                     {{u"PLUMEO_SNAPSHOT_MENU"_s, u"Nowhere"_s}});
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.out, QString());
    EXPECT_FALSE(nothing.err.contains(u"snapshot error"_s)) << qPrintable(nothing.err);
}

// Each bad input ends the run with its status and one line, at once.
TEST_F(SnapshotProcessTest, BadInputEndsWithItsStatusAndMessage)
{
    QFile binary(path(u"binary.dat"_s));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\x01\x02\x00\x03", 4));
    binary.close();
    QFile aFile(path(u"plain.txt"_s));
    ASSERT_TRUE(aFile.open(QIODevice::WriteOnly));
    aFile.write("x = 1\n");
    aFile.close();
    ASSERT_TRUE(QDir().mkpath(path(u"existing-folder"_s)));

    struct Case
    {
        QString name;
        QStringList arguments;
        QList<std::pair<QString, QString>> variables;
        int status;
    };
    const std::vector<Case> cases{
        {u"missing input"_s, {u"--snapshot"_s, path(u"a.png"_s), path(u"missing.txt"_s)}, {}, 1},
        {u"folder as input"_s,
         {u"--snapshot"_s, path(u"b.png"_s), path(u"existing-folder"_s)},
         {},
         1},
        {u"binary input"_s, {u"--snapshot"_s, path(u"c.png"_s), path(u"binary.dat"_s)}, {}, 1},
        {u"output under a file"_s, {u"--snapshot"_s, path(u"plain.txt/d.png"_s)}, {}, 1},
        {u"output folder that cannot be made"_s,
         {u"--snapshot"_s, u"/proc/plumeo-snapshot/e.png"_s},
         {},
         1},
        {u"output is a folder"_s, {u"--snapshot"_s, path(u"existing-folder"_s)}, {}, 1},
    };
    std::vector<QProcess *> started;
    for (const Case &c : cases)
        started.push_back(start(c.arguments, c.variables));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Outcome run = finish(started[i]);
        SCOPED_TRACE(qPrintable(cases[i].name));
        EXPECT_EQ(run.status, cases[i].status);
        EXPECT_EQ(run.out, QString());
        // Qt may have warned before (the offscreen platform cannot raise windows); the run's own
        // line is the one error, and the last line.
        const QStringList lines = run.err.trimmed().split(u'\n');
        EXPECT_EQ(lines.filter(u"snapshot error"_s).size(), 1) << qPrintable(run.err);
        EXPECT_TRUE(lines.last().startsWith(u"snapshot error: "_s)) << qPrintable(run.err);
        EXPECT_GT(lines.last().size(), qsizetype(strlen("snapshot error: ")) + 2);
    }
    EXPECT_TRUE(QFileInfo(path(u"existing-folder"_s)).isDir());
    EXPECT_EQ(QDir(path(u"existing-folder"_s)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList());
    for (const QString &name : {u"a.png"_s, u"b.png"_s, u"c.png"_s, u"f.png"_s, u"g.png"_s})
        EXPECT_FALSE(QFile::exists(path(name))) << qPrintable(name);
    EXPECT_EQ(started.size(), cases.size());
}

// Inputs that are not wrong: a delay that is not a number or is negative, a window name in the
// wrong case (the document is pictured), a given file, a folder to create, "~" in the output.
TEST_F(SnapshotProcessTest, AcceptedInputsStillPicture)
{
    QFile source(path(u"given.c"_s));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write("int main(void) { return 0; }\n");
    source.close();
    const QString home = path(u"home"_s);
    ASSERT_TRUE(QDir().mkpath(home));

    std::vector<QProcess *> started{
        start({u"--snapshot"_s, path(u"a.png"_s)}, {{u"PLUMEO_SNAPSHOT_DELAY"_s, u"abc"_s}}),
        start({u"--snapshot"_s, path(u"b.png"_s)}, {{u"PLUMEO_SNAPSHOT_DELAY"_s, u"-1"_s}}),
        start({u"--snapshot"_s, path(u"c.png"_s)}, {{u"PLUMEO_SNAPSHOT_WINDOW"_s, u"About"_s}}),
        start({u"--snapshot"_s, path(u"new/folders/d.png"_s), path(u"given.c"_s)}, {}),
        start({u"--snapshot"_s, u"~/shots/e.png"_s}, {{u"HOME"_s, home}}),
    };
    const QStringList written{path(u"a.png"_s), path(u"b.png"_s), path(u"c.png"_s),
                              path(u"new/folders/d.png"_s), home + u"/shots/e.png"_s};
    for (std::size_t i = 0; i < started.size(); ++i) {
        const Outcome run = finish(started[i]);
        SCOPED_TRACE(qPrintable(written[qsizetype(i)]));
        EXPECT_EQ(run.status, 0) << qPrintable(run.err);
        EXPECT_TRUE(run.out.startsWith(u"snapshot written to "_s + written[qsizetype(i)] + u" ("_s))
            << qPrintable(run.out);
        EXPECT_EQ(QImage(written[qsizetype(i)]).width(), 1180);
    }
}
