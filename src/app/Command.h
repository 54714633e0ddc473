#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include <QKeyCombination>
#include <QString>

namespace plumeo {

// Every command a menu item can ask for. The menus, the dispatcher and the responders speak only
// in these; the action names are for the menu listing and for people reading it.
enum class Command {
    // Application menu
    showAbout,
    checkForUpdates,
    showSettings,
    terminate,
    // File
    newDocument,
    openDocument,
    openRecentDocument,
    clearRecentDocuments,
    performClose,
    saveDocument,
    duplicateDocument,
    saveDocumentAs,
    renameDocument,
    moveDocument,
    revertDocumentToSaved,
    browseDocumentVersions,
    // Edit
    undo,
    redo,
    cut,
    copy,
    paste,
    deleteSelection,
    selectAll,
    duplicateLine,
    deleteLine,
    moveLineUp,
    moveLineDown,
    indentSelection,
    outdentSelection,
    toggleComment,
    find,
    findAndReplace,
    findNext,
    findPrevious,
    useSelectionForFind,
    goToLine,
    uppercaseWord,
    lowercaseWord,
    capitalizeWord,
    // Format
    bold,
    italic,
    underline,
    showFontPanel,
    alignLeft,
    alignCenter,
    alignRight,
    alignJustified,
    showColorPanel,
    toggleRichText,
    // View
    toggleWordWrap,
    toggleLineNumbers,
    toggleCurrentLineHighlight,
    toggleMarkdownMarkup,
    increaseFontSize,
    decreaseFontSize,
    resetFontSize,
    setLanguage,
    setEncoding,
    setLineEnding,
    // Window
    performMiniaturize,
    performZoom,
    toggleFullScreen,
    moveTabToNewWindow,
    arrangeInFront,
    makeKeyAndOrderFront,
    // Help
    showHelp,
    showShortcuts,
    openVantleAppsWebsite,
};

// What the table knows of a command. Modifiers map from the desktop conventions the shortcuts were
// designed for as Command → Ctrl, Option → Alt, Control → Meta; a shifted symbol is written as the
// symbol with its other modifiers (Ctrl+?), as Qt reports the key.
struct CommandInfo
{
    Command command;
    // The selector-style name ("saveDocument:") the menu listing prints. Several commands may share
    // one, told apart by their tag (the find bar's commands, Bold and Italic).
    std::string_view actionName;
    int tag = 0;
    // Qt::Key_unknown for none.
    QKeyCombination shortcut = {};
    // A second key for the same command, the one the Linux desktop uses (F11 for full screen). The
    // menu shows the first.
    QKeyCombination alternateShortcut = {};
};

namespace Commands {

constexpr auto cmd = Qt::CTRL;
constexpr auto opt = Qt::ALT;
constexpr auto shift = Qt::SHIFT;
constexpr auto ctl = Qt::META;
using enum Command;

inline constexpr std::array table{
    CommandInfo{showAbout, "showAbout:"},
    CommandInfo{checkForUpdates, "checkForUpdates:"},
    CommandInfo{showSettings, "showSettings:", 0, cmd | Qt::Key_Comma},
    CommandInfo{terminate, "terminate:", 0, cmd | Qt::Key_Q},
    CommandInfo{newDocument, "newDocument:", 0, cmd | Qt::Key_N},
    CommandInfo{openDocument, "openDocument:", 0, cmd | Qt::Key_O},
    CommandInfo{openRecentDocument, "openRecentDocument:"},
    CommandInfo{clearRecentDocuments, "clearRecentDocuments:"},
    CommandInfo{performClose, "performClose:", 0, cmd | Qt::Key_W},
    CommandInfo{saveDocument, "saveDocument:", 0, cmd | Qt::Key_S},
    // Save As takes Ctrl+Shift+S, as everywhere on the Linux desktop; Duplicate takes the other.
    CommandInfo{duplicateDocument, "duplicateDocument:", 0, cmd | opt | shift | Qt::Key_S},
    CommandInfo{saveDocumentAs, "saveDocumentAs:", 0, cmd | shift | Qt::Key_S},
    CommandInfo{renameDocument, "renameDocument:"},
    CommandInfo{moveDocument, "moveDocument:"},
    CommandInfo{revertDocumentToSaved, "revertDocumentToSaved:"},
    CommandInfo{browseDocumentVersions, "browseDocumentVersions:"},
    CommandInfo{undo, "undo:", 0, cmd | Qt::Key_Z},
    CommandInfo{redo, "redo:", 0, cmd | shift | Qt::Key_Z},
    CommandInfo{cut, "cut:", 0, cmd | Qt::Key_X},
    CommandInfo{copy, "copy:", 0, cmd | Qt::Key_C},
    CommandInfo{paste, "paste:", 0, cmd | Qt::Key_V},
    CommandInfo{deleteSelection, "delete:"},
    CommandInfo{selectAll, "selectAll:", 0, cmd | Qt::Key_A},
    CommandInfo{duplicateLine, "duplicateLine:", 0, cmd | Qt::Key_D},
    CommandInfo{deleteLine, "deleteLine:", 0, cmd | shift | Qt::Key_K},
    CommandInfo{moveLineUp, "moveLineUp:", 0, opt | Qt::Key_Up},
    CommandInfo{moveLineDown, "moveLineDown:", 0, opt | Qt::Key_Down},
    CommandInfo{indentSelection, "indentSelection:", 0, cmd | Qt::Key_BracketRight},
    CommandInfo{outdentSelection, "outdentSelection:", 0, cmd | Qt::Key_BracketLeft},
    CommandInfo{toggleComment, "toggleComment:", 0, cmd | opt | Qt::Key_Slash},
    CommandInfo{find, "performTextFinderAction:", 1, cmd | Qt::Key_F},
    CommandInfo{findAndReplace, "performTextFinderAction:", 12, cmd | opt | Qt::Key_F},
    CommandInfo{findNext, "performTextFinderAction:", 2, cmd | Qt::Key_G},
    CommandInfo{findPrevious, "performTextFinderAction:", 3, cmd | shift | Qt::Key_G},
    CommandInfo{useSelectionForFind, "performTextFinderAction:", 7, cmd | Qt::Key_E},
    CommandInfo{goToLine, "goToLine:", 0, cmd | Qt::Key_L},
    CommandInfo{uppercaseWord, "uppercaseWord:"},
    CommandInfo{lowercaseWord, "lowercaseWord:"},
    CommandInfo{capitalizeWord, "capitalizeWord:"},
    // Bold's and Italic's tags are the font-trait masks of the action they share.
    CommandInfo{bold, "toggleFontTrait:", 2, cmd | Qt::Key_B},
    CommandInfo{italic, "toggleFontTrait:", 1, cmd | Qt::Key_I},
    CommandInfo{underline, "underline:", 0, cmd | Qt::Key_U},
    CommandInfo{showFontPanel, "showFontPanel:", 0, cmd | Qt::Key_T},
    CommandInfo{alignLeft, "alignLeft:", 0, cmd | Qt::Key_BraceLeft},
    CommandInfo{alignCenter, "alignCenter:", 0, cmd | Qt::Key_Bar},
    CommandInfo{alignRight, "alignRight:", 0, cmd | Qt::Key_BraceRight},
    CommandInfo{alignJustified, "alignJustified:"},
    CommandInfo{showColorPanel, "showColorPanel:", 0, cmd | shift | Qt::Key_C},
    CommandInfo{toggleRichText, "toggleRichText:"},
    CommandInfo{toggleWordWrap, "toggleWordWrap:", 0, cmd | opt | Qt::Key_W},
    CommandInfo{toggleLineNumbers, "toggleLineNumbers:", 0, cmd | shift | Qt::Key_L},
    CommandInfo{toggleCurrentLineHighlight, "toggleCurrentLineHighlight:"},
    CommandInfo{toggleMarkdownMarkup, "toggleMarkdownMarkup:", 0, cmd | opt | Qt::Key_M},
    CommandInfo{increaseFontSize, "increaseFontSize:", 0, cmd | Qt::Key_Plus},
    CommandInfo{decreaseFontSize, "decreaseFontSize:", 0, cmd | Qt::Key_Minus},
    CommandInfo{resetFontSize, "resetFontSize:", 0, cmd | Qt::Key_0},
    CommandInfo{setLanguage, "setLanguage:"},
    CommandInfo{setEncoding, "setEncoding:"},
    CommandInfo{setLineEnding, "setLineEnding:"},
    CommandInfo{performMiniaturize, "performMiniaturize:", 0, cmd | Qt::Key_M},
    CommandInfo{performZoom, "performZoom:"},
    CommandInfo{toggleFullScreen, "toggleFullScreen:", 0, cmd | ctl | Qt::Key_F, Qt::Key_F11},
    CommandInfo{moveTabToNewWindow, "moveTabToNewWindow:"},
    CommandInfo{arrangeInFront, "arrangeInFront:"},
    CommandInfo{makeKeyAndOrderFront, "makeKeyAndOrderFront:"},
    CommandInfo{showHelp, "showHelp:", 0, cmd | Qt::Key_Question},
    CommandInfo{showShortcuts, "showShortcuts:", 0, cmd | Qt::Key_Slash},
    CommandInfo{openVantleAppsWebsite, "openVantleAppsWebsite:"},
};

// The table is indexed by the enumeration: one row per command, in declaration order.
constexpr bool tableFollowsEnumeration()
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].command != Command(i))
            return false;
    return table.back().command == Command::openVantleAppsWebsite;
}
static_assert(tableFollowsEnumeration());

