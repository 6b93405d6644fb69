#include "framework/packagemanager/KSRPackageManager.h"

#include <memory>

#include "foundation/Date.h"
#include "foundation/Dispatch.h"
#include "foundation/SharedInstance.h"
#include "framework/device/KSPlatform.h"
#include "framework/packagemanager/KSRDefaultSources.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRRefreshPolicy.h"
#include "reachability/Reachability.h"

namespace corvane {

namespace {

bool isOnline() {
    return reachability::Reachability::reachabilityForInternetConnection()
               ->currentReachabilityStatus() != reachability::NotReachable;
}

}  // namespace

foundation::SharedInstance<KSRPackageManager>& KSRPackageManager::shared() {
    static auto* manager = new foundation::SharedInstance<KSRPackageManager>([] {
        std::shared_ptr<KSRPackageManager> made(new KSRPackageManager());
        made->start();
        return made;
    });
    return *manager;
}

KSRPackageManager& KSRPackageManager::sharedPackageManager() {
    return shared().get();
}

void KSRPackageManager::resetSharedPackageManager() {
    shared().reset();
}

void KSRPackageManager::start() {
    KSDatabase::realm();
    bool changed = false;
    if (sources_.isEmpty())
        changed = sources_.addMissingSources(KSRDefaultSources::defaultLocations());
    if (sources_.addMissingSources(
            KSRDefaultSources::requiredLocations(KSPlatform::jailbreakTool())))
        changed = true;
    // Without a source there is nothing to refresh, however long ago the last refresh was.
    const bool due =
        !sources_.isEmpty() && KSRRefreshPolicy::isRefreshDue(sources_.oldestRefreshDate(),
                                                              foundation::Date::now(), isOnline());
    if (changed || due)
        foundation::runOnMainAfter(
            kStartupRefreshDelaySeconds, [scheduledBy = std::weak_ptr<bool>(alive_)] {
                if (!scheduledBy.expired())
                    KSRPackageManager::sharedPackageManager().sources().refreshAllSources();
            });
}

}  // namespace corvane
