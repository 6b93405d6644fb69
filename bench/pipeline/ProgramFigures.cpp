#include "ProgramFigures.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "AptScratch.h"
#include "FirstScreenProbe.h"
#include "framework/device/KSPaths.h"

namespace corvane::bench {

namespace fs = std::filesystem;

namespace {

// Most sources people add are small, where the program's fixed cost shows most.
const std::map<std::string, double> kMemoryRatioTargets = {{"15k", 2.0}, {"60k", 1.4}};
constexpr double kFirstScreenTargetMilliseconds = 25;
constexpr double kLogTargetMebibytes = 4;
constexpr double kLaunchMemoryTargetMebibytes = 40;

double mebibytes(long kibibytes) {
    return static_cast<double>(kibibytes) / 1024;
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

}  // namespace

bool ProgramFigures::print() {
    std::printf(
        "\nThe whole program as a person runs it (medians of %d runs, interleaved with "
        "APT's; peak resident set of the program or APT and what they run):\n",
        kRepetitions);
    bool met = true;
    IndexRuns launchRuns;
    for (const auto& index : refreshIndexes()) {
        IndexRuns runs;
        if (!runIndex(index, runs))
            return false;
        met = printMemory(index, runs) && met;
        if (&index == &launchIndex())
            launchRuns = std::move(runs);
    }
    return printLaunches(deviceFor(launchIndex(), kRepetitions - 1), launchRuns) && met;
}

// The device of the launch index's last run is kept for the launches that follow.
bool ProgramFigures::runIndex(const RefreshIndex& index, IndexRuns& runs) {
    auto& repository = LoopbackRepository::shared();
    const bool launches = &index == &launchIndex();
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        const auto device = deviceFor(index, repetition);
        const auto name = std::string("program-") + std::to_string(repetition);
        const auto ours = refreshNewDevice(device, repository.location(index, name));
        std::optional<double> firstScreen;
        if (launches) {
            runs.logs.push_back(logMebibytes(device));
            firstScreen = FirstScreenProbe::milliseconds(launchArguments(device));
        }
        const auto aptRoot = repository.scratch() / ("apt-" + name);
        const auto theirs = AptScratch(aptRoot, repository.location(index, "apt-" + name)).update();
        fs::remove_all(aptRoot);
        if (!launches || repetition + 1 < kRepetitions)
            fs::remove_all(device.root.parent_path());
        if (ours.status != 0 || theirs.status != 0 || (launches && !firstScreen)) {
            std::printf("%s: a run failed (the program %d, apt-get update %d)\n", index.name,
                        ours.status, theirs.status);
            return false;
        }
        runs.ours.push_back(mebibytes(ours.peakKibibytes));
        runs.theirs.push_back(mebibytes(theirs.peakKibibytes));
        if (firstScreen)
            runs.firstScreens.push_back(*firstScreen);
    }
    return true;
}

bool ProgramFigures::printMemory(const RefreshIndex& index, const IndexRuns& runs) {
    const double ours = median(runs.ours);
    const double theirs = median(runs.theirs);
    const double ratio = ours / theirs;
    const auto target = kMemoryRatioTargets.find(index.name);
    const bool met = target == kMemoryRatioTargets.end() || ratio <= target->second;
    const auto ourName = std::string("Memory/") + index.name + "/refresh";
    const auto theirName = std::string("Memory/") + index.name + "/aptGetUpdate";
    std::printf("%-36s / %-32s = %5.2f (%.1f MiB / %.1f MiB; ", ourName.c_str(), theirName.c_str(),
                ratio, ours, theirs);
    if (target == kMemoryRatioTargets.end())
        std::printf("for reference)\n");
    else
        std::printf("target <= %.2f: %s)\n", target->second, verdict(met));
    return met;
}

bool ProgramFigures::printLaunches(const Device& device, const IndexRuns& afterRefresh) {
    std::vector<double> firstScreens;
    for (int launch = 0; launch < kLaunches; ++launch) {
        const auto milliseconds = FirstScreenProbe::milliseconds(launchArguments(device));
        if (!milliseconds) {
            std::printf("Launch/fromExec: a launch failed\n");
            return false;
        }
        firstScreens.push_back(*milliseconds);
    }
    const double logAfterLaunches = logMebibytes(device);
    const auto memory = runProgram(launchArguments(device));
    const double firstAfterRefresh = median(afterRefresh.firstScreens);
    const double firstLater = median(firstScreens);
    const double logAfterRefresh = *std::ranges::max_element(afterRefresh.logs);
    const bool screensMet = firstAfterRefresh <= kFirstScreenTargetMilliseconds &&
                            firstLater <= kFirstScreenTargetMilliseconds;
    const bool logsMet =
        logAfterRefresh < kLogTargetMebibytes && logAfterLaunches < kLogTargetMebibytes;
    const double launchPeak = mebibytes(memory.ownPeakKibibytes);
    const bool memoryMet = memory.status == 0 && launchPeak <= kLaunchMemoryTargetMebibytes;
    std::printf(
        "\nLaunches on the device of %d packages (%s), exec to the first wait of the "
        "main run loop:\n",
        launchIndex().stanzas, launchIndex().name);
    std::printf("%-36s   %8.1f ms (target <= %.0f ms: %s)\n", "Launch/fromExec/afterRefresh",
                firstAfterRefresh, kFirstScreenTargetMilliseconds, verdict(screensMet));
    std::printf("%-36s   %8.1f ms (median of %d launches)\n", "Launch/fromExec/later", firstLater,
                kLaunches);
    std::printf(
        "%-36s   %8.2f MiB after a refresh, %.2f MiB after %d launches (target < %.0f "
        "MiB: %s)\n",
        "Log/Corvane.realm-wal", logAfterRefresh, logAfterLaunches, kLaunches, kLogTargetMebibytes,
        verdict(logsMet));
    // What the program itself holds; the fix of partial installations at launch runs APT, which
    // reads its own cache of every package, as a process of its own.
    std::printf("%-36s   %8.1f MiB (target <= %.0f MiB: %s; APT run meanwhile: %.0f MiB)\n",
                "Memory/launch (nothing due)", launchPeak, kLaunchMemoryTargetMebibytes,
                verdict(memoryMet), mebibytes(memory.peakKibibytes));
    return screensMet && logsMet && memoryMet;
}

ProgramFigures::Device ProgramFigures::deviceFor(const RefreshIndex& index, int repetition) {
    const auto folder = LoopbackRepository::shared().scratch() /
                        (std::string("device-") + index.name + "-" + std::to_string(repetition));
    return {folder / "root", folder / "data"};
}

ProgramRun ProgramFigures::refreshNewDevice(const Device& device, const std::string& location) {
    return runProgram(launchArguments(device), {"CORVANE_DEFAULT_SOURCES=" + location});
}

std::vector<std::string> ProgramFigures::launchArguments(const Device& device) {
    return {CORVANE_PROGRAM,      "--root",      device.root.string(), "--data",
            device.data.string(), "--until-idle"};
}

double ProgramFigures::logMebibytes(const Device& device) {
    const auto log = device.data / KSPaths::kDataDirectory.substr(1) /
                     (std::string(KSPaths::kDatabaseFileName) + "-wal");
    std::error_code missing;
    const auto size = fs::file_size(log, missing);
    return missing ? 0 : static_cast<double>(size) / (1 << 20);
}

double ProgramFigures::median(std::vector<double> values) {
    std::ranges::sort(values);
    const auto middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace corvane::bench
