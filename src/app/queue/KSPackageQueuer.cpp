#include "app/queue/KSPackageQueuer.h"

#include "app/presentations/KSShareTexts.h"
#include "app/queue/KSPackagePurchase.h"
#include "app/queue/KSQueueAlerts.h"
#include "foundation/Log.h"
#include "framework/packagemanager/KSQueueStateNotification.h"
#include "framework/repostore/KSRepoStoreAPI.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackages.h"
#include "framework/storage/KSRQueueOperation.h"

namespace corvane {

KSPackageQueuer::KSPackageQueuer(std::shared_ptr<KSPresentations> presentations)
    : presentations_(std::move(presentations)) {}

void KSPackageQueuer::queuePackageWithIdentifier(const std::string& identifier,
                                                 const std::optional<std::string>& versionToQueue,
                                                 const std::shared_ptr<uikit::View>& sender) {
    auto realm = KSDatabase::realm();
    auto package = realm.objectForPrimaryKey<KSRPackage>(identifier);
    if (!package) {
        KSLog("No stored package %@; nothing was queued", identifier);
        return;
    }
    bool removal = KSRPackages::queueOperationForPackage(
                       *package, versionToQueue, KSRQueueOperationNone) == KSRQueueOperationRemove;
    if (removal || package->isFree() || package->isPaidThroughCydia)
        return KSQueueStateNotification::markQueued(identifier, versionToQueue);

    auto source = package->sourceLocation
                      ? realm.objectForPrimaryKey<KSRSource>(*package->sourceLocation)
                      : std::nullopt;
    if (!source) {
        KSLog("The source of %@ is not stored; nothing was queued", identifier);
        return KSQueueAlerts::showNoEndpoint(presentations_, KSShareTexts::kRemovedSource);
    }
    queuePaidPackage(*package, *source, versionToQueue, sender);
}

void KSPackageQueuer::queuePaidPackage(const KSRPackage& package, const KSRSource& source,
                                       const std::optional<std::string>& versionToQueue,
                                       const std::shared_ptr<uikit::View>& sender) {
    auto& store = KSRepoStoreAPI::sharedRepoStore();
    if (source.hasEndpoint &&
        KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(source.location)) {
        KSPackagePurchase::purchaseInfo(
            {package.identifier, versionToQueue}, presentations_,
            [weak = weak_from_this(), identifier = package.identifier, versionToQueue, sender] {
                if (auto self = weak.lock())
                    self->queueAgain(identifier, versionToQueue, sender);
            });
    } else if (source.hasEndpoint) {
        KSLog("User not signed in, cant purchase items");
        signIn(source.location, package.identifier, versionToQueue, sender);
    } else if (store.sourceWithLoacationIsBlacklisted(source.location)) {
        KSQueueStateNotification::markQueued(package.identifier, versionToQueue);
    } else {
        KSLog("No Endpoint For Package");
        KSQueueAlerts::showNoEndpoint(presentations_, source.name.value_or(source.location));
    }
}

void KSPackageQueuer::signIn(const std::string& location, const std::string& identifier,
                             const std::optional<std::string>& versionToQueue,
                             const std::shared_ptr<uikit::View>& sender) {
    KSRepoStoreAPI::loginToSource(
        location, [weak = weak_from_this(), identifier, versionToQueue, sender](bool signedIn) {
            auto self = weak.lock();
            if (self && signedIn)
                self->queueAgain(identifier, versionToQueue, sender);
        });
}

void KSPackageQueuer::queueAgain(const std::string& identifier,
                                 const std::optional<std::string>& versionToQueue,
                                 const std::shared_ptr<uikit::View>& sender) {
    queuePackageWithIdentifier(identifier, versionToQueue, sender);
    KSQueueStateNotification::post(identifier);
}

}  // namespace corvane
