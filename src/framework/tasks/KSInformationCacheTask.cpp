#include "framework/tasks/KSInformationCacheTask.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <future>
#include <map>
#include <mutex>
#include <set>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/ProcessMemory.h"
#include "foundation/Strings.h"
#include "foundation/Value.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSStatusFileSync.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRDeveloper.h"
#include "framework/storage/KSRSource.h"
#include "framework/storage/KSRSources.h"
#include "framework/tasks/KSAPTFileNames.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSTaskError.h"

namespace corvane {

namespace {

std::atomic<std::uint64_t> tasksMade = 0;
std::mutex rebuilding;
// APT's caches are built one time after another, whoever asks.
std::mutex buildingAPTCaches;

bool isSandboxUnavailable(const foundation::Error& error) {
    return error.domain == KSAPTManager::kErrorDomain &&
           error.code == KSAPTManager::kSandboxUnavailable;
}

// Where no sandbox can be made, APT runs for nothing: the launch has told the user why, and the
// refresh of the records goes on.
foundation::Status buildAPTCaches() {
    std::lock_guard oneAtATime(buildingAPTCaches);
    // The source list first: a source added since launch has its index in the lists already.
    auto prepared = KSAPTManager::createAPTSandboxIfNeeded();
    if (!prepared && isSandboxUnavailable(prepared.error())) {
        KSLog("APT's caches are not rebuilt: %@", prepared.error().localizedDescription());
        return foundation::Success{};
    }
    FOUNDATION_RETURN_IF_ERROR(prepared);
    FOUNDATION_RETURN_IF_ERROR(KSAPTManager::writeSourceList());
    const auto result = KSAPTManager::regenerateCaches();
    if (result.succeeded())
        return foundation::Success{};
    KSLog("APT could not rebuild its caches: %@", result.output);
    return KSTaskError::make(KSTaskError::kStorage,
                             "APT could not rebuild its caches: " + result.output);
}

// A followed developer's packages that were not theirs at the last rebuild.
void noteNewPackages(KSRDeveloper& developer, const std::vector<std::string>& identifiers) {
    const std::set<std::string> known(developer.packagesIdentifiers.begin(),
                                      developer.packagesIdentifiers.end());
    auto& noted = developer.developerNewPackagesIdentifiers;
    for (const auto& identifier : identifiers)
        if (!known.contains(identifier) && std::ranges::find(noted, identifier) == noted.end())
            noted.push_back(identifier);
}

}  // namespace

KSInformationCacheTask::KSInformationCacheTask() : number_(++tasksMade) {
    setTaskStatus(foundation::localized("Waiting..."));
    setTaskProgress(kIndeterminateProgress);
}

std::string KSInformationCacheTask::pipelineID() const {
    return KSPipelineInformationCache;
}

std::string KSInformationCacheTask::taskDescription() const {
    return foundation::localized("Updating Package Information");
}

void KSInformationCacheTask::main() {
    std::lock_guard oneAtATime(rebuilding);
    setTaskStatus(foundation::localized("Running..."));
    try {
        // APT reads only its lists and the records are read only here, so the two rebuilds go
        // on side by side.
        auto rebuildingAPTCaches =
            std::async(std::launch::async, &KSInformationCacheTask::regenerateAPTCaches);
        KSStatusFileSync::synchronise();
        // The lists of new packages only read the records, and the developers' rebuild writes
        // nothing those lists read.
        auto listingNewPackages = std::async(std::launch::async, [] {
            auto& packages = KSRPackageManager::sharedPackageManager().packages();
            packages.rebuildDictOfNewPackages();
            packages.rebuildDictOfNewPackagesVersions();
        });
        rebuildDevelopers();
        listingNewPackages.get();
        const auto aptCaches = rebuildingAPTCaches.get();
        // The round's imports are over: what they wrote and held is no launch's concern.
        KSDatabase::truncateLog();
        foundation::ProcessMemory::releaseFreeMemory();
        setOutcome(aptCaches.ok(),
                   aptCaches ? std::nullopt : std::optional<foundation::Error>(aptCaches.error()));
    } catch (const std::exception& error) {
        KSLog("Could not rebuild the package information: %@", error.what());
        setOutcome(false, KSTaskError::make(KSTaskError::kStorage, error.what()));
    }
    setTaskProgress(1);
}

void KSInformationCacheTask::prepareAPTCaches() {
    foundation::runInBackground([] {
        // Whatever fails is found again, and reported, by the rebuild after the round.
        (void)buildAPTCaches();
    });
}

foundation::Status KSInformationCacheTask::regenerateAPTCaches() {
    auto built = buildAPTCaches();
    if (built)
        return built;
    const auto description = built.error().localizedDescription();
    const auto sources = sourcesNamedBy(description);
    if (sources.empty())
        return built;
    for (const auto& location : sources)
        KSRSources::recordError(location, description);
    return KSTaskError::forSource(KSTaskError::kStorage, description, sources.front());
}

// APT names the list it could not read by its file, which is named after the source.
std::vector<std::string> KSInformationCacheTask::sourcesNamedBy(const std::string& aptOutput) {
    std::vector<std::string> named;
    for (const auto& source : KSDatabase::realm().allObjects<KSRSource>()) {
        const auto listFile = "/" + KSAPTFileNames::listFileName(source.location, "Packages");
        if (aptOutput.find(listFile) != std::string::npos)
            named.push_back(source.location);
    }
    return named;
}

void KSInformationCacheTask::rebuildDevelopers() {
    auto realm = KSDatabase::realm();
    // Identifiers are primary keys, so each comes once: a list sorted at the end is all it takes.
    std::map<std::string, std::vector<std::string>> identifiersByDeveloper;
    // Two columns of every package in one statement: reading whole records took most of the
    // rebuild's time.
    realm.objectsWhere<KSRPackage>("maintainer != nil")
        .enumerateValuesForKeyPaths(
            {"maintainer", "identifier"}, [&](const std::vector<foundation::Value>& values) {
                if (foundation::isPresentText(values[0]))
                    identifiersByDeveloper[foundation::lowercase(*values[0].string())].push_back(
                        *values[1].string());
            });

    realm.write([&] {
        for (auto developer : realm.allObjects<KSRDeveloper>()) {
            if (!identifiersByDeveloper.contains(developer.name)) {
                developer.packagesCount = 0;
                developer.packagesIdentifiers.clear();
                realm.addOrUpdateObject(developer);
            }
        }
        for (auto& [name, identifiers] : identifiersByDeveloper) {
            std::ranges::sort(identifiers);
            auto developer = realm.objectForPrimaryKey<KSRDeveloper>(name).value_or(KSRDeveloper{});
            if (developer.isFollowed && !developer.packagesIdentifiers.empty())
                noteNewPackages(developer, identifiers);
            developer.name = name;
            developer.packagesCount = static_cast<std::int64_t>(identifiers.size());
            developer.packagesIdentifiers = std::move(identifiers);
            realm.addOrUpdateObject(developer);
        }
    });
}

}  // namespace corvane
