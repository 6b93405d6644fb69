#pragma once

#include <functional>
#include <memory>
#include <string>

#include "uikit/ViewController.h"

namespace corvane {

class PackagePageModel;

// The ratings and reviews of the package page with the maker's service: the user's own rating
// (stored with the package and in the model's copy of it, so it stays when the page appears
// again), the community's average, the reviews, and the panels of the review form's outcomes.
// Service replies land in the model on the main thread, while the page is there.
class PackageReviews : public std::enable_shared_from_this<PackageReviews> {
  public:
    // Shows a panel or an alert over the page.
    using ShowAlert = std::function<void(const std::shared_ptr<uikit::ViewController>&)>;

    PackageReviews(std::shared_ptr<PackagePageModel> model, ShowAlert showAlert);

    // Stores the user's own rating and sends it.
    void sendRating(int rating);
    // The review form stores the rating itself, over the page, so no appearance follows: the
    // model's copy learns it from the store.
    void readStoredRating();
    // Only a person who has the package installed rates or reviews it.
    void showLeaveReviewWarning();

    // The average rating (a failure clears it), then what follows.
    void fetchAverageRating(std::function<void()> then = {});
    // The reviews kept on the page; a failed request leaves the ones it had.
    void fetchReviews();
    // The average, then the reviews.
    void fetchRatingAndReviews();
    // The form found a bug report in a review: offer mail to the developer first. Once a
    // review is posted, the page hears of it before the answer shows.
    void showReviewWarning(const std::string& title, const std::string& text, int rate,
                           std::function<void()> sendEmail, std::function<void()> posted);
    // What the person reads after a review was posted.
    static std::string postedReviewMessage(const std::string& answer);

  private:
    void storeRating(int rating);
    void postReview(const std::string& title, const std::string& text, int rate,
                    std::function<void()> posted);

    std::shared_ptr<PackagePageModel> model_;
    ShowAlert showAlert_;
};

}  // namespace corvane
