#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/presentations/KSPresentations.h"
#include "framework/repostore/KSRepoStorePackageInfoResponse.h"
#include "framework/repostore/KSRepoStorePurchaseResponse.h"

namespace corvane {

// The payment-endpoint part of queueing a paid package for a signed-in user: ask what the
// endpoint knows of the package, buy it when it is available and not bought yet, and queue it
// once it is bought. Every answer is handled on the main thread.
class KSPackagePurchase {
  public:
    struct Request {
        std::string identifier;
        std::optional<std::string> versionToQueue;
    };
    // Runs the whole queueing decision again, on the main thread; used when the endpoint
    // dropped the credentials, so that the next pass signs in first.
    using Retry = std::function<void()>;

    static void purchaseInfo(Request request, std::shared_ptr<KSPresentations> presentations,
                             Retry retry);

  private:
    static void infoDidArrive(const Request& request, const KSRepoStorePackageInfoResponse& info,
                              const std::shared_ptr<KSPresentations>& presentations,
                              const Retry& retry);
    static void purchase(Request request, std::shared_ptr<KSPresentations> presentations,
                         Retry retry);
    static void purchaseDidEnd(const Request& request, const KSRepoStorePurchaseResponse& response,
                               const std::shared_ptr<KSPresentations>& presentations,
                               const Retry& retry);
    // isPaidThroughSileo of the stored package, on the default queue; nothing for a package
    // that is no longer stored.
    static void recordOneTapPurchase(const std::string& identifier);
};

}  // namespace corvane
