#include <apt-pkg/debversion.h>
#include <benchmark/benchmark.h>

#include "SharedData.h"
#include "framework/debian/VersionCompare.h"

namespace corvane::bench {

namespace {

using VersionPairs = std::vector<std::pair<std::string, std::string>>;

int compareWithCorvane(const std::string& a, const std::string& b) {
    return compareVersions(a, b);
}

int compareWithApt(const std::string& a, const std::string& b) {
    return debVS.DoCmpVersion(a.data(), a.data() + a.size(), b.data(), b.data() + b.size());
}

template <int (*compare)(const std::string&, const std::string&)>
void comparePairs(benchmark::State& state, const VersionPairs& pairs) {
    for (auto _ : state) {
        int greater = 0;
        for (const auto& [a, b] : pairs)
            greater += compare(a, b) > 0;
        benchmark::DoNotOptimize(greater);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * pairs.size()));
}

void allPairsWithCorvane(benchmark::State& state) {
    comparePairs<compareWithCorvane>(state, versionPairs());
}
void allPairsWithApt(benchmark::State& state) {
    comparePairs<compareWithApt>(state, versionPairs());
}
void differingPairsWithCorvane(benchmark::State& state) {
    comparePairs<compareWithCorvane>(state, differingVersionPairs());
}
void differingPairsWithApt(benchmark::State& state) {
    comparePairs<compareWithApt>(state, differingVersionPairs());
}

}  // namespace

BENCHMARK(allPairsWithCorvane)->Name("Version/compareVersions")->Unit(benchmark::kMicrosecond);
BENCHMARK(allPairsWithApt)->Name("Version/aptDebVS")->Unit(benchmark::kMicrosecond);
BENCHMARK(differingPairsWithCorvane)
    ->Name("Version/compareVersions/differing")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(differingPairsWithApt)->Name("Version/aptDebVS/differing")->Unit(benchmark::kMicrosecond);

}  // namespace corvane::bench
