#pragma once

#include <QPalette>

class QApplication;

namespace plumeo {

// The whole application is drawn dark, whatever the desktop's setting: the Fusion style (which
// follows the palette faithfully, unlike the desktop styles) with a palette made from the Theme
// colours, so that dialogs, menus, tabs and panels match the editor.

// The dark palette: backgrounds from Theme::background and Theme::panel, text in Theme::text,
// dimmed and disabled text in Theme::textFaint or Theme::textDim, the selection colour as
// highlight.
QPalette darkPalette();

// Sets the Fusion style and darkPalette() on the application.
void applyDarkAppearance(QApplication &application);

} // namespace plumeo
