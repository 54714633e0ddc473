// Reading and writing RTF of about 5 MB, generated at run time in the style word processors write:
// every run in its own group with a dozen control words, accented text through \'hh and \uN,
// colours, fonts, sizes, paragraph properties, a field, and skipped destinations.
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QApplication>
#include <QByteArray>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

using namespace plumeo;

namespace {

constexpr qsizetype targetSize = 5 * 1024 * 1024;

class Lcg
{
public:
    unsigned next(unsigned bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return unsigned(m_state >> 33) % bound;
    }

private:
    unsigned long long m_state = 42;
};

const char *const words[] = {
    "the",
    "document",
    "caf\\'e9",
    "na\\'efve",
    "r\\u233?sum\\u233?",
    "quarterly",
    "report",
    "\\u8220?quoted\\u8221?",
    "and",
    "of",
    "\\u8212?",
    "meeting",
    "\\u20013?\\u25991?",
    "zone",
    "\\'93smart\\'94",
    "budget",
    "2024",
    "\\{braces\\}",
    "with",
    "a",
};

QByteArray generate()
{
    Lcg random;
    QByteArray rtf =
        R"({\rtf1\ansi\ansicpg1252\deff0\uc1{\fonttbl{\f0\froman\fcharset0 Times New Roman;})"
        R"({\f1\fswiss\fcharset0 Arial;}{\f2\fmodern\fcharset0 Courier New;})"
        R"({\f3\fnil\fcharset134 SimSun;}{\f4\fswiss\fcharset204 Tahoma;}})"
        R"({\colortbl;\red0\green0\blue0;\red255\green0\blue0;\red0\green112\blue192;)"
        R"(\red0\green176\blue80;\red255\green255\blue0;})"
        R"({\stylesheet{\s0 Normal;}{\s1\fs32\b heading 1;}}{\info{\title Bench}})"
        "\n";
    rtf.reserve(targetSize + 4096);
    static constexpr const char *alignments[] = {"\\ql", "\\qc", "\\qr", "\\qj"};
    while (rtf.size() < targetSize) {
        rtf += "\\pard\\plain\\ltrpar";
        rtf += alignments[random.next(4)];
        rtf +=
            "\\li" + QByteArray::number(random.next(4) * 360) + "\\ri0\\sb120\\sa120"
            + "\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 ";
        const unsigned runs = 3 + random.next(8);
        for (unsigned r = 0; r < runs; ++r) {
            rtf += "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f" + QByteArray::number(random.next(3))
                   + "\\fs" + QByteArray::number(20 + 2 * random.next(6));
            if (random.next(4) == 0)
                rtf += "\\b";
            if (random.next(5) == 0)
                rtf += "\\i";
            if (random.next(6) == 0)
                rtf += "\\cf" + QByteArray::number(1 + random.next(4));
            if (random.next(20) == 0)
                rtf += "\\highlight5";
            rtf += "\\lang1033\\langfe1033\\insrsid"
                   + QByteArray::number(1000000 + random.next(9000000)) + ' ';
            for (unsigned w = 3 + random.next(12); w > 0; --w) {
                rtf += words[random.next(sizeof words / sizeof *words)];
                rtf += ' ';
            }
            rtf += "}";
            if (random.next(15) == 0)
                rtf +=
                    R"({\field{\*\fldinst { HYPERLINK "https://example.org/" }}{\fldrslt {\ul\cf3 link}}})";
            if (random.next(25) == 0)
                rtf += R"({\f3\'d6\'d0\'ce\'c4}{\f4\'cf\'f0\'e8})";
            if (random.next(40) == 0)
                rtf += R"({\*\bkmkstart _Toc1}{\*\bkmkend _Toc1})";
        }
        rtf += "\\par\n";
    }
    rtf += "}";
    return rtf;
}

const QByteArray &input()
{
    static const QByteArray rtf = generate();
    return rtf;
}

void readRtf(benchmark::State &state)
{
    const QByteArray &rtf = input();
    for (auto _ : state) {
        QTextDocument document;
        const auto result = RtfReader::read(rtf, document);
        benchmark::DoNotOptimize(result.hasValue());
        state.counters["characters"] = double(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["rtfBytes"] = double(rtf.size());
}

// The same, into the document of a text view on screen, as when a file is opened: the view lays out
// what it shows when the reading ends.
void readRtfIntoView(benchmark::State &state)
{
    const QByteArray &rtf = input();
    QTextEdit view;
    view.resize(900, 700);
    view.show();
    for (auto _ : state) {
        const auto result = RtfReader::read(rtf, *view.document());
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(result.hasValue());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void writeRtf(benchmark::State &state)
{
    QTextDocument document;
    RtfReader::read(input(), document);
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray rtf = RtfWriter::write(document);
        written = rtf.size();
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.counters["rtfBytes"] = double(written);
}

} // namespace

BENCHMARK(readRtf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(readRtfIntoView)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(writeRtf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
