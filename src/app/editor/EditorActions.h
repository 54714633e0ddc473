#pragma once

#include <QString>

class QInputMethodEvent;
class QKeyEvent;

#include "ActionResponder.h"

namespace plumeo {

// The menu commands both editor views answer, written once for both: the Edit menu (undo,
// clipboard, line commands, comments, case changes, the find bar's actions) and, handled but left
// to each view, the Format menu's rich-text actions. View is EditorTextView or RichTextView; each
// instantiation is made in EditorActions.cpp.
namespace EditorActions {

// The Format menu's commands, which only rich text can honour.
bool isRichTextCommand(Command command);

// Validation and execution of everything but the rich-text actions.
template <class View>
void validate(const View &view, const MenuItemInfo &item, MenuItemState &state);
template <class View> void perform(View &view, const MenuItemInfo &item);

// Keys the views take over from Qt: undo and redo (which restore selections), Return, Tab,
// Shift-Tab and a closing bracket that outdents a blank line in plain text (rich text keeps Qt's
// own), and typed characters the storage cannot hold as they are. True when the key was handled.
template <class View> bool handleKey(View &view, QKeyEvent *event);
// Committed input-method text the storage cannot hold as it is goes in through the command runner
// instead. True when the event was handled.
template <class View> bool handleInputMethod(View &view, QInputMethodEvent *event);

} // namespace EditorActions

} // namespace plumeo
