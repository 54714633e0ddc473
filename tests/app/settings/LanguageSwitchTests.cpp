// The interface language changes while the program runs: everything already open follows at once,
// without a restart and without waiting for the event loop.
#include "MenuMnemonics.h"
#include "Preferences.h"
#include "app/controller/ControllerTestSupport.h"
#include "editor/FindBar.h"
#include "editor/NoticeBar.h"
#include "editor/RichTextView.h"
#include "text/QtTranslations.h"
#include "text/UserDefaults.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

using namespace plumeo;
using namespace Qt::StringLiterals;
using namespace plumeo::testing;

namespace {

class LanguageSwitchTest : public ControllerTest
{
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        // As the application has it from launch: Qt's own texts follow the language.
        m_translations = std::make_unique<QtTranslations>();
    }
    void TearDown() override
    {
        m_translations.reset();
        ControllerTest::TearDown();
    }

    static EditorWindowController *window() { return EditorWindowController::all().front(); }
    static QStringList menuTitles()
    {
        QStringList titles;
        for (QAction *action : window()->menuBar()->actions())
            titles << MenuMnemonics::plain(action->text());
        return titles;
    }
    static QStringList tabTitles()
    {
        auto *tabs = window()->findChild<QTabWidget *>();
        QStringList titles;
        for (int i = 0; i < tabs->count(); ++i)
            titles << tabs->tabText(i);
        return titles;
    }
    static bool hasFrenchCatalogue()
    {
        return QFileInfo::exists(QtTranslations::standardFolder()
                                 + QStringLiteral("/qtbase_fr.qm"));
    }

private:
    std::unique_ptr<QtTranslations> m_translations;
};

} // namespace

TEST_F(LanguageSwitchTest, OpenWindowsMenusEditorsAndLaterDialogsFollowAtOnce)
{
    open(QStringLiteral("notes.txt"), "one\n");
    EditorViewController *untitled = openUntitled();
    untitled->findBar()->showReplace();
    ASSERT_EQ(menuTitles(),
              QStringList({"Plumeo", "File", "Edit", "Format", "View", "Window", "Help"}));
    ASSERT_EQ(window()->windowTitle(), u"Untitled[*] — Plumeo");
    ASSERT_EQ(tabTitles(), QStringList({"notes.txt", "Untitled"}));

    Preferences::setLanguage(AppLanguage::fr);

    EXPECT_EQ(menuTitles(), QStringList({"Plumeo", "Fichier", "Édition", "Format", "Présentation",
                                         "Fenêtre", "Aide"}));
    EXPECT_EQ(window()->windowTitle(), u"Sans titre[*] — Plumeo");
    EXPECT_EQ(tabTitles(), QStringList({"notes.txt", "Sans titre"}));
    FindBar *bar = untitled->findBar();
    EXPECT_EQ(bar->findChild<QLineEdit *>(QStringLiteral("findField"))->placeholderText(),
              u"Rechercher");
    EXPECT_EQ(bar->findChild<QLineEdit *>(QStringLiteral("replaceField"))->placeholderText(),
              u"Remplacer par");
    QStringList buttons;
    for (QPushButton *button : bar->findChildren<QPushButton *>())
        buttons << button->text();
    EXPECT_TRUE(buttons.contains(u"Terminé"_s)) << buttons.join(u", ").toStdString();
    EXPECT_TRUE(buttons.contains(u"Tout remplacer"_s)) << buttons.join(u", ").toStdString();

    if (hasFrenchCatalogue()) {
        // Qt's own dialogs opened afterwards speak the new language too.
        QMessageBox box(QMessageBox::Question, QStringLiteral("Plumeo"), QStringLiteral("?"),
                        QMessageBox::Save | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), u"Annuler");
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        EXPECT_EQ(files.findChild<QLabel *>(QStringLiteral("lookInLabel"))->text(), u"Voir dans :");
    }

    // And back.
    Preferences::setLanguage(AppLanguage::en);
    EXPECT_EQ(menuTitles()[1], u"File");
    EXPECT_EQ(window()->windowTitle(), u"Untitled[*] — Plumeo");
    EXPECT_EQ(tabTitles(), QStringList({"notes.txt", "Untitled"}));
    EXPECT_EQ(bar->findChild<QLineEdit *>(QStringLiteral("findField"))->placeholderText(), u"Find");
    QMessageBox box(QMessageBox::Question, QStringLiteral("Plumeo"), QStringLiteral("?"),
                    QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), u"Cancel");
}

TEST_F(LanguageSwitchTest, NoticesAndTheRichTextPanelsFollowAtOnce)
{
    EditorViewController *editor = open(QStringLiteral("gone.txt"), "text\n");
    editor->document()->setDiskState(TextDocument::DiskState::missing);
    ASSERT_TRUE(editor->noticeBar()->message().startsWith(u"“gone.txt” was deleted"));
    EditorViewController *rich = open(QStringLiteral("letter.rtf"), "{\\rtf1 Hello}");
    auto *view = dynamic_cast<RichTextView *>(rich->editorView());
    ASSERT_NE(view, nullptr);
    view->perform(MenuItemInfo{Command::showFontPanel});
    view->perform(MenuItemInfo{Command::showColorPanel});
    auto *fonts = view->fontDialog();
    auto *colours = view->colorDialog();
    ASSERT_TRUE(fonts && colours);
    ASSERT_EQ(fonts->windowTitle(), u"Fonts");

    Preferences::setLanguage(AppLanguage::fr);

    EXPECT_TRUE(editor->noticeBar()->message().startsWith(u"« gone.txt » a été supprimé"))
        << editor->noticeBar()->message().toStdString();
    EXPECT_EQ(editor->noticeBar()->buttonTitles(), QStringList{u"Masquer"_s});
    EXPECT_EQ(fonts->windowTitle(), u"Polices");
    EXPECT_EQ(colours->windowTitle(), u"Couleurs");
    fonts->close();
    colours->close();
}

TEST_F(LanguageSwitchTest, TheSameLanguageAgainRebuildsTheMenusAndAnnouncesTheSetting)
{
    openUntitled();
    int languageChanges = 0;
    QStringList announced;
    const auto counting =
        QObject::connect(Localization::notifier(), &LocalizationNotifier::languageDidChange,
                         [&] { ++languageChanges; });
    const auto recording = QObject::connect(&UserDefaults::standard(), &UserDefaults::changed,
                                            [&](const QString &key) { announced << key; });
    const QPointer<QMenuBar> before = window()->menuBar();

    Preferences::setLanguage(AppLanguage::en); // already in force

    EXPECT_NE(window()->menuBar(), before.data());
    EXPECT_EQ(menuTitles()[1], u"File");
    EXPECT_EQ(announced, QStringList{Preferences::Key::language()});
    EXPECT_EQ(languageChanges, 0);
    EXPECT_EQ(UserDefaults::standard().string(Preferences::Key::language()), u"en");

    Preferences::setLanguage(AppLanguage::fr);
    EXPECT_EQ(languageChanges, 1);
    EXPECT_EQ(announced.size(), 2);
    EXPECT_EQ(UserDefaults::standard().string(Preferences::Key::language()), u"fr");
    QObject::disconnect(counting);
    QObject::disconnect(recording);
}
