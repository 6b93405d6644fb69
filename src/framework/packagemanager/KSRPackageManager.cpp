#include "framework/packagemanager/KSRPackageManager.h"

#include <cstdint>
#include <memory>
#include <mutex>

#include "foundation/Date.h"
#include "foundation/Dispatch.h"
#include "framework/misc/KSPlatform.h"
#include "framework/packagemanager/KSRDefaultSources.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRRefreshPolicy.h"
#include "reachability/Reachability.h"

namespace corvane {

namespace {

std::mutex sharedMutex;
std::unique_ptr<KSRPackageManager> sharedManager;
// Counts the resets, so that a refresh scheduled by an ended manager does not run.
std::uint64_t generation = 0;

bool isOnline() {
    return reachability::Reachability::reachabilityForInternetConnection()
               ->currentReachabilityStatus() != reachability::NotReachable;
}

}  // namespace

KSRPackageManager& KSRPackageManager::sharedPackageManager() {
    std::lock_guard lock(sharedMutex);
    if (!sharedManager) {
        sharedManager.reset(new KSRPackageManager());
        sharedManager->start();
    }
    return *sharedManager;
}

void KSRPackageManager::resetSharedPackageManager() {
    std::lock_guard lock(sharedMutex);
    sharedManager.reset();
    ++generation;
}

void KSRPackageManager::start() {
    KSDatabase::realm();
    bool changed = false;
    if (sources_.isEmpty())
        changed = sources_.addMissingSources(KSRDefaultSources::defaultLocations());
    if (sources_.addMissingSources(
            KSRDefaultSources::requiredLocations(KSPlatform::jailbreakTool())))
        changed = true;
    bool due = KSRRefreshPolicy::isRefreshDue(sources_.oldestRefreshDate(), foundation::Date::now(),
                                              isOnline());
    if (changed || due)
        foundation::runOnMainAfter(kStartupRefreshDelaySeconds, [scheduledBy = generation] {
            {
                std::lock_guard lock(sharedMutex);
                if (scheduledBy != generation)
                    return;
            }
            KSRPackageManager::sharedPackageManager().sources().refreshAllSources();
        });
}

}  // namespace corvane
