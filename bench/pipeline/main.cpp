#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramFigures.h"
#include "RefreshIndex.h"
#include "RefreshMeasures.h"
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

    std::printf("\nRatios (time of ours / time of apt-get update; lower is faster):\n");
    bool met = true;
    for (const auto& index : corvane::bench::refreshIndexes()) {
        const std::string prefix = std::string("Refresh/") + index.name + "/";
        const auto theirs = corvane::bench::refreshRunName(prefix + "aptGetUpdate");
        // What the user waits for: the refresh and the information cache that follows it.
        met = reporter.printRatio(corvane::bench::refreshRunName(prefix + "withInformationCache"),
                                  theirs, 1.0) &&
              met;
        reporter.printRatio(corvane::bench::refreshRunName(prefix + "KSSourceRefreshTask"), theirs,
                            {});
    }
    reporter.printTime("Launch/firstScreen/iterations:5/real_time");
    met = corvane::bench::ProgramFigures::print() && met;
    if (!met)
        std::printf("pipeline_bench: a target was MISSED\n");
    return met ? 0 : 2;
}
