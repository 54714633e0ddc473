#include "syntax/Syntax.h"

#include "syntax/Chars.h"

#include <algorithm>

namespace plumeo {

namespace {

QString toQString(std::u16string_view word)
{
    return QString(reinterpret_cast<const QChar *>(word.data()), qsizetype(word.size()));
}

QSet<QString> toSet(const std::vector<std::u16string_view> &words, bool lowerCase)
{
    QSet<QString> set;
    for (std::u16string_view word : words)
        set.insert(lowerCase ? toQString(word).toLower() : toQString(word));
    return set;
}

} // namespace

Syntax::Syntax(const Rules &rules)
    : nestedBlockComments(rules.nestedBlockComments)
    , keywords(toSet(rules.keywords, rules.caseInsensitiveKeywords))
    , types(toSet(rules.types, false))
    , constants(toSet(rules.constants, false))
    , preprocessor(rules.preprocessor)
    , annotation(rules.annotation)
    , variablePrefix(rules.variablePrefix)
    , capitalizedTypes(rules.capitalizedTypes)
    , functionCalls(rules.functionCalls)
    , memberProperties(rules.memberProperties)
    , caseInsensitiveKeywords(rules.caseInsensitiveKeywords)
    , identifierExtras(rules.identifierExtras)
    , lineLabels(rules.lineLabels)
    , stringKeys(rules.stringKeys)
{
    for (std::u16string_view marker : rules.lineComments) {
        if (!marker.empty())
            lineComments.emplace_back(marker);
    }
    if (rules.blockComment && !rules.blockComment->first.empty()
        && !rules.blockComment->second.empty())
        blockComment = BlockComment{std::u16string(rules.blockComment->first),
                                    std::u16string(rules.blockComment->second)};
    for (const StringRule &rule : rules.strings) {
        if (!rule.open.empty() && !rule.close.empty())
            strings.push_back(rule);
    }
    std::stable_sort(strings.begin(), strings.end(), [](const StringRule &a, const StringRule &b) {
        return a.open.size() > b.open.size();
    });

    // One table for the three lists, in the order classification asks them.
    std::vector<WordTable::Entry> entries;
    std::vector<QString> lowered; // keeps the lower-cased keywords alive while the table is built
    if (caseInsensitiveKeywords) {
        lowered.reserve(rules.keywords.size());
        for (std::u16string_view word : rules.keywords)
            lowered.push_back(toQString(word).toLower());
        for (const QString &word : lowered)
            entries.push_back({std::u16string_view(reinterpret_cast<const char16_t *>(word.utf16()),
                                                   std::size_t(word.size())),
                               TokenKind::keyword});
    } else {
        for (std::u16string_view word : rules.keywords)
            entries.push_back({word, TokenKind::keyword});
    }
    for (std::u16string_view word : rules.constants)
        entries.push_back({word, TokenKind::constant});
    for (std::u16string_view word : rules.types)
        entries.push_back({word, TokenKind::type});
    m_words = WordTable(entries, caseInsensitiveKeywords);

    auto addOpener = [this](const std::u16string &opener) {
        if (opener.front() < 128)
            m_openers.set(opener.front());
        else
            m_nonAsciiOpener = true;
    };
    for (const std::u16string &marker : lineComments)
        addOpener(marker);
    if (blockComment)
        addOpener(blockComment->open);
    for (const StringRule &rule : strings)
        addOpener(rule.open);
    for (char16_t u : identifierExtras) {
        if (u < 128)
            m_extras.set(u);
    }
}

bool Syntax::continuesIdentifier(char16_t u) const
{
    // Units above 127 are word units already, so only ASCII extras need a table.
    return Chars::isWord(u) || (u < 128 && m_extras.test(u));
}

} // namespace plumeo
