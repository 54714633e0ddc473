// Speed of the rule-driven lexer on large generated sources, and proof that lexing allocates
// nothing per token or per word. Run:
//   build-bench/bench/bench_lexers --benchmark_counters_tabular=true
#include "support/SourceGenerators.h"
#include "syntax/Lexers.h"
#include "syntax/Tokenizer.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include <QString>

#include <benchmark/benchmark.h>

#include <malloc.h>

// Every heap allocation of the process is counted, so a benchmark can report how many its timed
// loop made.
namespace {
std::atomic<long long> allocations{0};
}

void *operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}

using namespace plumeo;

namespace {

constexpr qsizetype sourceSize = 8'000'000;

struct Source
{
    QString text;
    std::vector<std::pair<qint64, qint64>> lines; // [start, end) of each line
    qint64 bytes = 0;                             // UTF-8 size of the source file

    explicit Source(QString generated)
        : text(std::move(generated))
    {
        qint64 start = 0;
        for (;;) {
            const qsizetype feed = text.indexOf(u'\n', start);
            lines.emplace_back(start, feed < 0 ? text.size() : feed);
            if (feed < 0)
                break;
            start = feed + 1;
        }
        bytes = text.toUtf8().size();
    }
};

const Source &source(const QString &language)
{
    static const Source c(bench::SourceGenerators::c(sourceSize));
    static const Source python(bench::SourceGenerators::python(sourceSize));
    static const Source javascript(bench::SourceGenerators::javascript(sourceSize));
    static const Source sql(bench::SourceGenerators::sql(sourceSize));
    if (language == u"Python")
        return python;
    if (language == u"JavaScript")
        return javascript;
    if (language == u"SQL")
        return sql;
    return c;
}

void report(benchmark::State &state, const Source &source, long long tokens, long long allocated)
{
    const double iterations = double(state.iterations());
    state.counters["MB/s"] =
        benchmark::Counter(double(source.bytes) * iterations / 1e6, benchmark::Counter::kIsRate);
    state.counters["lines"] = double(source.lines.size());
    state.counters["tokens"] = double(tokens);
    state.counters["allocs/iter"] = double(allocated) / iterations;
    state.SetBytesProcessed(qint64(iterations) * source.bytes);
}

// The editor's way: one line at a time into a reused token vector, the state carried over.
void lineLoop(benchmark::State &state, const char *language)
{
    const Source &input = source(QString::fromLatin1(language));
    const Lexer &lexer = *Lexers::lexer(QString::fromLatin1(language));
    std::vector<Token> tokens;
    tokens.reserve(4096);
    long long tokenCount = 0;
    const long long before = allocations.load();
    for (auto _ : state) {
        LexState lexState;
        tokenCount = 0;
        for (const auto &[start, end] : input.lines) {
            tokens.clear();
            lexer.tokenize(LineSlice::of(input.text, start, end), lexState, tokens);
            tokenCount += qint64(tokens.size());
        }
        benchmark::DoNotOptimize(tokens.data());
        benchmark::DoNotOptimize(lexState);
    }
    report(state, input, tokenCount, allocations.load() - before);
}

// The same loop keeping every token, in a vector whose capacity survives the iterations: what the
// whole-text tokenizer does, minus finding the line feeds and allocating the result.
void lineLoopKeepingTokens(benchmark::State &state, const char *language)
{
    const Source &input = source(QString::fromLatin1(language));
    const Lexer &lexer = *Lexers::lexer(QString::fromLatin1(language));
    std::vector<Token> tokens;
    const long long before = allocations.load();
    for (auto _ : state) {
        tokens.clear();
        LexState lexState;
        for (const auto &[start, end] : input.lines)
            lexer.tokenize(LineSlice::of(input.text, start, end), lexState, tokens);
        benchmark::DoNotOptimize(tokens.data());
    }
    report(state, input, qint64(tokens.size()), allocations.load() - before);
}

void wholeText(benchmark::State &state, const char *language)
{
    const Source &input = source(QString::fromLatin1(language));
    const Lexer &lexer = *Lexers::lexer(QString::fromLatin1(language));
    long long tokenCount = 0;
    const long long before = allocations.load();
    for (auto _ : state) {
        const std::vector<Token> tokens = Tokenizer::tokenize(input.text, lexer);
        tokenCount = qint64(tokens.size());
        benchmark::DoNotOptimize(tokens.data());
    }
    report(state, input, tokenCount, allocations.load() - before);
}

// The same with the allocator keeping freed memory for the next call (no mmap for large blocks, no
// trimming), as in a process that tokenizes often: this leaves out the kernel's first touch of
// tens of megabytes of fresh pages, which the call above pays every time.
void wholeTextReusingMemory(benchmark::State &state, const char *language)
{
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    wholeText(state, language);
    mallopt(M_MMAP_MAX, 65536);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
}

} // namespace

BENCHMARK_CAPTURE(lineLoop, C, "C")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lineLoop, Python, "Python")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lineLoop, JavaScript, "JavaScript")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lineLoop, SQL, "SQL")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(lineLoopKeepingTokens, C, "C")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeText, C, "C")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeText, Python, "Python")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeText, JavaScript, "JavaScript")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeText, SQL, "SQL")->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(wholeTextReusingMemory, C, "C")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeTextReusingMemory, Python, "Python")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeTextReusingMemory, JavaScript, "JavaScript")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeTextReusingMemory, SQL, "SQL")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
