#include "text/IndentStyle.h"

#include "text/Localization.h"

#include <algorithm>

namespace plumeo {

IndentStyle::IndentStyle(bool usesTabs, qint64 width)
    : usesTabs(usesTabs)
    , width(std::max<qint64>(width, 1))
{}

QString IndentStyle::unit() const
{
    if (usesTabs)
        return QStringLiteral("\t");
    return QString(qsizetype(std::max<qint64>(width, 1)), u' ');
}

QString IndentStyle::label() const
{
    if (usesTabs)
        return L(QStringLiteral("Tabulations"), QStringLiteral("Tabs"));
    const QString number = QString::number(width);
    return L(QStringLiteral("Espaces : ") + number, QStringLiteral("Spaces: ") + number);
}

IndentStyle IndentStyle::detect(QStringView text, const IndentStyle &fallback)
{
    constexpr int sampleLimit = 200;
    bool atLineStart = true;
    qint64 leadingSpaces = 0;
    int sampled = 0;
    qint64 smallest = 0; // 0: no indented line seen yet

    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (atLineStart) {
            if (unit == u' ') {
                ++leadingSpaces;
                continue;
            }
            if (unit == u'\t')
                return IndentStyle(true, std::max<qint64>(fallback.width, 1));
            atLineStart = false;
            // A line of nothing but spaces says nothing about indentation.
            if (leadingSpaces > 0 && unit != u'\n' && unit != u'\r') {
                ++sampled;
                smallest = smallest == 0 ? leadingSpaces : std::min(smallest, leadingSpaces);
                if (sampled == sampleLimit)
                    break;
            }
        }
        if (unit == u'\n') {
            atLineStart = true;
            leadingSpaces = 0;
        }
    }

    if (smallest == 2 || smallest == 3 || smallest == 4 || smallest == 8)
        return IndentStyle(false, smallest);
    return fallback;
}

} // namespace plumeo
