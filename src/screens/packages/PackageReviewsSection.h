#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "framework/webservice/KSReviews.h"
#include "screens/packages/PackageSectionBuilder.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/CollectionView.h"
#include "uikit/CollectionViewDataSource.h"
#include "uikit/CollectionViewDelegate.h"
#include "uikit/Label.h"
#include "uikit/LayoutConstraint.h"

namespace corvane {

class PackagePageModel;

// "Ratings & Reviews": the community's average, the first review, and the buttons to mail the
// developer or write a review; the message when nobody has written one. Main thread.
class PackageReviewsSection : public uikit::CollectionViewDataSource,
                              public uikit::CollectionViewDelegate {
  public:
    static constexpr double kReviewHeight = 155;
    static constexpr double kCellCornerRadius = 13;

    void build(PackageSectionBuilder& b, const uikit::View& authorSeparator);
    // The strip reads the model and takes the screen's palette; a tap on the review is handed
    // on.
    void connect(std::shared_ptr<const PackagePageModel> model,
                 std::weak_ptr<KSPalettedViewController> screen, std::function<void()> seeAll);
    // The two buttons' shape, before the reviews are known.
    void layoutButtons();
    // The reviews list and its labels, or the no-reviews message.
    void layout(bool hasReviews);
    void paletteDidChange(const KSPalette& palette, bool darkMode);
    void showAverageRating(const std::optional<std::string>& rating);

    static void fillCell(ReviewsCell& cell, const KSReviews& review, const std::string& maintainer,
                         const std::optional<KSPalette>& palette);

    int numberOfItemsInSection(uikit::CollectionView& collectionView, int section) override;
    std::shared_ptr<uikit::CollectionViewCell> cellForItemAtIndexPath(
        uikit::CollectionView& collectionView, const uikit::IndexPath& indexPath) override;
    void didSelectItemAtIndexPath(uikit::CollectionView& collectionView,
                                  const uikit::IndexPath& indexPath) override;
    std::optional<uikit::Size> sizeForItemAtIndexPath(uikit::CollectionView& collectionView,
                                                      const uikit::IndexPath& indexPath) override;
    std::optional<double> minimumLineSpacingForSectionAtIndex(uikit::CollectionView& collectionView,
                                                              int section) override;

    std::shared_ptr<uikit::Label> reviewsTitle;
    std::shared_ptr<uikit::Button> seeAllReviewsBtn;
    std::shared_ptr<uikit::Label> packageRatingLbl;
    std::shared_ptr<uikit::Label> packageRatingSubLbl;
    std::shared_ptr<uikit::CollectionView> reviewsCollectionView;
    std::shared_ptr<uikit::Label> reviewsLbl;
    std::shared_ptr<uikit::Button> contactDeveloperBtn;
    std::shared_ptr<uikit::Button> leaveReviewBtn;
    std::shared_ptr<uikit::View> reviewsSeparator;

    std::shared_ptr<uikit::LayoutConstraint> seeAllReviewsBtnHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageRatingLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageRatingLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageRatingSubLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> packageRatingSubLblHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> reviewsCollectionViewTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> reviewsCollectionViewHeightConstraint;
    std::shared_ptr<uikit::LayoutConstraint> reviewsLblTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> contactDeveloperBtnTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> contactDeveloperBtnTopConstraintToLbl;
    std::shared_ptr<uikit::LayoutConstraint> leaveReviewBtnTopConstraint;
    std::shared_ptr<uikit::LayoutConstraint> leaveReviewBtnTopConstraintToLbl;

  private:
    void buildRating(PackageSectionBuilder& b);
    void buildButtons(PackageSectionBuilder& b);

    std::shared_ptr<const PackagePageModel> model_;
    std::weak_ptr<KSPalettedViewController> screen_;
    std::function<void()> seeAll_;
};

}  // namespace corvane
