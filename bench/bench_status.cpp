// The status bar's model, offscreen: the caret status after one character typed at the end of a
// 100,000- and a 1,000,000-line file (the keystroke itself outside the measure, then with it, every
// handler of the edit included), and the statistics of a 4,000,000-unit text (the word count alone,
// and the editor's whole debounced count, which reads the text out of the storage first).
// build-bench/bench/bench_status
#include "Preferences.h"
#include "document/TextDocument.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"
#include "support/BenchEnvironment.h"
#include "text/TextStatistics.h"

#include <QApplication>
#include <QTextCursor>

#include <benchmark/benchmark.h>

using namespace plumeo;

namespace {

// lineCount lines of prose-like words, lineLength units each with its LF.
QByteArray lines(int lineCount, int lineLength)
{
    QByteArray line;
    while (line.size() < lineLength - 1)
        line += "word ";
    line.truncate(lineLength - 1);
    line += '\n';
    return line.repeated(lineCount);
}

std::unique_ptr<TextDocument> documentOf(const QByteArray &bytes)
{
    auto document = std::make_unique<TextDocument>();
    if (!document->read(bytes, TextDocument::plainTextType()))
        std::abort();
    return document;
}

void caretStatusAfterAKeystroke(benchmark::State &state)
{
    auto document = documentOf(lines(int(state.range(0)), 20));
    EditorViewController editor(document.get());
    QTextCursor cursor = editor.editorView()->textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.editorView()->setTextCursor(cursor);
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor typing = editor.editorView()->textCursor();
        typing.insertText(QStringLiteral("x"));
        state.ResumeTiming();
        editor.updateCaretStatus();
    }
}
// A fixed number of keystrokes: each one typed outside the measure still costs its handlers.
BENCHMARK(caretStatusAfterAKeystroke)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

void keystrokeAtTheEndWithEveryHandler(benchmark::State &state)
{
    auto document = documentOf(lines(int(state.range(0)), 20));
    EditorViewController editor(document.get());
    QTextCursor cursor = editor.editorView()->textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.editorView()->setTextCursor(cursor);
    for (auto _ : state) {
        QTextCursor typing = editor.editorView()->textCursor();
        typing.insertText(QStringLiteral("x"));
        editor.editorView()->setTextCursor(typing);
    }
}
BENCHMARK(keystrokeAtTheEndWithEveryHandler)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

void wordCountOf4MillionUnits(benchmark::State &state)
{
    const QString text = QString::fromLatin1(lines(100'000, 40));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextStatistics::measure(text));
    state.counters["units"] = double(text.size());
}
BENCHMARK(wordCountOf4MillionUnits)->Unit(benchmark::kMillisecond);

void editorStatisticsOf4MillionUnits(benchmark::State &state)
{
    auto document = documentOf(lines(100'000, 40));
    EditorViewController editor(document.get());
    for (auto _ : state)
        editor.updateStatistics();
    state.counters["units"] = double(document->textStorage()->characterCount() - 1);
}
BENCHMARK(editorStatisticsOf4MillionUnits)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchEnvironment environment;
    QApplication application(argc, argv);
    Preferences::registerDefaults();
    return bench::runBenchmarks(argc, argv);
}
