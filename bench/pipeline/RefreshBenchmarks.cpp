#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "LoopbackRepository.h"
#include "foundation/DeviceRoot.h"
#include "framework/SharedData.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSSourceRefreshTask.h"

namespace corvane::bench {

namespace {

namespace fs = std::filesystem;

// Ours: download, decompress, parse, store the records and APT's list, into an empty device
// root each time, as a newly added source of that size would.
void refreshWithCorvane(benchmark::State& state) {
    auto& repository = LoopbackRepository::shared();
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto root = repository.scratch() / ("root-" + std::to_string(++iteration));
        fs::create_directories(root);
        foundation::DeviceRoot::set(root.string());
        const auto location = repository.location("ours-" + std::to_string(iteration));
        KSRSource source;
        source.location = location;
        auto realm = KSDatabase::realm();
        realm.write([&] { realm.addOrUpdateObject(source); });
        auto task = std::make_shared<KSSourceRefreshTask>(location);
        state.ResumeTiming();

        task->start();

        state.PauseTiming();
        if (!task->outcome().success ||
            realm.objectsWhere<KSRPackage>("sourceLocation = %@", location).count() !=
                static_cast<std::size_t>(kIndexStanzas))
            state.SkipWithError("the refresh did not store every package");
        KSDatabase::forget();
        fs::remove_all(root);
        state.ResumeTiming();
    }
}

std::string aptConfiguration(const fs::path& root) {
    const auto r = root.string();
    return "Dir \"" + r + "/\";\nDir::State \"" + r + "/state/\";\nDir::State::status \"" + r +
           "/status\";\nDir::Cache \"" + r + "/cache/\";\nDir::Etc \"" + r +
           "/etc/\";\nDir::Etc::SourceList \"" + r +
           "/etc/sources.list\";\nDir::Etc::SourceParts \"" + r +
           "/etc/sources.list.d/\";\nDir::Etc::Preferences \"" + r +
           "/etc/preferences\";\nDir::Etc::PreferencesParts \"" + r +
           "/etc/preferences.d/\";\nDir::Etc::Trusted \"" + r +
           "/etc/trusted.gpg\";\nDir::Etc::TrustedParts \"" + r +
           "/etc/trusted.gpg.d/\";\nDir::Log \"" + r +
           "/log/\";\nAPT::Architecture \"iphoneos-arm\";\nAPT::Architectures { \"iphoneos-arm\"; "
           "};\n"
           "Acquire::Languages \"none\";\nAPT::Sandbox::User \"root\";\n";
}

// Theirs: "apt-get update" of the same repository into a scratch configuration with empty
// lists, which downloads, checks, decompresses and stores the index and builds APT's cache.
void refreshWithAptGetUpdate(benchmark::State& state) {
    auto& repository = LoopbackRepository::shared();
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto root = repository.scratch() / ("apt-" + std::to_string(++iteration));
        for (const auto* folder :
             {"etc/apt.conf.d", "etc/sources.list.d", "etc/preferences.d", "etc/trusted.gpg.d",
              "state/lists/partial", "cache/archives/partial", "log"})
            fs::create_directories(root / folder);
        std::ofstream(root / "status");
        std::ofstream(root / "apt.conf") << aptConfiguration(root);
        std::ofstream(root / "etc/sources.list")
            << "deb [trusted=yes] " << repository.location("apt-" + std::to_string(iteration))
            << " ./\n";
        const std::string environment = "APT_CONFIG=" + (root / "apt.conf").string();
        state.ResumeTiming();

        const int status = runProgram({"apt-get", "-qq", "update"}, {environment});

        state.PauseTiming();
        if (status != 0)
            state.SkipWithError("apt-get update failed");
        fs::remove_all(root);
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(refreshWithCorvane)
    ->Name("Refresh/KSSourceRefreshTask")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(refreshWithAptGetUpdate)
    ->Name("Refresh/aptGetUpdate")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace corvane::bench
