#include "ActionDispatcher.h"
#include "AppVersion.h"
#include "app/controller/ControllerTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorModel.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "editor/StatusBar.h"
#include "text/Localization.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

class StatusBarTest : public plumeo::testing::ControllerTest
{
protected:
    static StatusBar *barOf(EditorViewController *editor) { return editor->statusBar(); }

    // The counts follow typing a moment later: wait for them rather than for a fixed time.
    static void waitForCounts(EditorViewController *editor, qint64 lines)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return editor->model()->lines() == lines; }, 5000));
    }

    static void select(EditorViewController *editor, int anchor, int position)
    {
        QTextCursor cursor(editor->document()->textStorage());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        editor->editorView()->setTextCursor(cursor);
    }

    // The item of a bar's menu (or of its submenus) that stands for value, with the menu's check
    // marks as they would be shown.
    static QAction *itemFor(QMenu *menu, const QVariant &value)
    {
        Q_EMIT menu->aboutToShow();
        for (QAction *action : menu->actions()) {
            if (QMenu *submenu = action->menu()) {
                if (QAction *found = itemFor(submenu, value))
                    return found;
                continue;
            }
            const auto item = MenuItemInfo::of(action);
            if (item && item->representedObject == value)
                return action;
        }
        return nullptr;
    }

    static QVariant encodingValue(quint64 raw) { return QVariant::fromValue<qulonglong>(raw); }
};

} // namespace

TEST_F(StatusBarTest, ShowsThePlaceTheSelectionAndTheCountsOfAPlainFile)
{
    EditorViewController *editor = open(QStringLiteral("main.c"), "int a;\nint b;\nint c;\n");
    StatusBar *bar = barOf(editor);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->height(), StatusBar::barHeight);
    waitForCounts(editor, 4);
    EXPECT_EQ(bar->positionLabel()->text(), u"Ln 1, Col 1");
    EXPECT_TRUE(bar->selectionLabel()->isHidden());
    EXPECT_EQ(bar->countsLabel()->text(), u"4 lines · 6 words");
    EXPECT_EQ(bar->languageButton()->text(), u"C");
    EXPECT_EQ(bar->encodingButton()->text(), u"UTF-8");
    EXPECT_EQ(bar->lineEndingButton()->text(), u"LF");
    EXPECT_FALSE(bar->indentationLabel()->text().isEmpty());
    EXPECT_TRUE(bar->noHighlightingLabel()->isHidden());
    EXPECT_TRUE(bar->richTextPill()->isHidden());

    // From the middle of line 1 to the middle of line 3.
    select(editor, 2, 16);
    EXPECT_EQ(bar->positionLabel()->text(), u"Ln 1, Col 3");
    EXPECT_FALSE(bar->selectionLabel()->isHidden());
    EXPECT_EQ(bar->selectionLabel()->text(), u"14 characters · 3 lines");

    // Typing moves the caret at once; the counts follow once typing pauses.
    select(editor, 21, 21);
    editor->editorView()->textCursor().insertText(QStringLiteral("\nint d;"));
    QTextCursor end(editor->document()->textStorage());
    end.movePosition(QTextCursor::End);
    editor->editorView()->setTextCursor(end);
    EXPECT_EQ(bar->positionLabel()->text(), u"Ln 5, Col 7");
    EXPECT_EQ(bar->countsLabel()->text(), u"4 lines · 6 words");
    waitForCounts(editor, 5);
    EXPECT_EQ(bar->countsLabel()->text(), u"5 lines · 8 words");
}

