// Throughput of the hand-written lexers on generated documents of about 100,000 lines, lexed line
// by line as the highlighter does (one token buffer reused), with every heap allocation of the
// process counted while they run. Run: build-bench/bench/bench_dedicated_lexers
// [--benchmark_filter=…]
#include "support/LexerInputGenerator.h"
#include "syntax/Language.h"
#include "syntax/Lexers.h"

#include <atomic>
#include <cstdlib>
#include <vector>

#include <QString>

#include <benchmark/benchmark.h>

// Every allocation goes through malloc, Qt's and the standard library's alike.
extern "C" {
void *__libc_malloc(size_t);
void *__libc_realloc(void *, size_t);
void *__libc_calloc(size_t, size_t);
}

namespace {
std::atomic<long long> allocations{0};
}

extern "C" {
void *malloc(size_t size)
{
    ++allocations;
    return __libc_malloc(size);
}
void *calloc(size_t n, size_t size)
{
    ++allocations;
    return __libc_calloc(n, size);
}
void *realloc(void *old, size_t size)
{
    ++allocations;
    return __libc_realloc(old, size);
}
}

using namespace plumeo;

namespace {

constexpr int documentLines = 100000;

struct Document
{
    QString text;
    std::vector<std::pair<qint64, qint64>> lines; // [start, end) of each line, LF excluded
    qint64 utf8Bytes = 0;

    explicit Document(QString generated)
        : text(std::move(generated))
    {
        qint64 start = 0;
        for (qint64 i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == u'\n') {
                lines.emplace_back(start, i);
                start = i + 1;
            }
        }
        utf8Bytes = text.toUtf8().size();
    }
};

// Lexes the document once; returns the number of tokens.
size_t lexOnce(const Lexer &lexer, const Document &document, std::vector<Token> &tokens)
{
    LexState state;
    size_t count = 0;
    for (const auto &[start, end] : document.lines) {
        tokens.clear();
        lexer.tokenize(LineSlice::of(document.text, start, end), state, tokens);
        count += tokens.size();
    }
    return count;
}

void lexDocument(benchmark::State &run, const char *language, const Document &document)
{
    const Lexer *lexer = Lexers::lexer(QString::fromLatin1(language));
    if (!lexer) {
        run.SkipWithError("no lexer");
        return;
    }
    std::vector<Token> tokens;
    tokens.reserve(4096);
    const size_t tokenCount = lexOnce(*lexer, document, tokens); // builds the lazy tables
    const long long before = allocations.load();
    for (auto _ : run)
        benchmark::DoNotOptimize(lexOnce(*lexer, document, tokens));
    const long long allocated = allocations.load() - before;
    run.SetBytesProcessed(int64_t(run.iterations()) * document.utf8Bytes);
    run.counters["lines"] = double(document.lines.size());
    run.counters["MB"] = double(document.utf8Bytes) / 1e6;
    run.counters["tokens"] = double(tokenCount);
    run.counters["allocs/doc"] = double(allocated) / double(run.iterations());
}

const Document &markdown()
{
    static const Document d(bench::generateMarkdown(documentLines));
    return d;
}
const Document &html()
{
    static const Document d(bench::generateHtml(documentLines));
    return d;
}
const Document &yaml()
{
    static const Document d(bench::generateYaml(documentLines));
    return d;
}
const Document &toml()
{
    static const Document d(bench::generateToml(documentLines));
    return d;
}

// The same Markdown pass with a new token buffer per line, as a careless caller would do: the
// counter must see those allocations, which shows that the zeros above are measured.
void BM_MarkdownNewBufferPerLine(benchmark::State &run)
{
    const Lexer &lexer = *Lexers::lexer(QStringLiteral("Markdown"));
    const Document &document = markdown();
    const long long before = allocations.load();
    for (auto _ : run) {
        LexState state;
        for (const auto &[start, end] : document.lines) {
            std::vector<Token> tokens;
            lexer.tokenize(LineSlice::of(document.text, start, end), state, tokens);
            benchmark::DoNotOptimize(tokens.data());
        }
    }
    run.SetBytesProcessed(int64_t(run.iterations()) * document.utf8Bytes);
    run.counters["allocs/doc"] = double(allocations.load() - before) / double(run.iterations());
}

void BM_Markdown(benchmark::State &run)
{
    lexDocument(run, "Markdown", markdown());
}
void BM_HtmlWithScriptAndStyle(benchmark::State &run)
{
    lexDocument(run, "HTML", html());
}
void BM_Yaml(benchmark::State &run)
{
    lexDocument(run, "YAML", yaml());
}
void BM_Toml(benchmark::State &run)
{
    lexDocument(run, "TOML", toml());
}

} // namespace

// Wall-clock time: the machine is shared, and throughput per wall second is what a user feels.
BENCHMARK(BM_Markdown)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HtmlWithScriptAndStyle)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Yaml)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Toml)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MarkdownNewBufferPerLine)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
