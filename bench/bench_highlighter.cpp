// The syntax highlighter on generated C and Markdown, offscreen:
//   typing one character in the middle of a 100,000-line C file (the edit with its notification,
//   and the re-lex pass it causes); the first pass over a 10,000-line C file just opened;
//   highlighting a 1,000,000-line C file from scratch, every pass (above the 4,000,000-unit limit,
//   so the limit is raised for the measurement); caret moves in a 50,000-line Markdown file with
//   markup hidden. build-bench/bench/bench_highlighter
#include "editor/SyntaxHighlighter.h"
#include "support/LexerInputGenerator.h"
#include "support/SourceGenerators.h"
#include "syntax/Lexers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QStringTokenizer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace plumeo;
using namespace plumeo::bench;

namespace {

// Forwards to another lexer and counts the lines it lexes.
class CountingLexer final : public Lexer
{
public:
    explicit CountingLexer(const Lexer &inner)
        : m_inner(inner)
    {}
    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override
    {
        ++calls;
        m_inner.tokenize(line, state, tokens);
    }
    bool usesFonts() const override { return m_inner.usesFonts(); }
    mutable qint64 calls = 0;

private:
    const Lexer &m_inner;
};

// The first lineCount lines of the shared generated C source.
QString cLines(int lineCount)
{
    for (qsizetype size = qsizetype(lineCount) * 40;; size *= 2) {
        const QString text = SourceGenerators::c(size);
        qsizetype end = -1;
        int lines = 0;
        while (lines < lineCount && (end = text.indexOf(u'\n', end + 1)) >= 0)
            ++lines;
        if (lines == lineCount)
            return text.first(end);
    }
}

const Lexer &cLexer()
{
    return *Lexers::lexer(u"C");
}

std::unique_ptr<QTextDocument> makeStorage(const QString &text)
{
    auto storage = std::make_unique<QTextDocument>();
    storage->setDocumentLayout(new QPlainTextDocumentLayout(storage.get()));
    storage->setUndoRedoEnabled(false);
    QTextCursor(storage.get()).insertText(text);
    storage->setUndoRedoEnabled(true);
    return storage;
}

QFont editorFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(13);
    return font;
}

// A document shown in a plain text view, as in the editor.
struct Editor
{
    explicit Editor(const QString &text)
        : storage(makeStorage(text))
    {
        view.setDocument(storage.get());
        view.setFont(editorFont());
        view.resize(1000, 800);
        view.show();
        QApplication::processEvents();
    }
    std::unique_ptr<QTextDocument> storage;
    QPlainTextEdit view;
};

void finish(SyntaxHighlighter &highlighter)
{
    while (highlighter.dirtyFirst())
        QApplication::processEvents();
}

long peakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void typingInALargeFile(benchmark::State &state)
{
    const QString text = cLines(100000);
    Editor editor(text);
    CountingLexer lexer(cLexer());
    SyntaxHighlighter highlighter(editor.storage.get(), editorFont());
    highlighter.setLexer(&lexer);
    finish(highlighter);
    const qint64 middle = highlighter.lineStarts()[50000] + 2;
    QTextCursor cursor(editor.storage.get());
    lexer.calls = 0;
    qint64 passNanoseconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        cursor.setPosition(int(middle));
        cursor.insertText(QStringLiteral("x"));
        const qint64 edited = timer.nsecsElapsed();
        highlighter.relexDirtyLines(); // the pass the event loop would run next
        const qint64 total = timer.nsecsElapsed();
        passNanoseconds += total - edited;
        state.SetIterationTime(double(total) / 1e9);

        state.PauseTiming();
        cursor.setPosition(int(middle));
        cursor.setPosition(int(middle) + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        highlighter.relexDirtyLines();
        state.ResumeTiming();
    }
    state.counters["units"] = double(text.size());
    state.counters["pass_us"] = double(passNanoseconds) / 1e3 / double(state.iterations());
    state.counters["lines_lexed_per_keystroke"] =
        double(lexer.calls) / double(2 * state.iterations());
}
BENCHMARK(typingInALargeFile)->UseManualTime()->Unit(benchmark::kMicrosecond);

void firstPassOnOpening(benchmark::State &state)
{
    const QString text = cLines(10000);
    qint64 lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(text);
        CountingLexer lexer(cLexer());
        state.ResumeTiming();
        SyntaxHighlighter highlighter(editor->storage.get(), editorFont());
        highlighter.setLexer(&lexer); // indexes the text and runs the first pass at once
        state.PauseTiming();
        lines += lexer.calls;
        editor.reset();
        state.ResumeTiming();
    }
    state.counters["lines_in_first_pass"] = double(lines) / double(state.iterations());
}
BENCHMARK(firstPassOnOpening)->Unit(benchmark::kMillisecond);

