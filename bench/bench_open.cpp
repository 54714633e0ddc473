// Opening a generated 50 MB, 1,000,000-line UTF-8 file the way the application does: the decode
// alone, then the whole open (type check, decode, text storage, editor window shown), and the peak
// memory of the process. Runs on the offscreen platform.
//   build-bench/bench/bench_open
#include "AppDelegate.h"
#include "DocumentController.h"
#include "document/TextDocument.h"
#include "editor/EditorWindowController.h"
#include "support/BenchEnvironment.h"
#include "text/TextFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace plumeo;

namespace {

AppDelegate *application = nullptr;

// 1,000,000 lines averaging 50 bytes, mostly ASCII with some accents.
QByteArray generateFile()
{
    QByteArray bytes;
    bytes.reserve(52 * 1000 * 1000);
    for (int line = 0; line < 1000000; ++line) {
        bytes.append("    let value_");
        bytes.append(QByteArray::number(line));
        bytes.append(line % 7 == 0 ? " = \"déjà vu\"; // naïve café test\n"
                                   : " = compute(alpha, beta); // ok\n");
    }
    return bytes;
}

struct Fixture
{
    QTemporaryDir dir;
    QString path;
    qint64 size = 0;
    Fixture()
    {
        path = dir.filePath(QStringLiteral("big.rs"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray bytes = generateFile();
        size = bytes.size();
        file.write(bytes);
    }
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

long peakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void decodeOnly(benchmark::State &state)
{
    QFile file(fixture().path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        auto decoded = TextFile::decode(bytes, Encoding::utf8());
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(decodeOnly)->Unit(benchmark::kMillisecond);

void openAndShow(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        auto opened = application->documentController()->openDocument(fixture().path);
        EditorWindowController *window = EditorWindowController::frontmost();
        window->show();
        QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        state.counters["lines"] = double(opened.value()->textStorage()->blockCount());
        state.counters["peak_RSS_MB"] = double(peakResidentMB());
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * fixture().size);
}
BENCHMARK(openAndShow)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

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
