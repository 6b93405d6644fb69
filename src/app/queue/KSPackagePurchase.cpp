#include "app/queue/KSPackagePurchase.h"

#include "app/queue/KSQueueAlerts.h"
#include "foundation/Dispatch.h"
#include "foundation/Log.h"
#include "framework/packagemanager/KSQueueStateNotification.h"
#include "framework/repostore/KSRepoStoreAPI.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"

namespace corvane {

void KSPackagePurchase::purchaseInfo(Request request,
                                     std::shared_ptr<KSPresentations> presentations, Retry retry) {
    const auto identifier = request.identifier;
    KSRepoStoreAPI::sharedRepoStore().purchaseInfoForPackageWithIdentifier(
        identifier, [request = std::move(request), presentations = std::move(presentations),
                     retry = std::move(retry)](bool, KSRepoStorePackageInfoResponse info) {
            foundation::runOnMain([=] { infoDidArrive(request, info, presentations, retry); });
        });
}

void KSPackagePurchase::infoDidArrive(const Request& request,
                                      const KSRepoStorePackageInfoResponse& info,
                                      const std::shared_ptr<KSPresentations>& presentations,
                                      const Retry& retry) {
    // The client has already dropped the refused credentials.
    if (info.invalidate && !info.error)
        return retry();
    if (info.error) {
        KSLog("Purchase info error %@", info.error->localizedDescription());
        return KSQueueAlerts::showInfoError(presentations, *info.error, info.recovery_url);
    }
    if (info.available && info.purchased)
        KSQueueStateNotification::markQueued(request.identifier, request.versionToQueue);
    else if (info.available)
        purchase(request, presentations, retry);
}

void KSPackagePurchase::purchase(Request request, std::shared_ptr<KSPresentations> presentations,
                                 Retry retry) {
    const auto identifier = request.identifier;
    KSRepoStoreAPI::sharedRepoStore().purchasePackageWithIdentifier(
        identifier, [request = std::move(request), presentations = std::move(presentations),
                     retry = std::move(retry)](KSRepoStorePurchaseResponse response) {
            foundation::runOnMain([=] { purchaseDidEnd(request, response, presentations, retry); });
        });
}

void KSPackagePurchase::purchaseDidEnd(const Request& request,
                                       const KSRepoStorePurchaseResponse& response,
                                       const std::shared_ptr<KSPresentations>& presentations,
                                       const Retry& retry) {
    if (response.invalidate)
        return retry();
    if (response.status == KSRepoStorePurchaseResponse::kStatusCompleted) {
        KSLog("Purchase One Tap completed");
        recordOneTapPurchase(request.identifier);
        KSQueueStateNotification::markQueued(request.identifier, request.versionToQueue);
    } else if (response.status == KSRepoStorePurchaseResponse::kStatusFailed) {
        KSLog("Purchase Failed or canceled");
        KSQueueAlerts::showPurchaseFailed(presentations, response.error);
    }
}

void KSPackagePurchase::recordOneTapPurchase(const std::string& identifier) {
    foundation::runOnDefaultQueue([identifier] {
        auto realm = KSDatabase::realm();
        realm.write([&] {
            auto package = realm.objectForPrimaryKey<KSRPackage>(identifier);
            if (!package)
                return;
            package->isPaidThroughSileo = true;
            realm.addOrUpdateObject(*package);
        });
    });
}

}  // namespace corvane
