// Opening large files in the editor window the way a user does, on the offscreen platform: the time
// until the first text is painted, the time until the document can be edited, the memory, and a
// keystroke at the end of the file. Each case is best run in its own process, so that its peak
// resident memory is its own:
//   for f in c50MB c8MB oneLine100MB; do
//     build-bench/bench/bench_large_file --benchmark_filter=$f; done
// The inputs are generated at run time: a 50 MB C file (about 1.3 million lines), an 8 MB one, and
// 100 MB of minified script on a single line.
#include "AppDelegate.h"
#include "DocumentController.h"
#include "document/TextDocument.h"
#include "editor/EditorTextView.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "support/BenchEnvironment.h"
#include "support/SourceGenerators.h"

#include <fstream>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace plumeo;

namespace {

AppDelegate *application = nullptr;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeInput(const QString &name, const QByteArray &bytes)
{
    const QString path = folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

QString cFile(qsizetype bytes)
{
    return writeInput(QStringLiteral("large%1.c").arg(bytes),
                      bench::SourceGenerators::c(bytes).toUtf8());
}

QString oneLineFile(qsizetype bytes)
{
    const QByteArray piece = "function f(a,b){return a.map(function(x){return x*b+1;}).filter("
                             "function(y){return y%3!==0;});}var q=f([1,2,3],4);";
    QByteArray text;
    text.reserve(bytes);
    while (text.size() + piece.size() <= bytes)
        text.append(piece);
    return writeInput(QStringLiteral("oneLine.js"), text);
}

long residentMB(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size())) / 1024;
    }
    return -1;
}

// Notes when the view first paints.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void openLargeFile(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto opened = application->documentController()->openDocument(path);
        if (!opened)
            std::abort();
        TextDocument *document = opened.value();
        EditorWindowController *window = EditorWindowController::frontmost();
        window->show();
        EditorTextView *view =
            static_cast<EditorTextView *>(window->editorFor(document)->editorView()->widget());
        PaintWatch watch;
        view->viewport()->installEventFilter(&watch);
        while (!watch.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        const double firstText = double(timer.nsecsElapsed()) / 1e6;
        while (view->isReadOnly())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        const double editable = double(timer.nsecsElapsed()) / 1e6;
        view->viewport()->removeEventFilter(&watch);
        state.SetIterationTime(editable / 1e3);
        state.counters["first_text_ms"] = firstText;
        state.counters["editable_ms"] = editable;
        state.counters["blocks"] = double(document->textStorage()->blockCount());
        state.counters["resident_MB"] = double(residentMB("VmRSS:"));

        // A keystroke at the end of the file, as the user types it, up to its repaint.
        view->moveCursor(QTextCursor::End);
        QApplication::processEvents();
        QElapsedTimer keystroke;
        keystroke.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(view, &press);
        view->viewport()->repaint();
        state.counters["keystroke_ms"] = double(keystroke.nsecsElapsed()) / 1e6;
        state.counters["peak_resident_MB"] = double(residentMB("VmHWM:"));

        state.PauseTiming();
        document->textStorage()->setModified(false);
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void c50MB(benchmark::State &state)
{
    static const QString path = cFile(50'000'000);
    openLargeFile(state, path);
}
BENCHMARK(c50MB)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void c8MB(benchmark::State &state)
{
    static const QString path = cFile(8'000'000);
    openLargeFile(state, path);
}
BENCHMARK(c8MB)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void oneLine100MB(benchmark::State &state)
{
    static const QString path = oneLineFile(100'000'000);
    openLargeFile(state, path);
}
BENCHMARK(oneLine100MB)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    bench::BenchEnvironment environment;
    QApplication application(argc, argv);
    AppDelegate delegate;
    delegate.applicationWillFinishLaunching({});
    ::application = &delegate;
    return bench::runBenchmarks(argc, argv);
}