constexpr const CommandInfo &info(Command command)
{
    return table[std::size_t(command)];
}

inline QString actionName(Command command)
{
    const std::string_view name = info(command).actionName;
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// The command a stored integer names, if any (menu items keep theirs as a property).
inline std::optional<Command> fromRaw(int raw)
{
    if (raw < 0 || std::size_t(raw) >= table.size())
        return std::nullopt;
    return Command(raw);
}

} // namespace Commands

// Which responder on the chain answers a command: the first one of that kind. Deliberately one
// switch without a default, so that a command added to the enumeration does not build until it is
// given to someone (or, knowingly, to nobody).
enum class CommandHandler {
    // Both text views; the plain-text view answers the rich-text commands by disabling them.
    textView,
    editor,
    document,
    window,
    documentController,
    application,
    // Items shown but disabled on purpose until what they open exists.
    nobody,
};

constexpr CommandHandler handlerOf(Command command)
{
    using enum Command;
    switch (command) {
    case checkForUpdates:
    case showSettings:
    case showHelp:
    case showAbout:
    case showShortcuts:
    case terminate:
    case arrangeInFront:
    case makeKeyAndOrderFront:
    case openVantleAppsWebsite:
        return CommandHandler::application;
    case newDocument:
    case openDocument:
    case openRecentDocument:
    case clearRecentDocuments:
        return CommandHandler::documentController;
    case performClose:
    case performMiniaturize:
    case performZoom:
    case toggleFullScreen:
    case moveTabToNewWindow:
        return CommandHandler::window;
    case saveDocument:
    case duplicateDocument:
    case saveDocumentAs:
    case renameDocument:
    case moveDocument:
    case revertDocumentToSaved:
        return CommandHandler::document;
    case undo:
    case redo:
    case cut:
    case copy:
    case paste:
    case deleteSelection:
    case selectAll:
    case duplicateLine:
    case deleteLine:
    case moveLineUp:
    case moveLineDown:
    case indentSelection:
    case outdentSelection:
    case toggleComment:
    case find:
    case findAndReplace:
    case findNext:
    case findPrevious:
    case useSelectionForFind:
    case uppercaseWord:
    case lowercaseWord:
    case capitalizeWord:
    case bold:
    case italic:
    case underline:
    case showFontPanel:
    case alignLeft:
    case alignCenter:
    case alignRight:
    case alignJustified:
    case showColorPanel:
        return CommandHandler::textView;
    case goToLine:
    case toggleRichText:
    case toggleWordWrap:
    case toggleLineNumbers:
    case toggleCurrentLineHighlight:
    case toggleMarkdownMarkup:
    case increaseFontSize:
    case decreaseFontSize:
    case resetFontSize:
    case setLanguage:
    case setEncoding:
    case setLineEnding:
    case browseDocumentVersions:
        return CommandHandler::editor;
    }
    return CommandHandler::nobody;
}

} // namespace plumeo
