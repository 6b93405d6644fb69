#pragma once

#include <memory>

#include "framework/storage/KSRDevelopers.h"
#include "framework/storage/KSRPackages.h"
#include "framework/storage/KSRSearchHistories.h"
#include "framework/storage/KSRSources.h"

namespace foundation {
template <typename T>
class SharedInstance;
}

namespace corvane {

// The process-wide owner of the stored collections; every screen and task reaches stored data
// through it. Created on first use: it opens the database, stores the default sources in an
// empty one and the sources the detected jailbreak tool needs, and when either added something
// or a refresh is due (KSRRefreshPolicy) refreshes all sources 3 s later.
class KSRPackageManager {
  public:
    static constexpr double kStartupRefreshDelaySeconds = 3;

    static KSRPackageManager& sharedPackageManager();
    // Ends the shared manager, so that the next sharedPackageManager() starts anew as after a
    // relaunch (the process reset does it too). References to the old one must not be used
    // afterwards.
    static void resetSharedPackageManager();

    KSRSources& sources() { return sources_; }
    KSRPackages& packages() { return packages_; }
    KSRDevelopers& developers() { return developers_; }
    KSRSearchHistories& searchHistories() { return searchHistories_; }

  private:
    KSRPackageManager() = default;
    static foundation::SharedInstance<KSRPackageManager>& shared();
    void start();

    KSRSources sources_;
    KSRPackages packages_;
    KSRDevelopers developers_;
    KSRSearchHistories searchHistories_;
    // A refresh scheduled by an ended manager does not run.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace corvane
