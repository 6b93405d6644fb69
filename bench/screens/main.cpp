#include <benchmark/benchmark.h>

#include <cstdio>

#include "framework/RatioReporter.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    corvane::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nRatios (time of ours / time of plain SQLite; lower is faster):\n");
    bool met = reporter.printRatio("List/allPackages", "List/allPackages/sqlite", 1.2);
    met = reporter.printRatio("List/search", "List/search/sqlite", 1.2) && met;
    if (!met)
        std::printf("lists_bench: a target was MISSED\n");
    return met ? 0 : 2;
}
