#pragma once

#include <QString>

namespace plumeo {

// How a document indents: one tab per level, or width spaces. width is also the tab width when
// usesTabs is set; the constructor keeps it at 1 or more.
struct IndentStyle
{
    bool usesTabs = false;
    qint64 width = 4;

    IndentStyle(bool usesTabs, qint64 width);

    // One level of indentation: a tab, or width spaces.
    QString unit() const;
    // "Tabs" or "Spaces: 4", in the interface language.
    QString label() const;

    // The style of text, judged from its first 200 space-indented lines: tabs as soon as a line's
    // indentation holds a tab; otherwise spaces when the smallest indentation is 2, 3, 4 or 8.
    // Anything else (no indented line, an odd smallest indentation) gives fallback unchanged.
    static IndentStyle detect(QStringView text, const IndentStyle &fallback);

    friend bool operator==(const IndentStyle &, const IndentStyle &) = default;
};

} // namespace plumeo
