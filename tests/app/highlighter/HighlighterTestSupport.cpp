#include "HighlighterTestSupport.h"

#include "base/LogCategories.h"
#include "syntax/Lexers.h"

#include <random>
#include <string_view>

#include <QCoreApplication>
#include <QStringList>
#include <QTextCursor>
#include <QTextLayout>

namespace plumeo::test {

const Lexer &cLexer()
{
    const Lexer *lexer = Lexers::lexer(u"C");
    Q_ASSERT(lexer);
    return *lexer;
}

const Lexer &markdownLexer()
{
    const Lexer *lexer = Lexers::lexer(u"Markdown");
    Q_ASSERT(lexer && lexer->usesFonts());
    return *lexer;
}

std::unique_ptr<QTextDocument> makeStorage(const QString &text)
{
    auto storage = std::make_unique<QTextDocument>();
    storage->setDocumentLayout(new QPlainTextDocumentLayout(storage.get()));
    storage->setUndoRedoEnabled(false);
    QTextCursor(storage.get()).insertText(text);
    storage->setUndoRedoEnabled(true);
    storage->setModified(false);
    return storage;
}

QString cSource(int lineCount, unsigned seed)
{
    std::mt19937 random(seed);
    const QStringList patterns = {
        QStringLiteral("static int counter_%1 = 0x%1F;"),
        QStringLiteral("int function_%1(const char *name, int value)"),
        QStringLiteral("{"),
        QStringLiteral("    // keep the value of step %1 for later"),
        QStringLiteral("    if (value > %1 && name[0] != '\\0')"),
        QStringLiteral("        return printf(\"%s: %d\\n\", name, value + %1);"),
        QStringLiteral("    double ratio = %1.5e-3 * (value - 1);"),
        QStringLiteral("#define LIMIT_%1 (1u << 4)"),
        QStringLiteral("}"),
        QString(),
    };
    QString text;
    text.reserve(lineCount * 36);
    for (int line = 0; line < lineCount; ++line) {
        if (line > 0)
            text += u'\n';
        const QString &pattern = patterns[qsizetype(random() % patterns.size())];
        const unsigned number = random() % 1000;
        text += pattern.contains(u'%') ? pattern.arg(number) : pattern;
        if (line == lineCount - 1 && pattern.isEmpty())
            text += u';'; // the last line has something to colour
    }
    return text;
}

QString plainText(const QTextDocument &storage)
{
    QString text = storage.toRawText();
    text.replace(QChar(0x2029), u'\n');
    return text;
}

QTextCharFormat formatAt(const QTextBlock &block, int offset)
{
    QTextCharFormat merged;
    for (const QTextLayout::FormatRange &range : block.layout()->formats())
        if (range.start <= offset && offset < range.start + range.length)
            merged.merge(range.format);
    return merged;
}

std::vector<LexState> endStatesFromScratch(const QString &text, const Lexer &lexer)
{
    std::vector<LexState> states;
    LexState state;
    std::vector<Token> tokens;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        tokens.clear();
        lexer.tokenize(LineSlice::of(text, start, end < 0 ? text.size() : end), state, tokens);
        states.push_back(state);
        if (end < 0)
            return states;
        start = end + 1;
    }
}

void finishPasses(SyntaxHighlighter &highlighter)
{
    for (int guard = 0; highlighter.dirtyFirst() && guard < 100000; ++guard)
        highlighter.relexDirtyLines();
    QCoreApplication::processEvents(); // the pass left queued finds nothing to do
}

namespace {
int warningCount = 0;
QtMessageHandler previousHandler = nullptr;

void countingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && context.category
        && std::string_view(context.category) == logHighlighter().categoryName())
        ++warningCount;
    if (previousHandler)
        previousHandler(type, context, message);
}
} // namespace

HighlighterWarnings::HighlighterWarnings()
{
    warningCount = 0;
    previousHandler = qInstallMessageHandler(countingHandler);
}

HighlighterWarnings::~HighlighterWarnings()
{
    qInstallMessageHandler(previousHandler);
}

int HighlighterWarnings::count() const
{
    return warningCount;
}

QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(12);
    return font;
}

} // namespace plumeo::test
