#pragma once

#include "text/IndentStyle.h"

namespace plumeo {

// How an editor view indents what the user types, kept by its owner in step with the preferences
// and the document.
struct EditorViewSettings
{
    // Used by Return, Tab, Shift-Tab and the indent and outdent commands.
    IndentStyle indentStyle{false, 4};
    // Whether indentStyle still follows the preferences; false once it was taken from the file.
    bool indentStyleFromPreferences = true;
    // Whether Return copies the indentation of the line it breaks.
    bool autoIndent = true;
};

} // namespace plumeo
