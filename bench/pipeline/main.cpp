#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "AptScratch.h"
#include "LoopbackRepository.h"
#include "PreparedDevice.h"
#include "RefreshMeasures.h"
#include "framework/RatioReporter.h"

namespace {

using corvane::bench::IndexShape;

constexpr double kRefreshMemoryRatioTarget = 1.5;
constexpr double kLaunchMemoryTargetMebibytes = 40;

double mebibytes(long kibibytes) {
    return static_cast<double>(kibibytes) / 1024;
}

bool printMemoryFigures() {
    using namespace corvane::bench;
    const auto& device = PreparedDevice::shared();
    auto& repository = LoopbackRepository::shared();
    const AptScratch apt(repository.scratch() / "apt-memory",
                         repository.location(IndexShape::distribution, "apt-memory"));
    const auto theirs = apt.update();
    const auto launch = device.launch();
    if (theirs.status != 0 || launch.status != 0) {
        std::printf("memory: a run failed (apt-get update %d, launch %d)\n", theirs.status,
                    launch.status);
        return false;
    }
    const auto& refresh = device.refreshRun();
    const double ours = mebibytes(refresh.peakKibibytes);
    const double ratio = ours / mebibytes(theirs.peakKibibytes);
    const bool refreshMet = ratio <= kRefreshMemoryRatioTarget;
    std::printf("\nPeak memory (resident set, distribution-shaped index of %d packages):\n",
                kIndexStanzas);
    std::printf("%-36s / %-32s = %5.2f (%.0f MiB / %.0f MiB; target <= %.2f: %s)\n",
                "Memory/refresh (launch, refresh, caches)", "Memory/aptGetUpdate", ratio, ours,
                mebibytes(theirs.peakKibibytes), kRefreshMemoryRatioTarget,
                refreshMet ? "met" : "MISSED");
    std::printf("%-36s   %-32s   %5.0f MiB of it the program's own\n", "", "",
                mebibytes(refresh.ownPeakKibibytes));
    // What the program itself holds; the fix of partial installations at launch runs APT,
    // which reads its own cache of every package, as a process of its own.
    const double launchPeak = mebibytes(launch.ownPeakKibibytes);
    const bool launchMet = launchPeak <= kLaunchMemoryTargetMebibytes;
    std::printf("%-36s   %-32s   %5.0f MiB (target <= %.0f MiB: %s; APT run meanwhile: %.0f MiB)\n",
                "Memory/launch (nothing due)", "", launchPeak, kLaunchMemoryTargetMebibytes,
                launchMet ? "met" : "MISSED", mebibytes(launch.peakKibibytes));
    return refreshMet && launchMet;
}

}  // namespace

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
    for (const auto shape : {IndexShape::distribution, IndexShape::repository}) {
        const std::string prefix = std::string("Refresh/") + corvane::bench::nameOf(shape) + "/";
        const auto theirs = corvane::bench::refreshRunName(prefix + "aptGetUpdate");
        // What the user waits for: the refresh and the information cache that follows it.
        met = reporter.printRatio(
                  corvane::bench::refreshRunName(prefix + "withInformationCache"), theirs,
                  shape == IndexShape::distribution ? std::optional(1.0) : std::nullopt) &&
              met;
        reporter.printRatio(corvane::bench::refreshRunName(prefix + "KSSourceRefreshTask"), theirs,
                            {});
    }
    reporter.printTime("Launch/firstScreen/iterations:5/real_time");
    met = printMemoryFigures() && met;
    if (!met)
        std::printf("pipeline_bench: a target was MISSED\n");
    return met ? 0 : 2;
}
