#include "screens/packages/PackageReviews.h"

#include <array>
#include <memory>

#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/Strings.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSPackageRatings.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/AlertController.h"

namespace corvane {

namespace {

using foundation::localized;
using Page = PackageDetailsViewController;
constexpr auto text = &PackageSnapshot::text;

std::weak_ptr<Page> weakPage(Page& page) {
    return std::static_pointer_cast<Page>(page.shared_from_this());
}

// Runs on the main thread while the page is there.
void onMain(const std::weak_ptr<Page>& weak, std::function<void(Page&)> work) {
    foundation::runOnMain([weak, work = std::move(work)] {
        if (auto page = weak.lock())
            work(*page);
    });
}

std::shared_ptr<ErrorViewController> panel(const std::string& title, const std::string& message) {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(title, message, 1, localized("OK"), std::nullopt, KSErrorSelector{});
    panel->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
    return panel;
}

void showRatingLabel(Page& page, int rating) {
    page.ratingLbl->setText(
        foundation::format(localized("%@ out of 5 rating"), std::to_string(rating)));
}

uikit::AttributedString votes(const KSReviews& review) {
    uikit::AttributedString votes;
    uikit::TextAttributes up;
    up.foregroundColor = uikit::Color(1, 0, 0, 1);
    votes.append(foundation::format("+%@ ", std::to_string(review.upvotes)), up);
    uikit::TextAttributes down;
    down.foregroundColor = uikit::Color(0.46, 0.53, 1, 1);
    votes.append(foundation::format("-%@", std::to_string(review.downvotes)), down);
    return votes;
}

uikit::AttributedString repliedComment(const KSReviews& review, const std::string& maintainer) {
    uikit::AttributedString comment;
    uikit::TextAttributes header;
    header.font = uikit::Font::italicSystemFont(15);
    comment.append(foundation::format(localized("Developer \"%@\" replied\n\n"), maintainer),
                   header);
    uikit::TextAttributes body;
    body.font = uikit::Font::systemFont(15);
    comment.append(review.desc, body);
    return comment;
}

}  // namespace

void PackageReviews::showStars(Page& page, int rating) {
    const std::array stars{page.rating1, page.rating2, page.rating3, page.rating4, page.rating5};
    for (std::size_t index = 0; index < stars.size(); ++index)
        stars[index]->setImage(
            uikit::Image::named(static_cast<int>(index) < rating ? "starSelected" : "star"));
}

void PackageReviews::ratingPressed(Page& page, int position) {
    if (!PackageSnapshot::field(page.packageDictionary(), "isInstalled").boolValue()) {
        showLeaveReviewWarning(page);
        return;
    }
    setRating(page, position >= 1 && position <= 5 ? position : 1);
}

void PackageReviews::setRating(Page& page, int rating) {
    showStars(page, rating);
    storeRating(page, rating);
    showRatingLabel(page, rating);
    auto ratings = std::make_shared<KSPackageRatings>(KSAccount::instance()->returnUsername());
    ratings->postRatingReview(text(page.packageDictionary(), "identifier"), "", "", rating,
                              [ratings](const std::string&) {});
}

// Stored before anything is sent, and at once, so that the page's next reading of the store
// (every appearance) already finds it; the page's copy follows too.
void PackageReviews::storeRating(Page& page, int rating) {
    auto realm = KSDatabase::realm();
    realm.write([&] {
        if (auto package = realm.objectForPrimaryKey<KSRPackage>(page.packageIdentifier())) {
            package->myRating = rating;
            realm.addOrUpdateObject(*package);
        }
    });
    page.setPackageField("myRating", foundation::Value(rating));
}

void PackageReviews::showLeaveReviewWarning(Page& page) {
    page.showAlert(panel(
        localized("Leave a Review"),
        foundation::format(localized("You need to install %@ before being able to leave a review"),
                           text(page.packageDictionary(), "name"))));
}

void PackageReviews::fetchAverageRating(Page& page, std::function<void(Page&)> then) {
    auto ratings = std::make_shared<KSPackageRatings>();
    ratings->getAverageRate(
        text(page.packageDictionary(), "identifier"),
        [weak = weakPage(page), ratings, then](std::optional<std::string> rating) {
            onMain(weak, [rating, then](Page& page) {
                page.packageRatingLbl->setText(rating);
                if (then)
                    then(page);
            });
        });
}

void PackageReviews::fetchReviews(Page& page) {
    const std::uint64_t request = ++page.reviewsRequests;
    auto ratings = std::make_shared<KSPackageRatings>();
    ratings->getReviews(text(page.packageDictionary(), "identifier"),
                        [weak = weakPage(page), ratings, request](const foundation::Value&) {
                            onMain(weak,
                                   [reviews = ratings->packageReviews(), request](Page& page) {
                                       // A failed request keeps what was shown, and one that
                                       // answers after a newer one is out of date.
                                       if (request <= page.reviewsAnswered)
                                           return;
                                       page.reviewsAnswered = request;
                                       if (reviews)
                                           page.packageReviews = *reviews;
                                       page.setContent();
                                   });
                        });
}

// The review form stores the rating itself, over the page, so no appearance follows: the
// page's copy learns it from the store.
void PackageReviews::updateRatingInfo(Page& page) {
    if (const auto stored =
            KSDatabase::realm().objectForPrimaryKey<KSRPackage>(page.packageIdentifier()))
        page.setPackageField("myRating", foundation::Value(stored->myRating));
    const int rating = static_cast<int>(
        PackageSnapshot::field(page.packageDictionary(), "myRating").integerValue());
    showStars(page, rating);
    showRatingLabel(page, rating);
    fetchAverageRating(page, fetchReviews);
}

void PackageReviews::showReviewWarning(Page& page, const std::string& title,
                                       const std::string& text, int rate) {
    auto alert = uikit::AlertController::create(
        localized("Package Support"),
        localized("It seems you are having an issue with this package. Would you like to send an "
                  "email to the developer asking for support first ? Reviews should not be used "
                  "to report issues."),
        uikit::AlertController::Style::alert);
    alert->addAction(uikit::AlertAction::create(localized("Send email"),
                                                uikit::AlertAction::Style::defaultStyle,
                                                [weak = weakPage(page)](uikit::AlertAction&) {
                                                    if (auto page = weak.lock())
                                                        page->contactDeveloper();
                                                }));
    alert->addAction(uikit::AlertAction::create(
        localized("Leave review"), uikit::AlertAction::Style::defaultStyle,
        [weak = weakPage(page), title, text, rate](uikit::AlertAction&) {
            if (auto page = weak.lock())
                postReview(*page, title, text, rate);
        }));
    page.showAlert(alert);
}

void PackageReviews::postReview(Page& page, const std::string& title, const std::string& text,
                                int rate) {
    storeRating(page, rate);
    auto ratings = std::make_shared<KSPackageRatings>(KSAccount::instance()->returnUsername());
    ratings->postRatingReview(
        PackageSnapshot::text(page.packageDictionary(), "identifier"), text, title, rate,
        [weak = weakPage(page), ratings,
         name = PackageSnapshot::text(page.packageDictionary(), "name")](std::string answer) {
            onMain(weak, [answer, name](Page& page) {
                updateRatingInfo(page);
                auto posted = panel(foundation::format(localized("%@ Review"), name),
                                    postedReviewMessage(answer));
                if (auto services = KSApplicationServices::shared())
                    services->presentViewController(posted, nullptr);
                else
                    page.showAlert(posted);
            });
        });
}

std::string PackageReviews::postedReviewMessage(const std::string& answer) {
    if (answer == "Success")
        return localized("Review has been successfully posted");
    if (answer == "Successfully updated")
        return localized("Review has been successfully updated");
    if (answer == "Failed")
        return localized("There was an error while posting the review");
    return answer;
}

void PackageReviews::fillCell(ReviewsCell& cell, const KSReviews& review,
                              const std::string& maintainer,
                              const std::optional<KSPalette>& palette) {
    cell.titleLbl->setText(foundation::capitalized(review.title));
    cell.nameLbl->setText(review.name);
    cell.voteLbl->setAttributedText(votes(review));
    if (review.reply)
        cell.commentLbl->setAttributedText(repliedComment(review, maintainer));
    else
        cell.commentLbl->setText(review.desc);
    if (palette) {
        cell.setBackgroundColor(palette->foregroundColor());
        cell.nameLbl->setTextColor(palette->primaryTextColor());
        cell.commentLbl->setTextColor(palette->primaryTextColor());
    }
    cell.layer().setCornerRadius(kCellCornerRadius);
    const std::array stars{cell.rating1, cell.rating2, cell.rating3, cell.rating4, cell.rating5};
    for (std::size_t index = 0; index < stars.size(); ++index)
        stars[index]->setImage(uikit::Image::named(
            static_cast<int>(index) < review.rating ? "starOtherUsers" : "star"));
}

}  // namespace corvane
