#pragma once

#include <memory>

#include "uikit/CollectionViewDataSource.h"
#include "uikit/CollectionViewDelegate.h"
#include "uikit/Image.h"

namespace corvane {

class PackageDetailsViewController;

// The four strips of the package page: screenshots, the before/after pair, the author and the
// first review. It fills and sizes their items from what the page holds and opens what a tap on
// an item asks for. Main thread.
class PackageCollections : public uikit::CollectionViewDataSource,
                           public uikit::CollectionViewDelegate {
  public:
    static constexpr double kPhoneScreenshotHeight = 422;
    static constexpr double kPadScreenshotHeight = 287;
    static constexpr double kAuthorHeight = 80;
    static constexpr double kReviewHeight = 155;
    static constexpr double kLineSpacing = 20;

    explicit PackageCollections(std::weak_ptr<PackageDetailsViewController> page)
        : page_(std::move(page)) {}

    // A screenshot no taller than the strip's height, in its own proportions; alone, it spans
    // the page less 32 points.
    static uikit::Size screenshotSize(uikit::Size image, double targetHeight, bool alone,
                                      double pageWidth);

    int numberOfItemsInSection(uikit::CollectionView& collectionView, int section) override;
    std::shared_ptr<uikit::CollectionViewCell> cellForItemAtIndexPath(
        uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) override;
    void didSelectItemAtIndexPath(uikit::CollectionView& collectionView,
                                  const uikit::IndexPath& indexPath) override;
    std::optional<uikit::Size> sizeForItemAtIndexPath(uikit::CollectionView& collectionView,
                                                      const uikit::IndexPath& indexPath) override;
    std::optional<double> minimumLineSpacingForSectionAtIndex(uikit::CollectionView& collectionView,
                                                              int section) override;

  private:
    std::shared_ptr<uikit::CollectionViewCell> screenshotCell(uikit::CollectionView& collectionView,
                                                              const uikit::IndexPath& indexPath,
                                                              std::shared_ptr<uikit::Image> image);
    std::shared_ptr<uikit::CollectionViewCell> authorCell(PackageDetailsViewController& page,
                                                          uikit::CollectionView& collectionView,
                                                          const uikit::IndexPath& indexPath);
    std::shared_ptr<uikit::CollectionViewCell> reviewCell(PackageDetailsViewController& page,
                                                          uikit::CollectionView& collectionView,
                                                          const uikit::IndexPath& indexPath);

    std::weak_ptr<PackageDetailsViewController> page_;
};

}  // namespace corvane