// Every pass over text, from a storage no highlighter has touched; the storage's making and
// destruction are not timed.
void highlightFromScratch(benchmark::State &state,
                          const QString &text,
                          qint64 lengthLimit,
                          const Lexer &lexer = cLexer())
{
    for (auto _ : state) {
        state.PauseTiming();
        auto storage = makeStorage(text);
        state.ResumeTiming();
        {
            SyntaxHighlighter highlighter(storage.get(), editorFont());
            highlighter.setLengthLimit(lengthLimit);
            highlighter.setLexer(&lexer);
            finish(highlighter);
            state.PauseTiming();
        }
        storage.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void wholeLargeFile(benchmark::State &state)
{
    highlightFromScratch(state, cLines(1000000), std::numeric_limits<qint64>::max());
    state.counters["peak_RSS_MB"] = double(peakResidentMB()); // the largest run of this program
}
BENCHMARK(wholeLargeFile)->Iterations(3)->Unit(benchmark::kMillisecond);

// Also the largest text that is highlighted at all.
void fileAtTheLimit(benchmark::State &state)
{
    const qint64 limit = SyntaxHighlighter::limit;
    highlightFromScratch(state, SourceGenerators::c(limit).first(limit), limit);
}
BENCHMARK(fileAtTheLimit)->Iterations(3)->Unit(benchmark::kMillisecond);

void wholeMarkdownFile(benchmark::State &state)
{
    highlightFromScratch(state, generateMarkdown(300000), std::numeric_limits<qint64>::max(),
                         *Lexers::lexer(u"Markdown"));
}
BENCHMARK(wholeMarkdownFile)->Iterations(3)->Unit(benchmark::kMillisecond);

// About size units of the generated C on a single line, the way minified code comes: line
// comments become block comments and preprocessor lines are left out, so that the line lexes as
// code throughout.
QString cOnOneLine(qsizetype size)
{
    QString joined;
    joined.reserve(size + 200);
    const QString text = SourceGenerators::c(size + size / 4);
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        if (joined.size() >= size)
            break;
        if (line.startsWith(u'#'))
            continue;
        const qsizetype comment = line.indexOf(u"// ");
        if (comment >= 0) {
            joined += line.first(comment);
            joined += u"/* ";
            joined += line.sliced(comment + 3);
            joined += u" */";
        } else {
            joined += line;
        }
        joined += u' ';
    }
    return joined;
}

void typingInALongLine(benchmark::State &state)
{
    const QString text = cOnOneLine(1'000'000);
    Editor editor(text);
    CountingLexer lexer(cLexer());
    SyntaxHighlighter highlighter(editor.storage.get(), editorFont());
    highlighter.setLexer(&lexer);
    finish(highlighter);
    const int middle = int(text.size() / 2);
    QTextCursor cursor(editor.storage.get());
    lexer.calls = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        cursor.setPosition(middle);
        cursor.insertText(QStringLiteral("x"));
        highlighter.relexDirtyLines();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);

        state.PauseTiming();
        cursor.setPosition(middle);
        cursor.setPosition(middle + 1, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        highlighter.relexDirtyLines();
        state.ResumeTiming();
    }
    state.counters["units"] = double(text.size());
    state.counters["lines_lexed_per_keystroke"] =
        double(lexer.calls) / double(2 * state.iterations());
}
BENCHMARK(typingInALongLine)->UseManualTime()->Unit(benchmark::kMicrosecond);

void caretMovesWithHiddenMarkup(benchmark::State &state)
{
    Editor editor(generateMarkdown(50000));
    CountingLexer lexer(*Lexers::lexer(u"Markdown"));
    SyntaxHighlighter highlighter(editor.storage.get(), editorFont());
    highlighter.setHidesMarkup(true);
    highlighter.setLexer(&lexer);
    finish(highlighter);
    lexer.calls = 0;
    // Between a heading and a line with inline markup, near the middle: each move shows one line's
    // markup and hides the other's.
    QTextBlock block = editor.storage->findBlockByNumber(25000);
    while (!block.text().startsWith(u'#'))
        block = block.next();
    const qint64 from = block.blockNumber();
    while (!block.text().contains(u'*') || block.text().startsWith(u'#'))
        block = block.next();
    const qint64 to = block.blockNumber();
    qint64 line = from;
    for (auto _ : state) {
        line = line == from ? to : from;
        highlighter.setCaretLine(line);
    }
    state.SetLabel(QStringLiteral("lines %1 and %2").arg(from).arg(to).toStdString());
    state.counters["lines_restyled_per_move"] = double(lexer.calls) / double(state.iterations());
}
BENCHMARK(caretMovesWithHiddenMarkup)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
