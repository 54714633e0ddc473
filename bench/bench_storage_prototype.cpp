// What a text storage of our own would cost, beside the QTextDocument the editor uses today, on
// the same generated texts: a 50 MB C file of about 1.28 M lines and a 100 MB file of one line
// (minified script). Both paths start from the decoded QString; decoding is not measured.
//
//   Qt path:        QTextDocument + QPlainTextDocumentLayout, the whole text inserted through
//                   QTextCursor::insertText with undo off, shown in a 1000×800 QPlainTextEdit
//                   (NoWrap, DejaVu Sans Mono 13 pt) until its first paint is done.
//   prototype path: ChunkedText (32 K-unit chunks, line breaks kept per chunk) and
//                   VisibleLineLayouts (one QTextLayout per visible line, a window of a long line),
//                   painted into a 1000×800 image.
//
// Benchmarks: open, memory (each path in a child process of its own, so that neither inherits the
// other's freed heap: resident and heap growth, peak), keystroke at the end and in the middle
// (insert one character, timed with the line-index patch, the relayout and the repaint; its removal
// untimed), scrolling a screen, the 100 MB single line (open and a keystroke at its end), and the
// line-index patch alone against shifting a flat vector of line starts. Before anything is timed,
// the prototype checks itself against the original text and a fresh line index after random edits,
// and aborts if they disagree.
//
// heap_added_MB is the heap still handed out (mallinfo2) that the measured step added, counted in
// this process: exact for what stays alive even when the allocator reuses memory an earlier
// benchmark freed. The memory benchmarks add rss_added_MB (from /proc/self/statm, after versus
// before the open) and peak_rss_MB (VmHWM, the whole child process, its 100 MB source included).
//
//   QT_QPA_PLATFORM=offscreen build-bench/bench/bench_storage_prototype [--benchmark_filter=…]
// About two minutes on two idle cores. A child process for the memory figures is this program run
// with --measure-memory=qt or --measure-memory=prototype; it prints its figures and exits.
#include "support/ChunkedText.h"
#include "support/SourceGenerators.h"
#include "support/VisibleLineLayouts.h"
#include "text/LineIndex.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

using namespace plumeo;
using namespace plumeo::bench;

namespace {

constexpr QSize viewportSize(1000, 800);

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "bench_storage_prototype: %s\n", what);
    std::abort();
}

QFont editorFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(13);
    font.setStyleHint(QFont::Monospace);
    return font;
}

// --- inputs -------------------------------------------------------------------------------------

// 50 MB of generated C. The generator indents by 4 columns, which makes its lines average about
// 34 units; indenting by 8 instead, as kernel-style C does, brings them to about 40, as in the
// 1.28 M-line file that prompted this.
const QString &cText()
{
    static const QString text = [] {
        const QString source = SourceGenerators::c(44300 * 1000);
        QString out;
        out.reserve(source.size() * 6 / 5);
        qsizetype lineStart = 0;
        while (lineStart < source.size() && out.size() < 50 * 1000 * 1000) {
            qsizetype lineEnd = source.indexOf(u'\n', lineStart);
            lineEnd = lineEnd < 0 ? source.size() : lineEnd + 1;
            const QStringView line = QStringView(source).mid(lineStart, lineEnd - lineStart);
            qsizetype indent = 0;
            while (indent < line.size() && line[indent] == u' ')
                ++indent;
            out.append(QString(indent, u' '));
            out.append(line);
            lineStart = lineEnd;
        }
        return out;
    }();
    return text;
}

// 100 MB of script on one line: generated JavaScript with each line break and the indentation
// after it dropped, the way a minifier leaves it.
const QString &singleLineText()
{
    static const QString text = [] {
        const QString source = SourceGenerators::javascript(113 * 1000 * 1000);
        QString out;
        out.reserve(source.size());
        const QChar *p = source.constData();
        const QChar *end = p + source.size();
        while (p != end && out.size() < 100 * 1000 * 1000) {
            if (*p == u'\n') {
                while (p != end && (*p == u'\n' || *p == u' '))
                    ++p;
                continue;
            }
            out.append(*p++);
        }
        return out;
    }();
    return text;
}