TEST_F(StatusBarTest, EveryTextAndTooltipFollowsTheInterfaceLanguageAtOnce)
{
    EditorViewController *editor = open(QStringLiteral("notes.txt"), "\xEF\xBB\xBFun mot\n");
    StatusBar *bar = barOf(editor);
    waitForCounts(editor, 2);
    select(editor, 0, 1);
    EXPECT_EQ(bar->encodingButton()->text(), u"UTF-8 · BOM");
    EXPECT_EQ(bar->selectionLabel()->text(), u"1 character");
    EXPECT_EQ(bar->countsLabel()->text(), u"2 lines · 2 words");
    EXPECT_EQ(bar->languageButton()->toolTip(), u"Syntax highlighting language for this document");
    EXPECT_EQ(bar->encodingButton()->toolTip(),
              u"File encoding; an unmodified document is reloaded in the chosen encoding");
    EXPECT_EQ(bar->lineEndingButton()->toolTip(), u"Line endings written when saving");
    EXPECT_EQ(bar->indentationLabel()->toolTip(), u"Indentation detected in the file");
    EXPECT_EQ(bar->noHighlightingLabel()->text(), u"no highlighting");
    EXPECT_EQ(bar->noHighlightingLabel()->toolTip(), u"Above 4 MB, text is not highlighted");
    EXPECT_EQ(bar->helpButton()->text(), u"? help");
    EXPECT_EQ(bar->helpButton()->toolTip(), u"Open the Plumeo guide (Ctrl+?)");
    EXPECT_EQ(bar->shortcutsButton()->text(), u"Ctrl+/ shortcuts");
    EXPECT_EQ(bar->shortcutsButton()->toolTip(), u"Show keyboard shortcuts (Ctrl+/)");
    EXPECT_EQ(bar->aboutButton()->text(), AppVersion::shortLabel());
    EXPECT_EQ(bar->aboutButton()->toolTip(), QStringLiteral("About ") + AppVersion::description());
    EXPECT_EQ(bar->indentationLabel()->text().startsWith(u"Spaces: ")
                  || bar->indentationLabel()->text() == u"Tabs",
              true);
    const QString plainTextEnglish = bar->languageButton()->text();

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(bar->selectionLabel()->text(), u"1 caractère");
    EXPECT_EQ(bar->countsLabel()->text(), u"2 lignes · 2 mots");
    EXPECT_EQ(bar->languageButton()->toolTip(), u"Langage de coloration de ce document");
    EXPECT_EQ(bar->encodingButton()->toolTip(),
              u"Encodage du fichier ; un document non modifié est relu dans l’encodage choisi");
    EXPECT_EQ(bar->lineEndingButton()->toolTip(), u"Fins de ligne écrites à l’enregistrement");
    EXPECT_EQ(bar->indentationLabel()->toolTip(), u"Indentation lue dans le fichier");
    EXPECT_EQ(bar->noHighlightingLabel()->text(), u"sans coloration");
    EXPECT_EQ(bar->noHighlightingLabel()->toolTip(), u"Au-delà de 4 Mo le texte n’est pas colorié");
    EXPECT_EQ(bar->helpButton()->text(), u"? aide");
    EXPECT_EQ(bar->helpButton()->toolTip(), u"Ouvrir le guide de Plumeo (Ctrl+?)");
    EXPECT_EQ(bar->shortcutsButton()->text(), u"Ctrl+/ raccourcis");
    EXPECT_EQ(bar->shortcutsButton()->toolTip(), u"Afficher les raccourcis clavier (Ctrl+/)");
    EXPECT_EQ(bar->aboutButton()->toolTip(),
              QStringLiteral("À propos de ") + AppVersion::description());
    EXPECT_TRUE(bar->indentationLabel()->text().startsWith(u"Espaces : ")
                || bar->indentationLabel()->text() == u"Tabulations");
    // The language's display name and the menus' titles too.
    EXPECT_NE(bar->languageButton()->text(), plainTextEnglish);
    const QAction *more = bar->encodingButton()
                              ->menu()
                              ->findChild<QMenu *>(QStringLiteral("moreEncodingsMenu"))
                              ->menuAction();
    EXPECT_EQ(more->text(), u"Autres encodages");
}

