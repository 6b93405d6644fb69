#pragma once

#include <memory>

namespace corvane {

class PackagePageModel;
class PackageReviews;
class PackageScreenshots;

// What the package page loads on every appearance beside its depiction: the banner, the
// author's avatar, the screenshots and the average rating; and what it asks once. It returns at
// once; each load hands its one outcome to the page's model on the main thread.
class PackageBackgroundLoad {
  public:
    PackageBackgroundLoad(std::shared_ptr<PackagePageModel> model,
                          std::shared_ptr<PackageScreenshots> screenshots,
                          std::shared_ptr<PackageReviews> reviews);

    void start();
    // Once, when the page loads: the view statistic of a package whose source is known, and the
    // store's answer about a paid package whose store the person has signed in to.
    void loadOnce();

  private:
    void loadBanner();
    // The first developer of the maker's service whose name is the maintainer's gives the
    // avatar; no such developer, or no image, gives the placeholder.
    void loadAvatar();
    void requestPurchaseInfo();

    std::shared_ptr<PackagePageModel> model_;
    std::shared_ptr<PackageScreenshots> screenshots_;
    std::shared_ptr<PackageReviews> reviews_;
};

}  // namespace corvane
