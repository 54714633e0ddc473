#include "BenchEnvironment.h"

#include <benchmark/benchmark.h>

namespace plumeo::bench {

BenchEnvironment::BenchEnvironment()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PLUMEO_TESTING", "1");
    qputenv("PLUMEO_CONFIG_DIR", m_folder.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("PLUMEO_STATE_DIR", m_folder.filePath(QStringLiteral("state")).toLocal8Bit());
}

int runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace plumeo::bench