TEST_F(StatusBarTest, ChoosingFromTheBarChangesTheDocumentAsTheMenusDo)
{
    EditorViewController *editor = open(QStringLiteral("script"), "caf\xE9\n");
    StatusBar *bar = barOf(editor);
    TextDocument *document = editor->document();

    // Language: the item of the catalogue, checked once chosen.
    QAction *python = itemFor(bar->languageButton()->menu(), QStringLiteral("Python"));
    ASSERT_TRUE(python);
    EXPECT_FALSE(python->isChecked());
    python->trigger();
    EXPECT_EQ(document->language().name, u"Python");
    EXPECT_EQ(bar->languageButton()->text(), document->language().displayName());
    EXPECT_TRUE(itemFor(bar->languageButton()->menu(), QStringLiteral("Python"))->isChecked());

    // Encoding: an unedited file is read again in the chosen one, from the list or from the more
    // encodings.
    ASSERT_NE(document->encoding(), Encoding::macOSRoman());
    itemFor(bar->encodingButton()->menu(), encodingValue(Encoding::macOSRomanRaw))->trigger();
    EXPECT_EQ(document->encoding(), Encoding::macOSRoman());
    EXPECT_EQ(document->text(), u"cafÈ\n");
    EXPECT_EQ(bar->encodingButton()->text(), u"Mac OS Roman");
    const Encoding cyrillic = *Encoding::fromCharsetName("windows-1251");
    QAction *windows1251 =
        itemFor(bar->encodingButton()->menu(), encodingValue(cyrillic.rawValue()));
    ASSERT_TRUE(windows1251);
    windows1251->trigger();
    EXPECT_EQ(document->encoding(), cyrillic);
    EXPECT_EQ(document->text(), u"cafй\n");
    EXPECT_TRUE(
        itemFor(bar->encodingButton()->menu(), encodingValue(cyrillic.rawValue()))->isChecked());

    // A choice that cannot read the file is refused with its reason, and nothing changes.
    itemFor(bar->encodingButton()->menu(), encodingValue(Encoding::utf8Raw))->trigger();
    EXPECT_EQ(document->encoding(), cyrillic);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0],
              u"This file cannot be read as UTF-8: some of its bytes are not valid in it.");

    // Line ending: chosen for saving (an edit: encodings are converted from now on).
    itemFor(bar->lineEndingButton()->menu(), QStringLiteral("CRLF"))->trigger();
    EXPECT_EQ(document->lineEnding(), LineEnding::crlf);
    EXPECT_EQ(bar->lineEndingButton()->text(), u"CRLF");
    EXPECT_TRUE(itemFor(bar->lineEndingButton()->menu(), QStringLiteral("CRLF"))->isChecked());
}

TEST_F(StatusBarTest, AnEncodingOutsideTheListIsNamedAndCheckedInTheBarAndTheMenus)
{
    const QString path = QStringLiteral(
        PLUMEO_CORPORA
        "/encodings/chardet/KOI8-R/_chromium_KOI8-R_with_no_encoding_specified.html");
    if (!QFile::exists(path))
        GTEST_SKIP() << "no corpus at " << path.toStdString();
    TextDocument *document = controller()->openDocument(path).value();
    EditorViewController *editor = editorFor(document);
    const Encoding koi8 = *Encoding::fromCharsetName("KOI8-R");
    ASSERT_EQ(document->encoding(), koi8);
    StatusBar *bar = barOf(editor);
    EXPECT_EQ(bar->encodingButton()->text(), u"KOI8-R");

    // Under the list, an item names the document's own encoding, checked; the list's are not.
    QMenu *menu = bar->encodingButton()->menu();
    Q_EMIT menu->aboutToShow();
    const QAction *own = menu->findChild<QAction *>(QStringLiteral("documentEncodingItem"));
    ASSERT_TRUE(own);
    EXPECT_TRUE(own->isVisible());
    EXPECT_EQ(own->text().remove(u'&'), u"KOI8-R");
    EXPECT_TRUE(own->isChecked());
    EXPECT_FALSE(itemFor(menu, encodingValue(Encoding::utf8Raw))->isChecked());
    EXPECT_TRUE(itemFor(menu, encodingValue(koi8.rawValue()))->isChecked());

    // The View menu's Encoding submenu says the same.
    QMenuBar *menuBar = EditorWindowController::all().front()->menuBar();
    QMenu *viewEncoding = menuBar->findChild<QMenu *>(QStringLiteral("encodingMenu"));
    ASSERT_TRUE(viewEncoding);
    for (QAction *action : viewEncoding->actions()) {
        if (action->objectName() != u"documentEncodingItem")
            continue;
        MenuItemState state;
        editor->validate(*MenuItemInfo::of(action), state);
        EXPECT_EQ(state.visible, true);
        EXPECT_EQ(state.title, u"KOI8-R");
        EXPECT_EQ(state.checked, true);
    }

    // A document in one of the list hides it.
    EditorViewController *plain = open(QStringLiteral("plain.txt"), "plain\n");
    Q_EMIT plain->statusBar()->encodingButton()->menu()->aboutToShow();
    EXPECT_FALSE(plain->statusBar()
                     ->encodingButton()
                     ->menu()
                     ->findChild<QAction *>(QStringLiteral("documentEncodingItem"))
                     ->isVisible());
}

