#include "support/LexerInputGenerator.h"

#include <random>

#include <QStringList>

namespace plumeo::bench {

namespace {

class Picker
{
public:
    explicit Picker(unsigned seed)
        : random(seed)
    {}

    const QString &pick(const QStringList &list)
    {
        return list[std::uniform_int_distribution<qsizetype>(0, list.size() - 1)(random)];
    }
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool chance(int percent) { return number(1, 100) <= percent; }

private:
    std::mt19937 random;
};

const QStringList words = {"editor", "lexer", "token", "state",  "line",   "caret",  "window",
                           "buffer", "fast",  "light", "native", "theme",  "résumé", "naïve",
                           "value",  "file",  "text",  "font",   "colour", "range"};

QString sentence(Picker &p, int count)
{
    QString s;
    for (int i = 0; i < count; ++i) {
        if (i)
            s += u' ';
        s += p.pick(words);
    }
    return s;
}

// One line of Markdown inline text: plain words with the odd inline construct.
QString inlineText(Picker &p)
{
    QString s = sentence(p, p.number(3, 6));
    const int constructs = p.number(1, 4);
    for (int i = 0; i < constructs; ++i) {
        switch (p.number(0, 8)) {
        case 0:
            s += " *" + p.pick(words) + "*";
            break;
        case 1:
            s += " **" + sentence(p, 2) + "**";
            break;
        case 2:
            s += " `" + p.pick(words) + "()`";
            break;
        case 3:
            s += " [" + sentence(p, 2) + "](https://example.com/" + p.pick(words) + ")";
            break;
        case 4:
            s += " _" + p.pick(words) + "_";
            break;
        case 5:
            s += " ~~" + p.pick(words) + "~~";
            break;
        case 6:
            s += " <https://plumeo.app/" + p.pick(words) + ">";
            break;
        case 7:
            s += " \\*not emphasis\\*";
            break;
        default:
            s += " ![" + p.pick(words) + "](img/" + p.pick(words) + ".png)";
            break;
        }
        s += u' ' + sentence(p, p.number(1, 4));
    }
    return s + u'.';
}

struct Fence
{
    QString word;
    QStringList lines;
};

const QList<Fence> fences = {
    {"swift",
     {"let value = items.map { $0 * 2 } // doubled", "func greet(_ name: String) -> String {",
      "    return \"Hello, \\(name)!\"", "}"}},
    {"python",
     {"def parse(text: str) -> list[int]:", "    \"\"\"Split and convert.\"\"\"",
      "    return [int(x) for x in text.split(',') if x]  # numbers"}},
    {"js",
     {"const total = items.reduce((a, b) => a + b, 0);", "/* sum of the items */",
      "export default function run() { return `total: ${total}`; }"}},
    {"bash", {"for f in *.md; do", "  echo \"$f\" | wc -l  # count", "done"}},
    {"json", {"{", "  \"name\": \"plumeo\", \"version\": 1.5, \"tags\": [\"a\", \"b\"]", "}"}},
    {"yaml", {"name: web", "ports: [80, 443]", "debug: false"}},
    {"html", {"<div class=\"card\">", "  <p>Hello &amp; welcome</p>", "</div>"}},
    {"css", {".card { margin: 0 auto; color: #333; }", "a:hover { text-decoration: underline; }"}},
    {"rust",
     {"fn main() {", "    let v: Vec<u32> = (1..10).collect();",
      "    println!(\"{:?}\", v); // print", "}"}},
    {"go", {"func Add(a, b int) int {", "\treturn a + b", "}"}},
    {"c", {"#include <stdio.h>", "int main(void) { printf(\"%d\\n\", 42); return 0; }"}},
    {"unknown", {"some text in an unknown language", "with two lines"}},
};

// The text being generated and its line count so far.
struct Document
{
    QString text;
    int lines = 0;

