#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "ui/core/KSPalettedViewController.h"
#include "uikit/CollectionView.h"
#include "uikit/CollectionViewDataSource.h"
#include "uikit/CollectionViewDelegate.h"
#include "uikit/Image.h"

namespace corvane {

// A package's screenshots at full size, one per page, in the order of their numbers. Presented
// in a navigation controller of its own, which its "Close" button dismisses.
class PackageScreenshotsViewController : public KSPalettedViewController,
                                         public uikit::CollectionViewDataSource,
                                         public uikit::CollectionViewDelegate {
  public:
    static constexpr const char* kNibName = "PackageScreenshotsViewController";
    static constexpr const char* kReuseIdentifier = "cell";

    PackageScreenshotsViewController();

    // Screenshot number to image. A number without a stored image takes no page: the pages are
    // the images there are, by number.
    void setScreenshotsDictionary(const std::map<int, std::shared_ptr<uikit::Image>>& screenshots);
    const std::vector<std::shared_ptr<uikit::Image>>& pages() const { return pages_; }
    void dismissVC();

    // Outlet, set by the nib: pages horizontally.
    std::shared_ptr<uikit::CollectionView> screenshotsCollectionView;

    int numberOfItemsInSection(uikit::CollectionView& collectionView, int section) override;
    std::shared_ptr<uikit::CollectionViewCell> cellForItemAtIndexPath(
        uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) override;
    std::optional<uikit::Size> sizeForItemAtIndexPath(uikit::CollectionView& collectionView,
                                                      const uikit::IndexPath& indexPath) override;

  protected:
    void viewDidLoad() override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::vector<std::shared_ptr<uikit::Image>> pages_;
};

}  // namespace corvane
