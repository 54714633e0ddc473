#include "support/SourceGenerators.h"

#include <array>
#include <cstdint>

namespace plumeo::bench::SourceGenerators {

namespace {

// A small deterministic generator (xorshift64*), so that texts do not depend on the standard
// library's distributions.
class Generator
{
public:
    explicit Generator(std::uint64_t seed)
        : m_state(seed * 0x9E3779B97F4A7C15ull + 1)
    {}

    std::uint64_t next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 0x2545F4914F6CDD1Dull;
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    template <std::size_t N> QString pick(const std::array<const char *, N> &words)
    {
        return QString::fromLatin1(words[std::size_t(below(int(N)))]);
    }
    QString identifier()
    {
        static constexpr std::array<const char *, 16> stems = {
            "buffer", "count",  "index", "node",   "value", "result", "table", "entry",
            "offset", "length", "cache", "parser", "token", "state",  "item",  "limit"};
        QString name = pick(stems);
        if (below(3) == 0)
            name += u'_' + pick(stems);
        if (below(4) == 0)
            name += QString::number(below(100));
        return name;
    }
    QString number()
    {
        switch (below(5)) {
        case 0:
            return QStringLiteral("0x") + QString::number(below(0x10000), 16).toUpper();
        case 1:
            return QStringLiteral("%1.%2").arg(below(1000)).arg(below(100));
        case 2:
            return QStringLiteral("%1e-%2").arg(below(10)).arg(below(10));
        default:
            return QString::number(below(100000));
        }
    }
    QString words(int count)
    {
        static constexpr std::array<const char *, 12> words = {"the",   "value", "is",   "kept",
                                                               "until", "next",  "line", "of",
                                                               "input", "and",   "we",   "stop"};
        QString text;
        for (int i = 0; i < count; ++i)
            text += (i ? QStringLiteral(" ") : QString()) + pick(words);
        return text;
    }

private:
    std::uint64_t m_state;
};

// Appends blocks from the generator until the text reaches the size.
template <typename Block> QString build(qsizetype size, std::uint64_t seed, Block block)
{
    Generator random(seed);
    QString text;
    text.reserve(size + 4096);
    int n = 0;
    while (text.size() < size)
        block(random, text, n++);
    return text;
}

} // namespace

QString c(qsizetype size)
{
    return build(size, 1, [](Generator &r, QString &out, int n) {
        if (n % 25 == 0) {
            out += QStringLiteral("#include <stdio.h>\n#include \"%1.h\"\n").arg(r.identifier());
            out += QStringLiteral("#define MAX_%1 %2\n\n").arg(n).arg(r.number());
        }
        const QString a = r.identifier(), b = r.identifier(), f = r.identifier();
        out += QStringLiteral("/*\n * %1 %2.\n * Returns %3 when the 'input' ends.\n */\n")
                   .arg(f, r.words(6), r.words(3));
        out += QStringLiteral("static int %1_%2(const char *%3, size_t %4)\n{\n")
                   .arg(f)
                   .arg(n)
                   .arg(a, b);
        out += QStringLiteral("    unsigned long hash = %1UL; // %2\n").arg(r.number(), r.words(4));
        out += QStringLiteral("    for (size_t i = 0; i < %1; ++i) {\n").arg(b);
        out += QStringLiteral("        if (%1[i] == '\\n' || %1[i] == '\\\\') {\n").arg(a);
        out += QStringLiteral("            hash = (hash ^ (unsigned char)%1[i]) * 16777619u;\n")
                   .arg(a);
        out += QStringLiteral("        } else if (%1[i] == '\\'') {\n").arg(a);
        out += QStringLiteral("            continue; /* %1 */\n").arg(r.words(2));
        out += QStringLiteral("        } else {\n");
        out += QStringLiteral("            printf(\"%1 %d: %s\\n\", (int)i, \"\\\"%2\\\"\");\n")
                   .arg(r.words(2), r.identifier());
        out += QStringLiteral("        }\n    }\n");
        out += QStringLiteral("    double ratio = %1 * (double)%2 + .5f;\n").arg(r.number(), b);
        out += QStringLiteral("    struct %1 *p = &%2_table[%3];\n")
                   .arg(r.identifier(), f, r.number());
        out += QStringLiteral("    p->%1.%2 += ratio > %3 ? 1 : -1;\n")
                   .arg(r.identifier(), r.identifier(), r.number());
        out +=
            QStringLiteral("    return (int)(hash & 0xFFFF) + p->%1;\n}\n\n").arg(r.identifier());
    });
}

QString python(qsizetype size)
{
    return build(size, 2, [](Generator &r, QString &out, int n) {
        if (n % 25 == 0)
            out += QStringLiteral("import os\nfrom collections import %1\n\n").arg(r.identifier());
        const QString cls = QStringLiteral("Node%1").arg(n);
        out += QStringLiteral(
                   "class %1(Base):\n    \"\"\"%2.\n\n    %3 'quoted' text.\n    \"\"\"\n\n")
                   .arg(cls, r.words(5), r.words(4));
        out +=
            QStringLiteral("    @property\n    def %1(self, value: int, *args, **kwargs) -> str:\n")
                .arg(r.identifier());
        out += QStringLiteral("        # %1\n").arg(r.words(6));
        out +=
            QStringLiteral("        result = {\"%1\": value, '%2': %3, \"esc\": \"a\\tb\\\"c\"}\n")
                .arg(r.identifier(), r.identifier(), r.number());
        out += QStringLiteral("        if value > %1 and not args:\n").arg(r.number());
        out += QStringLiteral("            return f\"{value!r} %1\"\n").arg(r.words(2));
        out += QStringLiteral("        for item in range(%1):\n").arg(r.below(100));
        out += QStringLiteral("            result[item] = item ** 2 / %1  # %2\n")
                   .arg(r.number(), r.words(2));
        out += QStringLiteral("        return self.%1(result, None, True)\n\n").arg(r.identifier());
    });
}

QString javascript(qsizetype size)
{
    return build(size, 3, [](Generator &r, QString &out, int n) {
        if (n % 25 == 0)
            out += QStringLiteral("import { %1 } from './%2.js';\n\n")
                       .arg(r.identifier(), r.identifier());
        const QString f = r.identifier();
        out += QStringLiteral("/**\n * %1.\n * @param {number} a %2\n */\n")
                   .arg(r.words(5), r.words(2));
        out += QStringLiteral("export function %1_%2(a, b) {\n").arg(f).arg(n);
        out += QStringLiteral("  const text = `%1 ${a} and ${b}`;\n").arg(r.words(2));
        out += QStringLiteral("  let quoted = \"double \\\"%1\\\"\" + 'single \\'%2\\'';\n")
                   .arg(r.identifier(), r.identifier());
        out += QStringLiteral("  if (a === b && text.length > %1) {\n    return null; // %2\n  }\n")
                   .arg(r.number(), r.words(3));
        out += QStringLiteral("  const list = [%1, %2, %3].map((x) => x * 2);\n")
                   .arg(r.number(), r.number(), r.number());
        out += QStringLiteral("  return this.%1.%2(a, list, { key: '%3' });\n}\n\n")
                   .arg(r.identifier(), r.identifier(), r.identifier());
        out += QStringLiteral("class %1 extends Base {\n  constructor() {\n    super();\n    "
                              "this.%2 = %3;\n  }\n}\n\n")
                   .arg(QStringLiteral("Store%1").arg(n), r.identifier(), r.number());
    });
}

QString sql(qsizetype size)
{
    return build(size, 4, [](Generator &r, QString &out, int n) {
        const QString table = QStringLiteral("t_%1").arg(n);
        out += QStringLiteral("-- %1\n").arg(r.words(5));
        out += QStringLiteral("CREATE TABLE %1 (\n    id SERIAL PRIMARY KEY,\n").arg(table);
        out += QStringLiteral("    name VARCHAR(255) NOT NULL DEFAULT 'it''s %1',\n")
                   .arg(r.identifier());
        out += QStringLiteral("    price NUMERIC(10, 2),\n    created TIMESTAMP\n);\n");
        out += QStringLiteral("INSERT INTO %1 (id, name) VALUES (%2, 'O''Brien'), (%3, \"%4\");\n")
                   .arg(table, r.number(), r.number(), r.identifier());
        out += QStringLiteral("/* %1\n   %2 */\n").arg(r.words(4), r.words(3));
        out += QStringLiteral("SELECT a.id, COUNT(*) AS total FROM %1 a JOIN %2 b ON a.id = b.%3\n")
                   .arg(table, r.identifier(), r.identifier());
        out += QStringLiteral("WHERE a.price > %1 AND a.name LIKE '%%2%' GROUP BY a.id\n")
                   .arg(r.number(), r.identifier());
        out += QStringLiteral("ORDER BY total DESC LIMIT %1;\n\n").arg(r.below(100));
    });
}

} // namespace plumeo::bench::SourceGenerators
