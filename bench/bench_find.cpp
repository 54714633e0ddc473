// The find bar's marks on a text of a million characters, offscreen: a scroll by one page, and a
// character typed in the middle of the text in view, each followed by the event loop (the marks
// recomputed for the lines in view, and the repaint), with the bar open on a word found on every
// line and with the bar closed; and finding the text in view alone. Texts: 100,000 lines of 11
// characters; one line of a million characters, unwrapped and wrapped. build-bench/bench/bench_find
#include "Preferences.h"
#include "document/TextDocument.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorTextView.h"
#include "editor/FindBar.h"
#include "support/BenchEnvironment.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

using namespace plumeo;

namespace {

enum Shape {
    manyLines,
    oneLineUnwrapped,
    oneLineWrapped,
};

struct Editor
{
    std::unique_ptr<TextDocument> document = std::make_unique<TextDocument>();
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    EditorTextView *view = nullptr;
    FindBar *bar = nullptr;

    Editor(Shape shape, bool barOpen)
    {
        const QString text = shape == manyLines ? QStringLiteral("a cat line\n").repeated(100'000)
                                                : QStringLiteral("a cat ").repeated(170'000);
        if (!document->read(text.toUtf8(), TextDocument::plainTextType()).hasValue())
            qFatal("unreadable text");
        auto *layout = new QVBoxLayout(window.get());
        view = new EditorTextView(document.get(), window.get());
        view->configureAsCodeEditor();
        view->setWordWrap(shape != oneLineUnwrapped);
        bar = new FindBar(window.get());
        layout->addWidget(view);
        layout->addWidget(bar);
        view->setFindBar(bar);
        window->resize(900, 700);
        window->show();
        bar->setSearchString(QStringLiteral("cat"));
        if (barOpen)
            bar->showFind();
        QApplication::processEvents();
    }
};

const char *shapeName(Shape shape)
{
    switch (shape) {
    case manyLines:
        return "100,000 lines";
    case oneLineUnwrapped:
        return "one line, unwrapped";
    case oneLineWrapped:
        return "one line, wrapped";
    }
    return "";
}

void scrollByAPage(benchmark::State &state)
{
    const auto shape = Shape(state.range(0));
    Editor editor(shape, state.range(1) != 0);
    QScrollBar *scroll = shape == oneLineUnwrapped ? editor.view->horizontalScrollBar()
                                                   : editor.view->verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value += scroll->pageStep();
        if (value > scroll->maximum())
            value = 0;
        scroll->setValue(value);
        QApplication::processEvents();
    }
    state.SetLabel(std::string(shapeName(shape))
                   + (state.range(1) ? ", bar open" : ", bar closed"));
    state.counters["marks"] = double(editor.view->extraSelections().size());
}
BENCHMARK(scrollByAPage)
    ->ArgsProduct({{manyLines, oneLineUnwrapped, oneLineWrapped}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void typeACharacter(benchmark::State &state)
{
    const auto shape = Shape(state.range(0));
    Editor editor(shape, state.range(1) != 0);
    QScrollBar *scroll = editor.view->verticalScrollBar();
    scroll->setValue(scroll->maximum() / 2);
    QApplication::processEvents();
    const QPoint middle = editor.view->viewport()->rect().center();
    editor.view->setTextCursor(editor.view->cursorForPosition(middle));
    for (auto _ : state) {
        EditorCommandRunner(*editor.view).insert(QStringLiteral("c"));
        QApplication::processEvents();
    }
    state.SetLabel(std::string(shapeName(shape))
                   + (state.range(1) ? ", bar open" : ", bar closed"));
    state.counters["marks"] = double(editor.view->extraSelections().size());
}
BENCHMARK(typeACharacter)
    ->ArgsProduct({{manyLines, oneLineWrapped}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// What finding the text in view costs alone, without the search and the repaint.
void findTheTextInView(benchmark::State &state)
{
    const auto shape = Shape(state.range(0));
    Editor editor(shape, false);
    qsizetype units = 0;
    for (auto _ : state) {
        units = 0;
        for (const TextRange range : editor.view->visibleRanges())
            units += range.length;
    }
    state.SetLabel(shapeName(shape));
    state.counters["units"] = double(units);
}
BENCHMARK(findTheTextInView)->DenseRange(manyLines, oneLineWrapped)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchEnvironment environment;
    QApplication application(argc, argv);
    Preferences::registerDefaults();
    return bench::runBenchmarks(argc, argv);
}
