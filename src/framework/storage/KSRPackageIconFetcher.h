#pragma once

#include <string>

namespace corvane {

// Fetches a package's icon in the background; the icon provider implements it and registers
// itself with KSRPackages::setIconFetcher. It stores the icon at destinationPath and then posts
// KSRPackageInfoIconChangedNotification with the identifier on the main thread.
class KSRPackageIconFetcher {
  public:
    virtual ~KSRPackageIconFetcher() = default;
    virtual void fetchIcon(const std::string& identifier, const std::string& iconURL,
                           const std::string& destinationPath) = 0;
};

}  // namespace corvane
