#pragma once

#include <QByteArray>
#include <QStringView>

namespace plumeo {

// Windows code page numbers as RTF uses them (\ansicpg, \cpg, and through \fcharset), plus three
// pseudo pages for symbol fonts, whose bytes are glyph numbers rather than characters.
namespace RtfCodePage {

constexpr int windowsWestern = 1252;
// The Symbol font: Greek letters and mathematical signs, mapped to their Unicode characters.
constexpr int symbolFont = 42;
// Wingdings: the bytes word processors use as list bullets map to Unicode; others stay private-use.
constexpr int wingdingsFont = 0x10002A;
// Any other symbol font: U+F000 + byte, the private-use convention symbol fonts are drawn with.
constexpr int otherSymbolFont = 0x20002A;

// The code page of a \fcharset value; 0 when the charset means "the document's code page" (1, the
// default charset, and unknown values). Charset 0 is Western, whatever \ansicpg says, as in Word
// and LibreOffice.
int forCharset(int charset);
// The pseudo page of a symbol font with this name, chosen by name because many writers declare
// Symbol and Wingdings without \fcharset2.
int forSymbolFont(QStringView fontName);
// Whether a font with this name is a symbol font even without \fcharset2.
bool isSymbolFontName(QStringView fontName);
// The ICU converter name for a Windows or Mac code page number; empty when there is none.
QByteArray converterName(int codePage);

} // namespace RtfCodePage

} // namespace plumeo