// --- memory -------------------------------------------------------------------------------------

long pageSize()
{
    static const long size = sysconf(_SC_PAGESIZE);
    return size;
}

double residentMB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? double(fields[1].toLongLong() * pageSize()) / (1024.0 * 1024.0) : 0;
}

double peakResidentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return double(line.mid(6).trimmed().split(' ').value(0).toLongLong()) / 1024.0;
    return 0;
}

// Bytes the allocator has handed out and not taken back (small blocks plus mmapped large ones).
double heapInUseMB()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// --- the Qt path --------------------------------------------------------------------------------

// Counts the paints of a widget, so that a measurement can wait for the one it caused.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Runs the event loop until the watched widget has painted once more than `before`.
void waitForPaint(const PaintCounter &counter, int before)
{
    QElapsedTimer waited;
    waited.start();
    while (counter.paints <= before) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (waited.elapsed() > 120 * 1000)
            fail("the text view never painted");
    }
}

// The editor's storage and view as they are today.
struct QtEditorPath
{
    QTextDocument document;
    QPlainTextEdit view;
    PaintCounter paints;

    explicit QtEditorPath(const QString &text)
    {
        document.setUndoRedoEnabled(false);
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        document.setDefaultFont(editorFont());
        QTextCursor(&document).insertText(text);
        view.setFont(editorFont());
        view.setLineWrapMode(QPlainTextEdit::NoWrap);
        view.resize(viewportSize);
        view.setDocument(&document);
        view.viewport()->installEventFilter(&paints);
        view.show();
        waitForPaint(paints, 0);
    }

    int visibleBlocks()
    {
        const QTextBlock first = view.cursorForPosition(QPoint(0, 0)).block();
        const QTextBlock last =
            view.cursorForPosition(QPoint(0, view.viewport()->height() - 1)).block();
        return last.blockNumber() - first.blockNumber() + 1;
    }
    // Puts the caret at position and scrolls it into view, outside any measurement.
    void placeCaret(int position)
    {
        QTextCursor cursor(&document);
        cursor.setPosition(position);
        view.setTextCursor(cursor);
        view.ensureCursorVisible();
        QApplication::processEvents();
    }
    // Types one character at the caret and waits for the repaint.
    void typeCharacter()
    {
        const int before = paints.paints;
        QTextCursor cursor = view.textCursor();
        cursor.insertText(QStringLiteral("x"));
        waitForPaint(paints, before);
    }
    void eraseCharacter()
    {
        const int before = paints.paints;
        QTextCursor cursor = view.textCursor();
        cursor.deletePreviousChar();
        waitForPaint(paints, before);
    }
};

// --- the prototype path -------------------------------------------------------------------------

struct PrototypePath
{
    ChunkedText text;
    VisibleLineLayouts layouts;
    QImage screen;

    explicit PrototypePath(const QString &source)
        : text(source)
        , layouts(text, editorFont(), viewportSize)
        , screen(viewportSize, QImage::Format_ARGB32_Premultiplied)
    {
        layouts.scrollTo(0);
        paint(0, layouts.visibleLineCount());
    }

    // Repaints the band of the screen where lines [fromLine, toLine) are, as a widget repaints
    // the rectangle an edit dirtied.
    void paint(qint64 fromLine, qint64 toLine)
    {
        QPainter painter(&screen);
        const qreal top = qreal(fromLine - layouts.firstLine()) * layouts.lineSpacing();
        const qreal bottom = qreal(toLine - layouts.firstLine()) * layouts.lineSpacing();
        painter.fillRect(QRectF(0, top, screen.width(), bottom - top).intersected(screen.rect()),
                         Qt::white);
        layouts.paint(painter, fromLine, toLine);
    }
    // Shows the line holding offset (at the top, or scrolled right so that its column is in view
    // on a long line).
    void showOffset(qint64 offset)
    {
        const qint64 line = text.lineAt(offset);
        const qint64 column = offset - text.lineStart(line);
        const qint64 firstColumn = column > 200 ? column - 100 : 0;
        layouts.scrollTo(std::max<qint64>(0, line - layouts.visibleLineCount() / 2), firstColumn);
        paint(layouts.firstLine(), layouts.firstLine() + layouts.visibleLineCount());
    }
    // Types one character at offset: storage, index, the line's layout and its repaint.
    void typeCharacter(qint64 offset)
    {
        text.insert(offset, u"x");
        const qint64 line = text.lineAt(offset);
        layouts.lineChanged(line);
        paint(line, line + 1);
    }
    void eraseCharacter(qint64 offset)
    {
        text.remove(offset, 1);
        const qint64 line = text.lineAt(offset);
        layouts.lineChanged(line);
        paint(line, line + 1);
    }
};

