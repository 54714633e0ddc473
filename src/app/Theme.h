#pragma once

#include <QColor>

namespace plumeo {

// The program's one colour palette: everything is drawn dark, and every colour the editor, the
// status bar and the panels use comes from here. Each colour is sRGB, made once on first use
// (thread-safely) and then shared: a function always returns the same object. The aliases at the
// end return the very colour they name, so that changing one changes both.
namespace Theme {

const QColor &background();       // #111317: text view, gutter, editor window
const QColor &panel();            // #16191E: status bar, auxiliary panels
const QColor &laneAlt();          // #1B1F26: Markdown code spans
const QColor &separator();        // #0B0C0F: the line along the top of the status bar
const QColor &text();             // #E6E8EC: ordinary text
const QColor &textDim();          // #8A919E: operators, strikethrough
const QColor &textFaint();        // #565D6A: visible Markdown markup, status bar buttons
const QColor &accent();           // #FFB454: keywords
const QColor &red();              // #FF5C57: invalid, deleted
const QColor &cyan();             // #5CE1E6: types, tags, links
const QColor &blue();             // #7AA2F7: functions
const QColor &green();            // #9ECE6A: strings, code spans, inserted
const QColor &purple();           // #C792EA: preprocessor, attributes, meta
const QColor &pink();             // #FF7A90: properties, variables
const QColor &yellow();           // #F2D96B: constants, numbers, strong
const QColor &mint();             // #6EE7B7: escapes, emphasis
const QColor &commentColor();     // #6F7785: comments, quotes
const QColor &punctuationColor(); // #B8BEC9: punctuation
const QColor &selection();        // cyan at alpha 0.22: selected text background
const QColor &currentLine();      // white at alpha 0.035: the caret line's band
const QColor &findMatch();        // accent at alpha 0.30: the other matches of the find bar

const QColor &gutterText();        // = textFaint(): line numbers
const QColor &gutterCurrentText(); // = textDim(): the caret line's number
const QColor &caret();             // = accent(): insertion point

} // namespace Theme

} // namespace plumeo
