#include <apt-pkg/tagfile.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <string>

#include "SharedData.h"
#include "framework/apt/KSParsingUtility.h"

namespace corvane::bench {

namespace {

// Walks the index with APT's stanza scanner; with copyFields every field is then turned into
// strings in a map, the same product our reader hands over.
template <typename PerStanza>
std::size_t scanWithApt(const std::string& text, PerStanza&& perStanza) {
    pkgTagSection section;
    const char* position = text.data();
    const char* const end = position + text.size();
    std::size_t stanzas = 0;
    while (position < end) {
        while (position < end && (*position == '\n' || *position == '\r'))
            ++position;
        if (position >= end || !section.Scan(position, end - position))
            break;
        perStanza(section);
        position += section.size();
        ++stanzas;
    }
    return stanzas;
}

std::map<std::string, std::string> copyFields(const pkgTagSection& section) {
    std::map<std::string, std::string> fields;
    for (unsigned i = 0; i < section.Count(); ++i) {
        const char* start = nullptr;
        const char* stop = nullptr;
        section.Get(start, stop, i);
        const auto* colon = static_cast<const char*>(std::memchr(start, ':', stop - start));
        if (!colon)
            continue;
        const char* value = colon + 1;
        while (value < stop && *value == ' ')
            ++value;
        while (stop > value && (stop[-1] == '\n' || stop[-1] == ' '))
            --stop;
        fields.insert_or_assign(std::string(start, colon), std::string(value, stop));
    }
    const char* sectionStart = nullptr;
    const char* sectionStop = nullptr;
    section.GetSection(sectionStart, sectionStop);
    fields.insert_or_assign("rawPackage", std::string(sectionStart, sectionStop));
    return fields;
}

void parseWithCorvane(benchmark::State& state) {
    const std::string& index = packagesIndex();
    for (auto _ : state) {
        auto records = KSParsingUtility::arrayFromPackagesFromString(index);
        if (records.size() != kIndexStanzas)
            state.SkipWithError("wrong number of stanzas");
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * index.size()));
}

void parseWithAptScan(benchmark::State& state) {
    const std::string& index = packagesIndex();
    for (auto _ : state) {
        const auto stanzas = scanWithApt(index, [](const pkgTagSection&) {});
        if (stanzas != kIndexStanzas)
            state.SkipWithError("wrong number of stanzas");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * index.size()));
}

void parseWithAptScanAndCopy(benchmark::State& state) {
    const std::string& index = packagesIndex();
    for (auto _ : state) {
        std::vector<std::map<std::string, std::string>> records;
        const auto stanzas = scanWithApt(
            index, [&](const pkgTagSection& section) { records.push_back(copyFields(section)); });
        if (stanzas != kIndexStanzas)
            state.SkipWithError("wrong number of stanzas");
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * index.size()));
}

}  // namespace

BENCHMARK(parseWithCorvane)
    ->Name("Parse/arrayFromPackagesFromString")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(parseWithAptScan)->Name("Parse/aptTagSectionScan")->Unit(benchmark::kMillisecond);
BENCHMARK(parseWithAptScanAndCopy)
    ->Name("Parse/aptTagSectionScanAndCopy")
    ->Unit(benchmark::kMillisecond);

}  // namespace corvane::bench