// --- the prototype checks itself ----------------------------------------------------------------

// A small deterministic generator for the edits.
struct Xorshift
{
    std::uint64_t state;
    std::uint64_t next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }
    qint64 below(qint64 n) { return n > 0 ? qint64(next() % std::uint64_t(n)) : 0; }
};

void checkIndexAgainstFresh(const ChunkedText &text, const QString &expected)
{
    if (text.size() != expected.size() || text.toString() != expected)
        fail("the chunked text does not read back as the original");
    const LineIndex fresh(expected);
    if (text.lineCount() != fresh.lineCount())
        fail("the chunked line index counts other lines than a fresh index");
    for (qint64 line = 0; line < fresh.lineCount(); ++line)
        if (text.lineStart(line) != fresh.start(line))
            fail("the chunked line index puts a line start elsewhere than a fresh index");
    Xorshift random{7};
    for (int i = 0; i < 2000; ++i) {
        const qint64 offset = random.below(expected.size() + 1);
        if (text.lineAt(offset) != fresh.line(offset))
            fail("the chunked line index maps an offset to another line than a fresh index");
    }
}

// Edits the chunked text and a plain copy the same way, then compares both with a fresh index:
// small insertions with and without line breaks, pastes larger than a chunk, removals across
// chunk boundaries.
void checkEdits(const QString &original, qsizetype chunkSize, int edits)
{
    ChunkedText text(original, chunkSize);
    checkIndexAgainstFresh(text, original);
    QString expected = original;
    Xorshift random{42};
    const QString paste = original.left(3 * chunkSize + 17);
    for (int i = 0; i < edits; ++i) {
        const qint64 offset = random.below(expected.size() + 1);
        switch (random.below(5)) {
        case 0:
            text.insert(offset, u"x");
            expected.insert(offset, u'x');
            break;
        case 1:
            text.insert(offset, u"a\nb\n\nc");
            expected.insert(offset, QStringLiteral("a\nb\n\nc"));
            break;
        case 2:
            text.insert(offset, paste);
            expected.insert(offset, paste);
            break;
        default: {
            const qint64 length = random.below(random.below(2) ? 3 * chunkSize : 40);
            text.remove(offset, length);
            expected.remove(offset, length);
            break;
        }
        }
    }
    checkIndexAgainstFresh(text, expected);
    // Removing everything leaves one empty line.
    text.remove(0, text.size());
    checkIndexAgainstFresh(text, QString());
}

void checkLayouts(const QString &source)
{
    PrototypePath path(source);
    for (qint64 line = 0;
         line < std::min<qint64>(path.layouts.visibleLineCount(), path.text.lineCount()); ++line)
        if (path.layouts.laidOutText(line) != path.text.lineText(line))
            fail("a visible line is laid out with other text than the line's");
}

void checkPrototypeOnce()
{
    static const bool checked = [] {
        // Tiny chunks first, so that splits and removals across many chunks happen often.
        checkEdits(cText().left(200 * 1000), 64, 3000);
        checkEdits(cText(), ChunkedText::defaultChunkSize, 60);
        checkEdits(singleLineText().left(5 * 1000 * 1000), ChunkedText::defaultChunkSize, 60);
        checkLayouts(cText());
        return true;
    }();
    (void)checked;
}

// --- benchmarks ---------------------------------------------------------------------------------

enum class Path { qt, prototype };

