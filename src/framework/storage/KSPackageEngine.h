#pragma once

#include <string>
#include <vector>

namespace corvane {

// What the package data asks of the package engine: refreshing sources from their repositories
// and downloading packages. The engine implements it and registers with KSPackageEngineHooks.
class KSPackageEngine {
  public:
    virtual ~KSPackageEngine() = default;
    // Queues one refresh task per source location; each posts KSRSourceUpdatedNotification
    // when it ends.
    virtual void refreshSources(const std::vector<std::string>& locations) = 0;
    // Queues a download task for each package, all together: the last download of the batch
    // queues the APT operation, and none may finish before the batch is whole.
    virtual void downloadPackages(const std::vector<std::string>& identifiers) = 0;
};

}  // namespace corvane
