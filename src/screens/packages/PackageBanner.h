#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "uikit/Image.h"

namespace corvane {

class PackageDetailsViewController;

// The banner over the package page: a stretchy header fetched from the address a package or its
// native depiction names, cached as a PNG named after the package. Only a 2xx reply that decodes
// is a banner, so an error page never becomes a header or a cached file.
class PackageBanner {
  public:
    static constexpr double kHeight = 200;
    // Where the header first shows, pulled down past its height so that it settles into place.
    static constexpr double kRestOffset = -400;

    static std::string cachePath(const std::string& identifier);
    static bool isCached(const std::string& identifier);

    // Fetches the banner and, for the page's appearance that asked, caches and shows it.
    static void fetch(PackageDetailsViewController& page, const std::string& address);
    // The cached banner, read on a global queue and shown on the main thread.
    static void showCached(PackageDetailsViewController& page);
    // Main thread: the header over the content, the content pulled down to it, the navigation
    // bar see-through.
    static void show(PackageDetailsViewController& page, std::shared_ptr<uikit::Image> image);
};

}  // namespace corvane
