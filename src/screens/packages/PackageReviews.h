#pragma once

#include <functional>
#include <optional>
#include <string>

#include "framework/webservice/KSReviews.h"
#include "ui/cells/ReviewsCell.h"
#include "ui/palette/KSPalette.h"

namespace corvane {

class PackageDetailsViewController;

// The ratings and reviews of the package page: the user's own stars (stored with the package
// and in the page's copy of it, so they stay when the page appears again), the community's
// average, the first review, and the review form's outcomes. Service replies land on the main
// thread, in a page that is still there.
class PackageReviews {
  public:
    static constexpr double kCellCornerRadius = 13;

    // The five stars filled up to the rating; 0 empties them.
    static void showStars(PackageDetailsViewController& page, int rating);
    // A star pressed: only a person who has the package installed rates it.
    static void ratingPressed(PackageDetailsViewController& page, int position);
    static void setRating(PackageDetailsViewController& page, int rating);
    static void showLeaveReviewWarning(PackageDetailsViewController& page);

    // The average rating into its label (a failure clears it), then what follows.
    static void fetchAverageRating(PackageDetailsViewController& page,
                                   std::function<void(PackageDetailsViewController&)> then = {});
    // The reviews kept on the page; a failed request leaves the ones it had.
    static void fetchReviews(PackageDetailsViewController& page);
    // The stars as stored now, then the average and the reviews.
    static void updateRatingInfo(PackageDetailsViewController& page);
    // The form found a bug report in a review: offer mail to the developer first.
    static void showReviewWarning(PackageDetailsViewController& page, const std::string& title,
                                  const std::string& text, int rate);
    // What the person reads after a review was posted.
    static std::string postedReviewMessage(const std::string& answer);

    static void fillCell(ReviewsCell& cell, const KSReviews& review, const std::string& maintainer,
                         const std::optional<KSPalette>& palette);

  private:
    static void storeRating(PackageDetailsViewController& page, int rating);
    static void postReview(PackageDetailsViewController& page, const std::string& title,
                           const std::string& text, int rate);
};

}  // namespace corvane
