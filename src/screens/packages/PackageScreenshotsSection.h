#pragma once

#include <functional>
#include <memory>

#include "screens/packages/PackageSectionBuilder.h"
#include "ui/palette/KSPalette.h"
#include "uikit/CollectionView.h"
#include "uikit/CollectionViewDataSource.h"
#include "uikit/CollectionViewDelegate.h"
#include "uikit/ImageView.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"

namespace corvane {

class PackagePageModel;

// The screenshots strip and the before/after pair, or the message that says why there are none.
// For a source without info JSON the strip waits for the depiction and folds away when it
// brings nothing. Main thread.
class PackageScreenshotsSection : public uikit::CollectionViewDataSource,
                                  public uikit::CollectionViewDelegate {
  public:
    static constexpr double kScreenshotsHeight = 441;
    static constexpr double kPhoneScreenshotHeight = 422;
    static constexpr double kPadScreenshotHeight = 287;

    // The anchors it may hang under: the video's separator by default, else the changelog's or
    // the header's.
    struct Anchors {
        const uikit::View& videoPreviewSeparator;
        const uikit::View& changelogSeparator;
        const uikit::View& topSeparator;
    };
    void build(PackageSectionBuilder& b, const Anchors& anchors);
    // The strips read the model and size their items from the page's width; a tap on a
    // screenshot is handed on.
    void connect(std::shared_ptr<const PackagePageModel> model, std::weak_ptr<uikit::View> pageView,
                 std::function<void()> showScreenshots);
    void layout(const PackagePageModel& model);
    void paletteDidChange(const KSPalette& palette);

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

    std::shared_ptr<uikit::Label> screenshotsTitle;
    std::shared_ptr<uikit::CollectionView> screenshotsCollectionView;
    std::shared_ptr<uikit::Label> screenshotsLbl;
    std::shared_ptr<uikit::Label> beforeAfterTitle;
    std::shared_ptr<uikit::CollectionView> beforeAfterCollectionView;
    std::shared_ptr<uikit::ImageView> beforeImageView;
    std::shared_ptr<uikit::Label> beforeAfterLbl;
    std::shared_ptr<uikit::View> screenshotsSeparator;

    std::shared_ptr<uikit::LayoutConstraint> screenshotsTitleTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsTitleTopConstraintToChangelogSeparator;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsTitleTopConstraintToTopSeparator;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsTitleHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsCollectionViewTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsCollectionViewHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> beforeAfterTitleTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> beforeAfterTitleTopConstraintToScreenshotsLbl;
    std::shared_ptr<uikit::LayoutConstraint> beforeAfterCollectionViewTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> beforeAfterLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsSeparatorTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsSeparatorTopConstraintToBeforeAfterLbl;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsSeparatorTopConstraintToCV;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsSeparatorTopConstraintToLbl;
    std::shared_ptr<uikit::LayoutConstraint> screenshotsSeparatorHeightConstraint;

  private:
    void buildScreenshots(PackageSectionBuilder& b, const Anchors& anchors);
    void buildBeforeAfter(PackageSectionBuilder& b);
    // The strip's image of the item: a screenshot by its number, the pair by position.
    std::shared_ptr<uikit::Image> imageOf(uikit::CollectionView& collectionView, int item) const;

    std::shared_ptr<const PackagePageModel> model_;
    std::weak_ptr<uikit::View> pageView_;
    std::function<void()> showScreenshots_;
};

}  // namespace corvane