// Opens the text and shows its first screen; the heap it holds open is counted on the last
// iteration, while it is still open.
void openAndShow(benchmark::State &state, Path path, const QString &source)
{
    if (path == Path::prototype)
        checkPrototypeOnce();
    double addedMB = 0;
    for (auto _ : state) {
        const double before = heapInUseMB();
        QElapsedTimer timer;
        timer.start();
        if (path == Path::qt) {
            auto qt = std::make_unique<QtEditorPath>(source);
            state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
            addedMB = heapInUseMB() - before;
            state.counters["lines"] = double(qt->document.blockCount());
            state.counters["visible_lines"] = double(qt->visibleBlocks());
        } else {
            auto prototype = std::make_unique<PrototypePath>(source);
            state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
            addedMB = heapInUseMB() - before;
            state.counters["lines"] = double(prototype->text.lineCount());
            state.counters["visible_lines"] = double(prototype->layouts.visibleLineCount());
            state.counters["chunks"] = double(prototype->text.chunkCount());
        }
    }
    state.counters["heap_added_MB"] = addedMB;
    state.counters["text_MB"] = double(source.size()) / 1e6;
}

void openC(benchmark::State &state, Path path)
{
    openAndShow(state, path, cText());
}
BENCHMARK_CAPTURE(openC, qt, Path::qt)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openC, prototype, Path::prototype)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// Runs this program again as a child that opens one path and reports what it added; the figures of
// a path measured after the other would be flattered by the heap the first one freed.
void memoryC(benchmark::State &state, Path path)
{
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral("/proc/self/exe"),
                    {path == Path::qt ? QStringLiteral("--measure-memory=qt")
                                      : QStringLiteral("--measure-memory=prototype")});
        if (!child.waitForFinished(300 * 1000) || child.exitCode() != 0)
            fail("the memory measurement's child process failed");
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 4)
            fail("the memory measurement's child printed something unexpected");
        state.SetIterationTime(figures[3].toDouble());
        state.counters["rss_added_MB"] = figures[0].toDouble();
        state.counters["heap_added_MB"] = figures[1].toDouble();
        state.counters["peak_rss_MB"] = figures[2].toDouble();
    }
}
BENCHMARK_CAPTURE(memoryC, qt, Path::qt)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(memoryC, prototype, Path::prototype)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The child's side: "rss_added_MB heap_added_MB peak_rss_MB open_seconds" on one line.
int measureMemory(Path path)
{
    const QString &source = cText();
    malloc_trim(0);
    const double rssBefore = residentMB();
    const double heapBefore = heapInUseMB();
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QtEditorPath> qt;
    std::unique_ptr<PrototypePath> prototype;
    if (path == Path::qt)
        qt = std::make_unique<QtEditorPath>(source);
    else
        prototype = std::make_unique<PrototypePath>(source);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%.1f %.1f %.1f %.3f\n", residentMB() - rssBefore, heapInUseMB() - heapBefore,
                peakResidentMB(), seconds);
    return 0;
}

// One keystroke at an offset, with the view already showing it.
void keystroke(benchmark::State &state, Path path, const QString &source, double where)
{
    const qint64 offset = qint64(double(source.size()) * where);
    if (path == Path::qt) {
        QtEditorPath qt(source);
        qt.placeCaret(int(offset));
        const double before = heapInUseMB();
        for (auto _ : state) {
            QElapsedTimer timer;
            timer.start();
            qt.typeCharacter();
            state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
            qt.eraseCharacter();
        }
        state.counters["heap_added_MB"] = heapInUseMB() - before;
        if (qt.document.toRawText().size() != source.size())
            fail("the keystrokes did not leave the Qt document as it was");
    } else {
        checkPrototypeOnce();
        PrototypePath prototype(source);
        prototype.showOffset(offset);
        const double before = heapInUseMB();
        for (auto _ : state) {
            QElapsedTimer timer;
            timer.start();
            prototype.typeCharacter(offset);
            state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
            prototype.eraseCharacter(offset);
        }
        state.counters["heap_added_MB"] = heapInUseMB() - before;
        state.counters["cached_layouts"] = double(prototype.layouts.cachedLayoutCount());
        if (prototype.text.size() != source.size())
            fail("the keystrokes did not leave the chunked text as it was");
    }
}

