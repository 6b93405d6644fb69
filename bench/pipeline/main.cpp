#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "framework/RatioReporter.h"

int main(int argc, char** argv) {
    // No default sources and no start-up refresh: the benchmark stores the one it measures.
    setenv("CORVANE_DEFAULT_SOURCES", "", 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    corvane::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nRatio (time of ours / time of apt-get update; lower is faster):\n");
    const bool met = reporter.printRatio("Refresh/KSSourceRefreshTask/iterations:3/real_time",
                                         "Refresh/aptGetUpdate/iterations:3/real_time", 1.0);
    return met ? 0 : 2;
}
