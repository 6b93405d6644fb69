#pragma once

#include <optional>
#include <string>

#include "app/presentations/KSPresentations.h"
#include "foundation/Error.h"
#include "foundation/URL.h"

namespace corvane {

// The alerts that tell why a package was not queued. Each is shown on the main thread.
class KSQueueAlerts {
  public:
    // "Can't get package": the source has no payment endpoint, or the user is not signed in.
    static void showNoEndpoint(const std::shared_ptr<KSPresentations>& presentations,
                               const std::string& sourceName);
    // "Error fetching package info", with "More Info" when the endpoint offers a page.
    static void showInfoError(const std::shared_ptr<KSPresentations>& presentations,
                              const foundation::Error& error,
                              const std::optional<foundation::URL>& recoveryURL);
    // "Purchase Failed".
    static void showPurchaseFailed(const std::shared_ptr<KSPresentations>& presentations,
                                   const std::optional<foundation::Error>& error);
};

}  // namespace corvane