void keystrokeAtEnd(benchmark::State &state, Path path)
{
    keystroke(state, path, cText(), 1.0);
}
void keystrokeInMiddle(benchmark::State &state, Path path)
{
    keystroke(state, path, cText(), 0.5);
}
BENCHMARK_CAPTURE(keystrokeAtEnd, qt, Path::qt)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystrokeAtEnd, prototype, Path::prototype)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystrokeInMiddle, qt, Path::qt)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(keystrokeInMiddle, prototype, Path::prototype)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

// Each iteration moves the view one screen further down from the top.
void scrollScreen(benchmark::State &state, Path path)
{
    if (path == Path::qt) {
        QtEditorPath qt(cText());
        QScrollBar *bar = qt.view.verticalScrollBar();
        const double before = heapInUseMB();
        for (auto _ : state) {
            QElapsedTimer timer;
            timer.start();
            const int painted = qt.paints.paints;
            bar->setValue(bar->value() + bar->pageStep());
            waitForPaint(qt.paints, painted);
            state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        }
        state.counters["heap_added_MB"] = heapInUseMB() - before;
        state.counters["first_line"] =
            double(qt.view.cursorForPosition(QPoint(0, 0)).block().blockNumber());
    } else {
        checkPrototypeOnce();
        PrototypePath prototype(cText());
        qint64 firstLine = 0;
        const double before = heapInUseMB();
        for (auto _ : state) {
            QElapsedTimer timer;
            timer.start();
            firstLine += prototype.layouts.visibleLineCount();
            state.counters["layouts_built"] = prototype.layouts.scrollTo(firstLine);
            prototype.paint(firstLine, firstLine + prototype.layouts.visibleLineCount());
            state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        }
        state.counters["heap_added_MB"] = heapInUseMB() - before;
        state.counters["first_line"] = double(firstLine);
    }
}
BENCHMARK_CAPTURE(scrollScreen, qt, Path::qt)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(scrollScreen, prototype, Path::prototype)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);

void openSingleLine(benchmark::State &state, Path path)
{
    openAndShow(state, path, singleLineText());
}
BENCHMARK_CAPTURE(openSingleLine, qt, Path::qt)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openSingleLine, prototype, Path::prototype)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void keystrokeSingleLineEnd(benchmark::State &state, Path path)
{
    keystroke(state, path, singleLineText(), 1.0);
}
BENCHMARK_CAPTURE(keystrokeSingleLineEnd, qt, Path::qt)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(keystrokeSingleLineEnd, prototype, Path::prototype)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// The index alone, for an insertion without a line break in the middle and its removal: the
// chunked index patches one chunk's breaks and the per-chunk arrays; a flat vector of every line
// start (what plumeo::LineIndex holds) shifts every later start, twice.
void lineIndexPatchChunked(benchmark::State &state)
{
    checkPrototypeOnce();
    ChunkedText text(cText());
    const qint64 offset = text.size() / 2;
    for (auto _ : state) {
        text.insert(offset, u"x");
        text.remove(offset, 1);
    }
    state.counters["lines"] = double(text.lineCount());
}
BENCHMARK(lineIndexPatchChunked)->Unit(benchmark::kMicrosecond);

void lineIndexPatchFlatVector(benchmark::State &state)
{
    std::vector<qint64> starts = LineIndex(cText()).lineStarts();
    const std::size_t middle = starts.size() / 2;
    for (auto _ : state) {
        for (std::size_t i = middle; i < starts.size(); ++i)
            ++starts[i];
        benchmark::ClobberMemory();
        for (std::size_t i = middle; i < starts.size(); ++i)
            --starts[i];
        benchmark::DoNotOptimize(starts.data());
    }
    state.counters["lines"] = double(starts.size());
}
BENCHMARK(lineIndexPatchFlatVector)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PLUMEO_TESTING", "1");
    QApplication application(argc, argv);
    if (!QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans Mono")))
        std::fprintf(stderr, "bench_storage_prototype: DejaVu Sans Mono is missing, figures use "
                             "another monospaced font\n");
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--measure-memory=qt")
            return measureMemory(Path::qt);
        if (argument == "--measure-memory=prototype")
            return measureMemory(Path::prototype);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
