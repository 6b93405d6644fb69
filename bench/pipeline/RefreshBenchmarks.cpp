#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AptScratch.h"
#include "LoopbackRepository.h"
#include "RefreshMeasures.h"
#include "foundation/DataFolder.h"
#include "foundation/DeviceRoot.h"
#include "foundation/DispatchQueue.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/storage/KSRSource.h"
#include "framework/tasks/KSInformationCacheTask.h"
#include "framework/tasks/KSSourceRefreshTask.h"

namespace corvane::bench {

namespace {

namespace fs = std::filesystem;

// Ours: download, decompress, parse, store the records and APT's list, into an empty device
// root and data folder each time, as a newly added source of that size would; with the information
// cache, also what follows every round of refreshes before the database and APT are ready: the dpkg
// status, the developer records, the new packages and APT's caches.
void refreshWithCorvane(benchmark::State& state, const RefreshIndex& index,
                        bool withInformationCache) {
    auto& repository = LoopbackRepository::shared();
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto root = repository.scratch() / ("root-" + std::to_string(++iteration));
        fs::create_directories(root);
        foundation::DeviceRoot::set(root.string());
        const auto location = repository.location(index, "ours-" + std::to_string(iteration));
        KSRSource source;
        source.location = location;
        auto realm = KSDatabase::realm();
        realm.write([&] { realm.addOrUpdateObject(source); });
        auto task = std::make_shared<KSSourceRefreshTask>(location);
        auto caches = std::make_shared<KSInformationCacheTask>();
        state.ResumeTiming();

        task->start();
        if (withInformationCache)
            caches->start();

        state.PauseTiming();
        // What the refresh started in the background ends before the next one.
        auto& background =
            foundation::DispatchQueue::global(foundation::DispatchQueue::Priority::Background);
        while (!background.isIdle())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!task->outcome().success ||
            realm.objectsWhere<KSRPackage>("sourceLocation = %@", location).count() !=
                static_cast<std::size_t>(index.stanzas))
            state.SkipWithError("the refresh did not store every package");
        if (withInformationCache && !caches->outcome().success)
            state.SkipWithError("the information cache was not rebuilt");
        KSDatabase::forget();
        fs::remove_all(root);
        fs::remove_all(foundation::DataFolder::path());
        state.ResumeTiming();
    }
}

// Theirs: "apt-get update" of the same repository into a scratch configuration with empty
// lists, which downloads, checks, decompresses and stores the index and builds APT's cache.
void refreshWithAptGetUpdate(benchmark::State& state, const RefreshIndex& index) {
    auto& repository = LoopbackRepository::shared();
    int iteration = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto root = repository.scratch() / ("apt-" + std::to_string(++iteration));
        const AptScratch apt(root, repository.location(index, "apt-" + std::to_string(iteration)));
        state.ResumeTiming();

        const int status = apt.update().status;

        state.PauseTiming();
        if (status != 0)
            state.SkipWithError("apt-get update failed");
        fs::remove_all(root);
        state.ResumeTiming();
    }
}

void registerRefreshBenchmarks() {
    for (const auto& index : refreshIndexes()) {
        const std::string prefix = std::string("Refresh/") + index.name + "/";
        for (const bool caches : {false, true})
            benchmark::RegisterBenchmark(
                (prefix + (caches ? "withInformationCache" : "KSSourceRefreshTask")).c_str(),
                [&index, caches](benchmark::State& state) {
                    refreshWithCorvane(state, index, caches);
                })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(kRefreshIterations)
                ->Repetitions(kRefreshRepetitions);
        benchmark::RegisterBenchmark(
            (prefix + "aptGetUpdate").c_str(),
            [&index](benchmark::State& state) { refreshWithAptGetUpdate(state, index); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(kRefreshIterations)
            ->Repetitions(kRefreshRepetitions);
    }
}

const bool registered = (registerRefreshBenchmarks(), true);

}  // namespace

}  // namespace corvane::bench
