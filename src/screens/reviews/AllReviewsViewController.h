#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/webservice/KSReviews.h"
#include "ui/cells/AllReviewsCell.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/TableView.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"

namespace corvane {

// Every review of a package, one card each, as the maker's service lists them. They are asked
// for again each time the screen appears; until an answer arrives, and when a request fails,
// the reviews shown stay.
class AllReviewsViewController : public KSPalettedViewController,
                                 public uikit::TableViewDataSource,
                                 public uikit::TableViewDelegate {
  public:
    static constexpr const char* kNibName = "AllReviewsViewController";
    static constexpr const char* kReuseIdentifier = "allReviewsCell";
    static constexpr double kCardCornerRadius = 13;

    AllReviewsViewController();

    const std::string& packageIdentifier() const { return packageIdentifier_; }
    void setPackageIdentifier(std::string identifier) {
        packageIdentifier_ = std::move(identifier);
    }
    // The package's maintainer, named in the header of a developer's reply.
    const std::optional<std::string>& maintainer() const { return maintainer_; }
    void setMaintainer(std::optional<std::string> maintainer) {
        maintainer_ = std::move(maintainer);
    }
    const std::vector<KSReviews>& reviews() const { return reviews_; }
    void backSwipe();

    // Outlet, set by the nib.
    std::shared_ptr<uikit::TableView> reviewsTableView;

    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    bool shouldHighlightRowAtIndexPath(uikit::TableView& tableView,
                                       const uikit::IndexPath& indexPath) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::shared_ptr<AllReviewsViewController> self();
    void fetchReviews();
    void reviewsArrived(std::uint64_t request, std::optional<std::vector<KSReviews>> reviews);
    // Fills the card and fits it to the review's text; the row height it needs.
    double fill(AllReviewsCell& cell, const KSReviews& review, double width);

    std::string packageIdentifier_;
    std::optional<std::string> maintainer_;
    std::vector<KSReviews> reviews_;
    std::uint64_t lastRequest_ = 0;
    // A card that is never shown, filled to measure rows.
    std::shared_ptr<AllReviewsCell> sizingCell_;
};

}  // namespace corvane
