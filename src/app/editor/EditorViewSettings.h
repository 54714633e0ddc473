#pragma once

#include "text/IndentStyle.h"

namespace plumeo {

// How an editor view indents what the user types and which editing aids it gives, kept by its
// owner in step with the preferences and the document.
struct EditorViewSettings
{
    // Used by Return, Tab, Shift-Tab and the indent and outdent commands.
    IndentStyle indentStyle{false, 4};
    // Whether indentStyle still follows the preferences; false once it was taken from the file.
    bool indentStyleFromPreferences = true;
    // Whether Return copies the indentation of the line it breaks (one level more after an opening
    // bracket, and in Python after a line whose code ends in a colon).
    bool autoIndent = true;
    // Whether a closing bracket typed on a blank line gives back one level of indentation, in the
    // languages written with bracketed blocks (IndentRules::outdentsClosingBracket).
    bool autoOutdentClosingBrace = true;
    // Whether the bracket beside the caret and its partner are highlighted.
    bool highlightMatchingBrackets = true;
    // Whether Toggle Comment without a selection, in a language with block comments only, comments
    // the caret's line rather than inserting an empty comment.
    bool commentWholeLine = true;
};

} // namespace plumeo
