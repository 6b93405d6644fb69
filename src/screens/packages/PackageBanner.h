#pragma once

#include <memory>
#include <string>

namespace corvane {

class PackagePageModel;

// The banner over the package page: fetched from the address a package or its native depiction
// names, cached as a PNG named after the package, and handed to the page's model for the
// appearance that asked. Only a 2xx reply that decodes is a banner, so an error page never
// becomes a header or a cached file.
class PackageBanner {
  public:
    static constexpr double kHeight = 200;
    // Where the header first shows, pulled down past its height so that it settles into place.
    static constexpr double kRestOffset = -400;

    static std::string cachePath(const std::string& identifier);
    static bool isCached(const std::string& identifier);

    static void fetch(const std::shared_ptr<PackagePageModel>& model, const std::string& address);
    // The cached banner, read on a global queue.
    static void showCached(const std::shared_ptr<PackagePageModel>& model);
};

}  // namespace corvane
