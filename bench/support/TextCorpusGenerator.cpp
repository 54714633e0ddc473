#include "support/TextCorpusGenerator.h"

#include <random>

namespace plumeo::bench {

QByteArray generateUtf8Source(qsizetype targetBytes, bool crlf)
{
    static const char *const lines[] = {
        "static int compute_total(const struct item *items, size_t count)",
        "{",
        "    int total = 0; /* somme des éléments — naïve */",
        "    for (size_t i = 0; i < count; ++i) {",
        "        total += items[i].price * items[i].quantity;",
        "    }",
        "    printf(\"Total: %d €\\n\", total); // 😀 done",
        "    return total;",
        "}",
        "",
        "# Überschrift: Größe und Maß",
        "    const char *label = \"Ça marche déjà\";",
    };
    std::mt19937 random(42);
    QByteArray out;
    out.reserve(targetBytes + 256);
    const char *newline = crlf ? "\r\n" : "\n";
    while (out.size() < targetBytes) {
        out.append(lines[random() % std::size(lines)]);
        out.append(newline);
    }
    return out;
}

} // namespace plumeo::bench
