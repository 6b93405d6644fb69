#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/Value.h"
#include "framework/compatibility/CompatibilityDocument.h"
#include "uikit/Color.h"

namespace corvane {

// The compatibility reports for the running iOS version. The document comes from an address
// pattern ("%@" stands for the iOS version; only http and https), by default the environment
// variable CORVANE_COMPATIBILITY_URL, and is cached in the data directory; without an address
// nothing is fetched and only a cached document is used.
class TweakCompatibilityManager : public std::enable_shared_from_this<TweakCompatibilityManager> {
  public:
    static constexpr const char* kAddressEnvironmentVariable = "CORVANE_COMPATIBILITY_URL";
    // A younger cache is used as it is; an older one is fetched again.
    static constexpr double kCacheLifetimeSeconds = 24 * 3600;
    static constexpr double kTimeoutSeconds = 30;

    static std::shared_ptr<TweakCompatibilityManager> sharedManager();
    static std::optional<std::string> addressFromEnvironment();

    explicit TweakCompatibilityManager(
        std::optional<std::string> addressPattern = addressFromEnvironment())
        : addressPattern_(std::move(addressPattern)) {}

    // Loads the cached document at once, then fetches a fresh one in the background when the
    // cache is missing or out of date. A failed fetch or a malformed or oversized document is
    // logged and keeps the cache. The completion runs on the main thread when all is done.
    void prepare(std::function<void()> completion = {});

    TweakCompatibilityStatus statusForBundle(const std::string& identifier,
                                             const std::string& version) const;
    // System green for working, red for not working, yellow when not known.
    uikit::Color colorForBundle(const std::string& identifier, const std::string& version) const;

    // "<data directory>/TweakCompatibility-<version>.json"; nullopt for a version that is not
    // digits and dots.
    static std::optional<std::string> cacheFile(const std::string& firmwareVersion);

  private:
    bool loadCache(const std::string& path);
    void fetch(const std::string& address, const std::string& cachePath,
               std::function<void()> completion);
    void accept(const foundation::Bytes& data, const std::string& cachePath);

    const std::optional<std::string> addressPattern_;
    mutable std::mutex mutex_;
    std::shared_ptr<const CompatibilityDocument> document_;
};

}  // namespace corvane
