#include "MenuMnemonics.h"

#include <functional>

#include <QHash>

namespace plumeo::MenuMnemonics {

namespace {

QChar key(QChar c)
{
    return c.toLower();
}

bool eligible(QChar c)
{
    return c.isLetterOrNumber();
}

// Positions of title's characters in the order they are preferred as its mnemonic.
QList<qsizetype> candidates(const QString &title)
{
    QList<qsizetype> starts, others;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (!eligible(title[i]))
            continue;
        const bool startsWord = i == 0 || !title[i - 1].isLetterOrNumber();
        (startsWord ? starts : others) << i;
    }
    return starts + others;
}

} // namespace

QStringList assigned(const QStringList &titles)
{
    QHash<QChar, qsizetype> owner; // a taken character → the title holding it (-1: a fixed one)
    for (const QString &title : titles)
        if (const QChar c = of(title); !c.isNull())
            owner.insert(c, -1);

    QList<QList<qsizetype>> choices;
    for (const QString &title : titles)
        choices << (of(title).isNull() ? candidates(title) : QList<qsizetype>{});
    QList<qsizetype> chosen(titles.size(), -1); // position of each title's mnemonic

    // Every title's first choice goes first, so that an early title's third choice never takes a
    // later title's own initial.
    for (qsizetype rank = 0, left = titles.size(); left > 0; ++rank) {
        left = 0;
        for (qsizetype t = 0; t < titles.size(); ++t) {
            if (chosen[t] >= 0 || rank >= choices[t].size())
                continue;
            ++left;
            const QChar c = key(titles[t][choices[t][rank]]);
            if (!owner.contains(c)) {
                owner.insert(c, t);
                chosen[t] = choices[t][rank];
            }
        }
    }

    // A title left without one may still get a letter by moving another title to a letter of its
    // own that is free (an augmenting path), so that a long menu never leaves an item out while
    // some assignment exists.
    std::function<bool(qsizetype, QSet<QChar> &)> place = [&](qsizetype t, QSet<QChar> &visited) {
        for (const qsizetype position : choices[t]) {
            const QChar c = key(titles[t][position]);
            if (visited.contains(c))
                continue;
            visited.insert(c);
            const qsizetype holder = owner.value(c, -2);
            if (holder == -1)
                continue;
            if (holder == -2 || place(holder, visited)) {
                owner.insert(c, t);
                chosen[t] = position;
                return true;
            }
        }
        return false;
    };
    for (qsizetype t = 0; t < titles.size(); ++t) {
        if (chosen[t] >= 0 || choices[t].isEmpty())
            continue;
        QSet<QChar> visited;
        place(t, visited);
    }

    QStringList result = titles;
    for (qsizetype t = 0; t < titles.size(); ++t)
        if (chosen[t] >= 0)
            result[t] = titles[t].left(chosen[t]) + u'&' + titles[t].mid(chosen[t]);
    return result;
}

QString retitled(const QString &oldTitle, const QString &newTitle, const QSet<QChar> &taken)
{
    if (!of(newTitle).isNull())
        return newTitle;
    const QChar kept = of(oldTitle);
    const QList<qsizetype> choices = candidates(newTitle);
    const auto mark = [&](qsizetype position) {
        return newTitle.left(position) + u'&' + newTitle.mid(position);
    };
    for (const qsizetype position : choices)
        if (key(newTitle[position]) == kept)
            return mark(position);
    for (const qsizetype position : choices)
        if (!taken.contains(key(newTitle[position])))
            return mark(position);
    return newTitle;
}

QString escaped(const QString &text)
{
    QString copy = text;
    return copy.replace(u'&', QStringLiteral("&&"));
}

QString plain(const QString &title)
{
    QString result;
    result.reserve(title.size());
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == u'&' && i + 1 < title.size())
            ++i;
        result += title[i];
    }
    return result;
}

QChar of(const QString &title)
{
    for (qsizetype i = 0; i + 1 < title.size(); ++i) {
        if (title[i] != u'&')
            continue;
        if (title[i + 1] != u'&')
            return key(title[i + 1]);
        ++i;
    }
    return {};
}

} // namespace plumeo::MenuMnemonics
