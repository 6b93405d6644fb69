#pragma once

namespace corvane {

class PackageDetailsViewController;

// What the package page loads on every appearance beside its depiction: the banner, the
// author's avatar, the screenshots and the average rating. It returns at once; each load hands
// its one outcome to the main thread.
class PackageBackgroundLoad {
  public:
    static void start(PackageDetailsViewController& page);

  private:
    static void loadBanner(PackageDetailsViewController& page);
    // The first developer of the maker's service whose name is the maintainer's gives the
    // avatar; no such developer, or no image, gives the placeholder.
    static void loadAvatar(PackageDetailsViewController& page);
};

}  // namespace corvane
