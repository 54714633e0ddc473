#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

namespace plumeo {

// A language the editor knows: its name (unique, the key of the lexer registry and the identifier),
// the file extensions (lower case, without the dot) and whole file names that select it, and the
// comment syntax the toggle-comment command inserts. A plain value: equality compares all five
// fields.
struct Language
{
    struct BlockComment
    {
        QString open;
        QString close;
        friend bool operator==(const BlockComment &, const BlockComment &) = default;
    };

    QString name;
    QStringList extensions;
    QStringList filenames; // matched exactly and case-sensitively
    std::optional<QString> lineComment;
    std::optional<BlockComment> blockComment;

    QString id() const { return name; }
    // The name shown to users: the name itself, except for plain text, whose display name follows
    // the interface language at each call.
    QString displayName() const;

    friend bool operator==(const Language &, const Language &) = default;

    // The catalogue, in the order every list shown to users follows. Built once, never changed.
    static const std::vector<Language> &all();
    // Entry 0: "Texte brut", for txt, text, log, csv and tsv files; it has no lexer.
    static const Language &plainText();
    // "Plain Text" gives plain text; otherwise the first entry with exactly this name.
    static std::optional<Language> named(QStringView name);
    // The language of a file, from its path or name: a whole-name match first, then the lower-cased
    // extension; plain text when neither selects a language. Never fails.
    static Language forFile(QStringView path);
};

} // namespace plumeo
