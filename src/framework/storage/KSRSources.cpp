#include "framework/storage/KSRSources.h"

#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "foundation/NotificationCenter.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSPackageEngineHooks.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/storage/KSRSource.h"
#include "framework/storage/KSRSourceAddress.h"
#include "reachability/Reachability.h"

namespace corvane {

namespace {

KSRSource newSource(const std::string& location) {
    KSRSource source;
    source.location = location;
    source.iconURL = location + "CydiaIcon.png";
    return source;
}

}  // namespace

std::string KSRSources::refusalMessage(const std::string& refusal) {
    if (refusal == kRefusalDuplicate)
        return foundation::localized("This repository has already been added.");
    if (refusal == kRefusalNeedsHttpApproval)
        return foundation::localized(
            "This repository uses an insecure connection (http). Add it only if you trust it.");
    return foundation::localized("This is not a valid repository address.");
}

std::optional<std::string> KSRSources::addSourceWithLocation(const std::string& address,
                                                             bool httpApproval) {
    const auto location = KSRSourceAddress::normalised(address);
    std::optional<std::string> refused;
    auto realm = KSDatabase::realm();
    // Checked inside the transaction, so that two adds of one address cannot both pass.
    realm.write([&] {
        refused = refusal(location, httpApproval);
        if (!refused)
            realm.addObject(newSource(*location));
    });
    if (refused)
        postRefusal(location.value_or(address), *refused);
    else
        KSPackageEngineHooks::refreshSources({*location});
    return refused;
}

std::optional<std::string> KSRSources::refusal(const std::optional<std::string>& location,
                                               bool httpApproval) const {
    if (!location)
        return kRefusalInvalidAddress;
    auto realm = KSDatabase::realm();
    if (realm.objectForPrimaryKey<KSRSource>(*location) ||
        realm.objectForPrimaryKey<KSRSource>(KSRSourceAddress::withOtherScheme(*location)))
        return kRefusalDuplicate;
    if (KSRSourceAddress::isPlainHTTP(*location) && !httpApproval)
        return kRefusalNeedsHttpApproval;
    return std::nullopt;
}

void KSRSources::postRefusal(const std::string& object, const std::string& refusal) {
    foundation::Dictionary userInfo{{kRefusalKey, refusal}, {kMessageKey, refusalMessage(refusal)}};
    foundation::runAsyncOnMain([object, userInfo = std::move(userInfo)] {
        foundation::NotificationCenter::defaultCenter().post(KSRSourceUpdatedNotification, object,
                                                             userInfo);
    });
}

std::shared_ptr<uikit::Image> KSRSources::iconForLocation(const std::string& location) const {
    auto source = KSDatabase::realm().objectForPrimaryKey<KSRSource>(location);
    if (!source || !foundation::FileManager::fileExists(source->iconPath()))
        return nullptr;
    return uikit::Image::fromFile(source->iconPath());
}

bool KSRSources::refreshAllSources() {
    if (!CorvanePersistentPreferences::sharedInstance().boolForKey("setupDone"))
        return false;
    auto reachability = reachability::Reachability::reachabilityForInternetConnection();
    if (reachability->currentReachabilityStatus() == reachability::NotReachable)
        return false;
    foundation::runInBackground(
        [locations = allLocations()] { KSPackageEngineHooks::refreshSources(locations); });
    return true;
}

bool KSRSources::addMissingSources(const std::vector<std::string>& locations) {
    bool added = false;
    auto realm = KSDatabase::realm();
    realm.write([&] {
        for (const auto& location : locations) {
            if (realm.objectForPrimaryKey<KSRSource>(location))
                continue;
            realm.addObject(newSource(location));
            added = true;
        }
    });
    return added;
}

bool KSRSources::isEmpty() const {
    return KSDatabase::realm().allObjects<KSRSource>().count() == 0;
}

std::optional<double> KSRSources::oldestRefreshDate() const {
    std::optional<double> oldest;
    for (const auto& source : KSDatabase::realm().allObjects<KSRSource>()) {
        if (!source.lastRefreshDate)
            return std::nullopt;
        if (!oldest || *source.lastRefreshDate < *oldest)
            oldest = source.lastRefreshDate;
    }
    return oldest;
}

std::vector<std::string> KSRSources::allLocations() const {
    std::vector<std::string> locations;
    for (const auto& source : KSDatabase::realm().allObjects<KSRSource>())
        locations.push_back(source.location);
    return locations;
}

void KSRSources::recordError(const std::string& location, const std::string& description) {
    auto realm = KSDatabase::realm();
    realm.write([&] {
        auto source = realm.objectForPrimaryKey<KSRSource>(location);
        if (!source)
            return;
        source->hasErrors = true;
        source->errorDescription = description;
        realm.addOrUpdateObject(*source);
    });
}

}  // namespace corvane