    void add(const QString &line)
    {
        text += line;
        text += u'\n';
        ++lines;
    }
};

} // namespace

QString generateMarkdown(int lines)
{
    Picker p(20240501);
    Document doc;
    auto line = [&doc](const QString &s) { doc.add(s); };
    while (doc.lines < lines) {
        line("## " + sentence(p, p.number(2, 5)));
        line(QString());
        for (int i = p.number(2, 5); i > 0; --i)
            line(inlineText(p));
        line(QString());
        switch (p.number(0, 5)) {
        case 0:
            for (int i = p.number(3, 6); i > 0; --i)
                line("- " + inlineText(p));
            break;
        case 1:
            for (int i = 1; i <= 5; ++i)
                line(QString::number(i) + ". " + inlineText(p));
            break;
        case 2:
            line("- [x] " + sentence(p, 4));
            line("- [ ] " + sentence(p, 3) + " `todo`");
            break;
        case 3:
            line("> " + inlineText(p));
            line("| " + p.pick(words) + " | " + p.pick(words) + " | `" + p.pick(words) + "` |");
            line("|---|---|---|");
            break;
        case 4:
            line("<!-- " + sentence(p, 4));
            line(sentence(p, 3) + " -->");
            break;
        default:
            line("***");
            break;
        }
        line(QString());
        const Fence &fence = fences[p.number(0, int(fences.size()) - 1)];
        const QString marker = p.chance(80) ? QStringLiteral("```") : QStringLiteral("~~~");
        line(marker + fence.word);
        for (const QString &code : fence.lines)
            line(code);
        line(marker);
        line(QString());
    }
    return doc.text;
}

QString generateHtml(int lines)
{
    Picker p(20240502);
    Document doc;
    auto line = [&doc](const QString &s) { doc.add(s); };
    line("<!DOCTYPE html>");
    line("<html lang=\"fr\">");
    line("<body class=\"home\">");
    while (doc.lines < lines) {
        const QString id = p.pick(words) + QString::number(p.number(1, 999));
        line("  <section id=\"" + id + "\" class=\"card " + p.pick(words)
             + "\" data-index=" + QString::number(doc.lines) + ">");
        line("    <h2 title='" + sentence(p, 2) + "'>" + sentence(p, 3) + " &amp; " + p.pick(words)
             + "</h2>");
        for (int i = p.number(2, 6); i > 0; --i) {
            line("    <p>" + sentence(p, 4) + " <a href=\"https://example.com/" + p.pick(words)
                 + "?a=1&amp;b=2\" target=_blank>" + p.pick(words) + "</a> &copy; &#233; "
                 + sentence(p, 3) + " <b>" + p.pick(words) + "</b>.</p>");
        }
        line("    <img src=\"img/" + p.pick(words) + ".png\" alt=\"" + p.pick(words)
             + "\" width=120 height=80 />");
        line("    <!-- " + sentence(p, 4) + " -->");
        line("  </section>");
        if (p.chance(30)) {
            line("  <script>");
            line("    // " + sentence(p, 4));
            line("    const " + p.pick(words) + " = document.querySelector(\"#" + id + "\");");
            line("    if (items.length > 0 && ready) { render(items, { mode: 'fast' }); }");
            line("    function render(list, options) { return list.map((x) => x * 2); }");
            line("  </script>");
        }
        if (p.chance(20)) {
            line("  <style>");
            line("    #" + id + " .title:hover { color: #c00; margin: 0 auto; }");
            line("    ." + p.pick(words)
                 + " > li { padding: 2px 4px; font: 14px/1.4 sans-serif; }");
            line("  </style>");
        }
    }
    line("</body>");
    line("</html>");
    return doc.text;
}

QString generateYaml(int lines)
{
    Picker p(20240503);
    Document doc;
    auto line = [&doc](const QString &s) { doc.add(s); };
    line("# Generated deployment configuration");
    line("version: 3.8");
    line("defaults: &defaults");
    line("  restart: always");
    line("  replicas: 2");
    while (doc.lines < lines) {
        const QString name = p.pick(words) + QString::number(p.number(1, 99));
        line("---");
        line(name + ":");
        line("  <<: *defaults");
        line("  image: \"registry.example.com/" + p.pick(words) + ":1."
             + QString::number(p.number(0, 9)) + "\"");
        line("  enabled: " + QString(p.chance(50) ? "true" : "no"));
        line("  ratio: " + QString::number(p.number(1, 99)) + ".5e-3");
        line("  ports: [80, 443, " + QString::number(p.number(1024, 9999)) + "]");
        line("  labels: {tier: " + p.pick(words) + ", weight: " + QString::number(p.number(1, 9))
             + "}");
        line("  env:");
        for (int i = p.number(2, 5); i > 0; --i)
            line("    - name: " + p.pick(words).toUpper() + "  # " + sentence(p, 2));
        line("  command: !!str run --" + p.pick(words));
        line("  description: |");
        line("    " + sentence(p, 6));
        line("    " + sentence(p, 5));
        line("  note: '" + sentence(p, 3) + "'");
        line("  timeout: ~");
    }
    line("...");
    return doc.text;
}

QString generateToml(int lines)
{
    Picker p(20240504);
    Document doc;
    auto line = [&doc](const QString &s) { doc.add(s); };
    line("# Generated project configuration");
    line("[package]");
    line("name = \"plumeo\"");
    while (doc.lines < lines) {
        line(QString());
        line("[[service]] # " + sentence(p, 2));
        line("name = \"" + p.pick(words) + "\"");
        line("port = " + QString::number(p.number(1024, 65535)));
        line("ratio = -" + QString::number(p.number(1, 9)) + ".25e3");
        line("enabled = " + QString(p.chance(50) ? "true" : "off"));
        line("tags = [\"" + p.pick(words) + "\", \"" + p.pick(words) + "\", '" + p.pick(words)
             + "']");
        line("limits = { cpu = 2, memory = \"512M\" }");
        line("started = 1979-05-27T07:32:00Z");
        line("path = /srv/" + p.pick(words));
        line("motto = '''" + sentence(p, 4) + "'''");
    }
    return doc.text;
}

} // namespace plumeo::bench
