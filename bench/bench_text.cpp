// Throughput of the core text services on a 50 MB generated source file, and the peak memory that
// decoding holds. Run: build-bench/bench/bench_text [--benchmark_filter=…]
#include "support/TextCorpusGenerator.h"
#include "text/LineIndex.h"
#include "text/TextFile.h"
#include "text/TextStatistics.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include <QString>

#include <benchmark/benchmark.h>

#include <malloc.h>

// Every heap allocation of the process (Qt's included) goes through these, so the live and peak
// byte counts cover everything decoding holds.
extern "C" {
void *__libc_malloc(size_t);
void __libc_free(void *);
void *__libc_realloc(void *, size_t);
void *__libc_calloc(size_t, size_t);
}

namespace {
std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};

void noteAllocation(void *p)
{
    if (!p)
        return;
    const long long now = liveBytes += (long long)malloc_usable_size(p);
    long long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
}
void noteRelease(void *p)
{
    if (p)
        liveBytes -= (long long)malloc_usable_size(p);
}
} // namespace

extern "C" {
void *malloc(size_t size)
{
    void *p = __libc_malloc(size);
    noteAllocation(p);
    return p;
}
void free(void *p)
{
    noteRelease(p);
    __libc_free(p);
}
void *calloc(size_t n, size_t size)
{
    void *p = __libc_calloc(n, size);
    noteAllocation(p);
    return p;
}
void *realloc(void *old, size_t size)
{
    noteRelease(old);
    void *p = __libc_realloc(old, size);
    if (p)
        noteAllocation(p);
    else if (old)
        noteAllocation(old); // the old block is still there
    return p;
}
}

using namespace plumeo;

namespace {

constexpr qsizetype fileSize = 50 * 1000 * 1000;

const QByteArray &sourceFile(bool crlf)
{
    static const QByteArray lf = bench::generateUtf8Source(fileSize, false);
    static const QByteArray withCRLF = bench::generateUtf8Source(fileSize, true);
    return crlf ? withCRLF : lf;
}

const QString &decodedText()
{
    static const QString text = TextFile::decode(sourceFile(false), Encoding::utf8()).value().text;
    return text;
}

void decode(benchmark::State &state)
{
    const QByteArray &bytes = sourceFile(state.range(0) != 0);
    for (auto _ : state) {
        auto result = TextFile::decode(bytes, Encoding::utf8());
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(decode)->Arg(0)->Arg(1)->ArgName("crlf")->Unit(benchmark::kMillisecond);

void encodeUtf8(benchmark::State &state)
{
    const QString &text = decodedText();
    const LineEnding ending = state.range(0) ? LineEnding::crlf : LineEnding::lf;
    qsizetype produced = 0;
    for (auto _ : state) {
        auto bytes = TextFile::encode(text, Encoding::utf8(), false, ending);
        produced = bytes.value().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * produced);
}
BENCHMARK(encodeUtf8)->Arg(0)->Arg(1)->ArgName("crlf")->Unit(benchmark::kMillisecond);

void lineIndex(benchmark::State &state)
{
    const QString &text = decodedText();
    for (auto _ : state) {
        LineIndex index(text);
        benchmark::DoNotOptimize(index);
    }
    state.counters["units/s"] = benchmark::Counter(double(text.size()) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(lineIndex)->Unit(benchmark::kMillisecond);

void measureStatistics(benchmark::State &state)
{
    const QString &text = decodedText();
    for (auto _ : state) {
        auto statistics = TextStatistics::measure(text);
        benchmark::DoNotOptimize(statistics);
    }
    state.SetBytesProcessed(state.iterations() * sourceFile(false).size());
}
BENCHMARK(measureStatistics)->Unit(benchmark::kMillisecond);

// Peak heap held while decoding, above what was live before: the input is already allocated, so the
// goal is the UTF-16 result plus a small constant.
void decodePeakMemory(benchmark::State &state)
{
    const QByteArray &bytes = sourceFile(state.range(0) != 0);
    for (auto _ : state) {
        const long long before = liveBytes.load();
        peakBytes = before;
        auto result = TextFile::decode(bytes, Encoding::utf8());
        const long long resultBytes = result.value().text.capacity() * 2;
        state.counters["peak_extra_MB"] = double(peakBytes.load() - before) / 1e6;
        state.counters["result_MB"] = double(resultBytes) / 1e6;
        state.counters["overhead_MB"] = double(peakBytes.load() - before - resultBytes) / 1e6;
    }
}
BENCHMARK(decodePeakMemory)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("crlf")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

// Reference points: Qt's lenient decoder (replaces bad bytes instead of refusing them), and the
// bare cost of allocating and touching a UTF-16 buffer of the file's size (the page-fault floor of
// any decoder).
namespace {
void referenceQtLenientFromUtf8(benchmark::State &state)
{
    const QByteArray &bytes = sourceFile(false);
    for (auto _ : state) {
        QString s = QString::fromUtf8(bytes);
        benchmark::DoNotOptimize(s);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(referenceQtLenientFromUtf8)->Unit(benchmark::kMillisecond);
void referenceAllocateAndTouch(benchmark::State &state)
{
    for (auto _ : state) {
        QString s(fileSize, QChar(u'a'));
        benchmark::DoNotOptimize(s);
    }
    state.SetBytesProcessed(state.iterations() * fileSize);
}
BENCHMARK(referenceAllocateAndTouch)->Unit(benchmark::kMillisecond);
} // namespace
BENCHMARK_MAIN();
