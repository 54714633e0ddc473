#include "text/StatusTexts.h"

#include "text/Localization.h"
#include "text/TextFile.h"

namespace plumeo::StatusTexts {

namespace {

const QString separator = QStringLiteral(" · ");

QString counted(qint64 count,
                const QString &frenchOne,
                const QString &englishOne,
                const QString &frenchMany,
                const QString &englishMany)
{
    if (count == 1)
        return L(frenchOne, englishOne);
    return QString::number(count) + L(frenchMany, englishMany);
}

} // namespace

QString position(qint64 line, qint64 column)
{
    return QStringLiteral("Ln ") + QString::number(line) + QStringLiteral(", Col ")
           + QString::number(column);
}

QString selection(qint64 characters, qint64 lines)
{
    QString text = counted(characters, QStringLiteral("1 caractère"), QStringLiteral("1 character"),
                           QStringLiteral(" caractères"), QStringLiteral(" characters"));
    if (lines >= 2)
        text += separator + QString::number(lines)
                + L(QStringLiteral(" lignes"), QStringLiteral(" lines"));
    return text;
}

QString counts(qint64 lines, std::optional<qint64> words)
{
    QString text = counted(lines, QStringLiteral("1 ligne"), QStringLiteral("1 line"),
                           QStringLiteral(" lignes"), QStringLiteral(" lines"));
    if (words)
        text += separator
                + counted(*words, QStringLiteral("1 mot"), QStringLiteral("1 word"),
                          QStringLiteral(" mots"), QStringLiteral(" words"));
    return text;
}

QString encoding(const Encoding &encoding, bool hasBOM)
{
    QString text = TextFile::name(encoding);
    if (hasBOM)
        text += separator + QStringLiteral("BOM");
    return text;
}

QString loading(int percent)
{
    // French sets a narrow no-break space before the percent sign.
    return L(QStringLiteral("Ouverture… %1\u202F%").arg(percent),
             QStringLiteral("Opening… %1%").arg(percent));
}

} // namespace plumeo::StatusTexts
