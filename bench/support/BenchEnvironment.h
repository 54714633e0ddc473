#pragma once

#include <QTemporaryDir>

namespace plumeo::bench {

// What a benchmark of the application runs in, set up before the QApplication: the offscreen
// platform, test mode (no launch checks, no single-instance channel of the user's), and settings
// and state in a temporary folder that goes with it, so that a run never touches the user's own.
class BenchEnvironment
{
public:
    BenchEnvironment();

private:
    QTemporaryDir m_folder;
};

// Runs the benchmarks the command line selects; main's exit code.
int runBenchmarks(int argc, char **argv);

} // namespace plumeo::bench