TEST_F(StatusBarTest, RichTextShowsThePillAndNoEncodingLineEndingOrIndentation)
{
    EditorViewController *editor =
        open(QStringLiteral("letter.rtf"), "{\\rtf1\\ansi{\\fonttbl\\f0 Helvetica;}\\f0 Hello}");
    ASSERT_TRUE(editor->document()->isRichText());
    StatusBar *bar = barOf(editor);
    EXPECT_FALSE(bar->richTextPill()->isHidden());
    EXPECT_EQ(bar->richTextPill()->text(), u"RTF");
    EXPECT_EQ(bar->richTextPill()->toolTip(), u"Rich text: fonts and colors from the file");
    EXPECT_TRUE(bar->languageButton()->isHidden());
    EXPECT_TRUE(bar->encodingButton()->isHidden());
    EXPECT_TRUE(bar->lineEndingButton()->isHidden());
    EXPECT_TRUE(bar->indentationLabel()->isHidden());
    EXPECT_TRUE(bar->noHighlightingLabel()->isHidden());
    EXPECT_EQ(editor->model()->languageName(), u"RTF");
}

TEST_F(StatusBarTest, AboveTheLimitWordsAreNotCountedAndCodeIsSaidNotColoured)
{
    // 4.2 million units in lines of 100.
    QByteArray line(99, 'x');
    line += '\n';
    const QByteArray big = line.repeated(42000);
    EditorViewController *code = open(QStringLiteral("big.c"), big);
    waitForCounts(code, 42001);
    EXPECT_EQ(code->model()->words(), std::nullopt);
    EXPECT_EQ(code->statusBar()->countsLabel()->text(), u"42001 lines");
    EXPECT_FALSE(code->statusBar()->noHighlightingLabel()->isHidden());

    // Plain text has no colours to lose: never the notice.
    EditorViewController *text = open(QStringLiteral("big.txt"), big);
    EXPECT_TRUE(text->statusBar()->noHighlightingLabel()->isHidden());
}

TEST_F(StatusBarTest, TheHelpButtonsAreEnabledAsTheirMenuItemsAndGoTheirWay)
{
    EditorViewController *editor = open(QStringLiteral("a.txt"), "a\n");
    StatusBar *bar = barOf(editor);
    bar->updateCommandStates();
    const std::pair<QToolButton *, Command> buttons[] = {
        {bar->helpButton(), Command::showHelp},
        {bar->shortcutsButton(), Command::showShortcuts},
        {bar->aboutButton(), Command::showAbout}};
    for (const auto &[button, command] : buttons)
        EXPECT_EQ(button->isEnabled(), ActionDispatcher::shared().validate({command}).enabled)
            << Commands::actionName(command).toStdString();

    // A bar whose path answers: each button asks for its own command.
    EditorModel model;
    std::vector<Command> asked;
    StatusBarActions actions{nullptr, [](QMenu *) {},
                             [](const MenuItemInfo &) { return MenuItemState{}; },
                             [&asked](const MenuItemInfo &item) {
                                 asked.push_back(item.command);
                                 return true;
                             }};
    StatusBar answering(&model, actions);
    answering.updateCommandStates();
    answering.helpButton()->click();
    answering.shortcutsButton()->click();
    answering.aboutButton()->click();
    EXPECT_EQ(asked, (std::vector<Command>{Command::showHelp, Command::showShortcuts,
                                           Command::showAbout}));
}
