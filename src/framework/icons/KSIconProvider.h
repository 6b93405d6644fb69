#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "foundation/OperationQueue.h"
#include "foundation/URLSession.h"
#include "foundation/Value.h"
#include "framework/icons/KSIconMemoryCache.h"
#include "framework/storage/KSRPackageIconFetcher.h"
#include "uikit/Image.h"

namespace corvane {

// Package icons for every screen: what is cached at once, else the category image while the
// real icon is fetched in the background. A stored icon is announced with
// KSRPackageInfoIconChangedNotification (object: the identifier) on the main thread.
//
// An icon address is fetched once at a time; one that failed (not http or https, an error
// status, too large, not an image) is not asked again until the application restarts, and
// leaves the cache file as it was.
class KSIconProvider : public KSRPackageIconFetcher,
                       public std::enable_shared_from_this<KSIconProvider> {
  public:
    static constexpr int kMaxConcurrentFetches = 5;
    static constexpr std::int64_t kMaximumIconBytes = std::int64_t{2} << 20;
    static constexpr double kTimeoutSeconds = 30;

    static std::shared_ptr<KSIconProvider> sharedProvider();
    // The shared provider's icon for the package.
    static std::shared_ptr<uikit::Image> packageIconForIdentifier(const std::string& identifier);
    // Makes the shared provider fetch the icons that the shared package manager's packages
    // lack; the application calls it at launch.
    static void registerWithPackageManager();

    KSIconProvider();

    std::shared_ptr<uikit::Image> iconForIdentifier(const std::string& identifier);
    void fetchIcon(const std::string& identifier, const std::string& iconURL,
                   const std::string& destinationPath) override;

    // Where the fetches run; waiting on it waits until every fetched icon is stored.
    const std::shared_ptr<foundation::OperationQueue>& fetchQueue() const { return fetchQueue_; }

  private:
    // From memory, else from the cache file (kept in memory afterwards); null when neither.
    std::shared_ptr<uikit::Image> cachedIcon(const std::string& path);
    void store(const std::string& iconURL, const std::string& destinationPath,
               const std::optional<foundation::Bytes>& body);
    static std::shared_ptr<uikit::Image> writtenIcon(const std::string& destinationPath,
                                                     const std::optional<foundation::Bytes>& body);

    std::mutex mutex_;
    KSIconMemoryCache memory_;
    // Icon address -> the packages waiting for it.
    std::map<std::string, std::set<std::string>> pending_;
    std::set<std::string> failedURLs_;
    const std::shared_ptr<foundation::OperationQueue> fetchQueue_;
    const std::shared_ptr<foundation::URLSession> session_;
};

}  // namespace corvane
