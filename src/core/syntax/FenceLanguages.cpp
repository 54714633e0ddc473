#include "syntax/FenceLanguages.h"

#include "syntax/Language.h"
#include "syntax/LexUnits.h"
#include "syntax/Lexers.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace plumeo {

namespace {

struct Resolution
{
    std::u16string word; // lower case
    quint16 index;
};

// Every word the registry can resolve is an alias, a lower-cased language name or an extension;
// each is resolved once by the registry itself, so the answers cannot drift from it.
struct FenceTable
{
    std::vector<Resolution> words; // sorted by word
    qint64 longest = 0;
    std::vector<const Lexer *> lexers; // by catalogue position

    FenceTable()
    {
        QStringList candidates = Lexers::fenceAliases().keys();
        for (const Language &language : Language::all()) {
            candidates.append(language.name.toLower());
            candidates.append(language.extensions);
            lexers.push_back(Lexers::lexer(language));
        }
        for (const QString &candidate : candidates) {
            if (const std::optional<quint16> index = Lexers::languageIndexForFence(candidate)) {
                words.push_back({candidate.toStdU16String(), *index});
                longest = std::max(longest, qint64(candidate.size()));
            }
        }
        std::sort(words.begin(), words.end(),
                  [](const Resolution &a, const Resolution &b) { return a.word < b.word; });
    }
};

const FenceTable &table()
{
    static const FenceTable fences;
    return fences;
}

} // namespace

std::optional<quint16> FenceLanguages::indexForFence(const char16_t *word, qint64 length)
{
    const FenceTable &fences = table();
    constexpr qint64 bufferSize = 64;
    if (length == 0 || length > fences.longest || length > bufferSize) {
        // Too long for any known word, unless lower-casing outside ASCII shortens it.
        for (qint64 k = 0; k < length; ++k) {
            if (word[k] >= 128)
                return Lexers::languageIndexForFence(QStringView(word, length));
        }
        return std::nullopt;
    }
    char16_t lower[bufferSize];
    for (qint64 k = 0; k < length; ++k) {
        // Lower-casing outside ASCII is the registry's business (a Kelvin sign becomes "k").
        if (word[k] >= 128)
            return Lexers::languageIndexForFence(QStringView(word, length));
        lower[k] = LexUnits::toLowerAscii(word[k]);
    }
    const std::u16string_view key(lower, size_t(length));
    const auto found = std::lower_bound(
        fences.words.begin(), fences.words.end(), key,
        [](const Resolution &entry, std::u16string_view w) { return entry.word < w; });
    if (found != fences.words.end() && found->word == key)
        return found->index;
    return std::nullopt;
}

const Lexer *FenceLanguages::lexerAt(qint64 index)
{
    const std::vector<const Lexer *> &lexers = table().lexers;
    return index >= 0 && index < qint64(lexers.size()) ? lexers[size_t(index)] : nullptr;
}

} // namespace plumeo
