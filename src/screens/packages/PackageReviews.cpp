#include "screens/packages/PackageReviews.h"

#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSPackageRatings.h"
#include "screens/packages/PackagePageModel.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/AlertController.h"

namespace corvane {

namespace {

using foundation::localized;

// Runs on the main thread while the page's model is there.
void onMain(const std::weak_ptr<PackagePageModel>& weak,
            std::function<void(PackagePageModel&)> work) {
    foundation::runOnMain([weak, work = std::move(work)] {
        if (auto model = weak.lock())
            work(*model);
    });
}

std::shared_ptr<ErrorViewController> panel(const std::string& title, const std::string& message) {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(title, message, 1, localized("OK"), std::nullopt, KSErrorSelector{});
    panel->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
    return panel;
}

}  // namespace

PackageReviews::PackageReviews(std::shared_ptr<PackagePageModel> model, ShowAlert showAlert)
    : model_(std::move(model)), showAlert_(std::move(showAlert)) {}

void PackageReviews::sendRating(int rating) {
    storeRating(rating);
    auto ratings = std::make_shared<KSPackageRatings>(KSAccount::instance()->returnUsername());
    ratings->postRatingReview(model_->text("identifier"), "", "", rating,
                              [ratings](const std::string&) {});
}

// Stored before anything is sent, and at once, so that the page's next reading of the store
// (every appearance) already finds it; the model's copy follows too.
void PackageReviews::storeRating(int rating) {
    auto realm = KSDatabase::realm();
    realm.write([&] {
        if (auto package = realm.objectForPrimaryKey<KSRPackage>(model_->packageIdentifier())) {
            package->myRating = rating;
            realm.addOrUpdateObject(*package);
        }
    });
    model_->setPackageField("myRating", foundation::Value(rating));
}

void PackageReviews::readStoredRating() {
    if (const auto stored =
            KSDatabase::realm().objectForPrimaryKey<KSRPackage>(model_->packageIdentifier()))
        model_->setPackageField("myRating", foundation::Value(stored->myRating));
}

void PackageReviews::showLeaveReviewWarning() {
    showAlert_(panel(
        localized("Leave a Review"),
        foundation::format(localized("You need to install %@ before being able to leave a review"),
                           model_->text("name"))));
}

void PackageReviews::fetchAverageRating(std::function<void()> then) {
    auto ratings = std::make_shared<KSPackageRatings>();
    ratings->getAverageRate(model_->text("identifier"),
                            [weak = std::weak_ptr<PackagePageModel>(model_), ratings,
                             then](std::optional<std::string> rating) {
                                onMain(weak, [rating, then](PackagePageModel& model) {
                                    model.setAverageRating(rating);
                                    if (then)
                                        then();
                                });
                            });
}

void PackageReviews::fetchReviews() {
    const std::uint64_t request = model_->beginReviewsRequest();
    auto ratings = std::make_shared<KSPackageRatings>();
    ratings->getReviews(model_->text("identifier"), [weak = std::weak_ptr<PackagePageModel>(model_),
                                                     ratings, request](const foundation::Value&) {
        onMain(weak, [reviews = ratings->packageReviews(), request](PackagePageModel& model) {
            model.answerReviews(request, reviews);
        });
    });
}

void PackageReviews::fetchRatingAndReviews() {
    fetchAverageRating([weak = weak_from_this()] {
        if (auto self = weak.lock())
            self->fetchReviews();
    });
}

void PackageReviews::showReviewWarning(const std::string& title, const std::string& text, int rate,
                                       std::function<void()> sendEmail,
                                       std::function<void()> posted) {
    auto alert = uikit::AlertController::create(
        localized("Package Support"),
        localized("It seems you are having an issue with this package. Would you like to send an "
                  "email to the developer asking for support first ? Reviews should not be used "
                  "to report issues."),
        uikit::AlertController::Style::alert);
    alert->addAction(uikit::AlertAction::create(
        localized("Send email"), uikit::AlertAction::Style::defaultStyle,
        [sendEmail = std::move(sendEmail)](uikit::AlertAction&) { sendEmail(); }));
    alert->addAction(uikit::AlertAction::create(
        localized("Leave review"), uikit::AlertAction::Style::defaultStyle,
        [weak = weak_from_this(), title, text, rate, posted](uikit::AlertAction&) {
            if (auto self = weak.lock())
                self->postReview(title, text, rate, posted);
        }));
    showAlert_(alert);
}

void PackageReviews::postReview(const std::string& title, const std::string& text, int rate,
                                std::function<void()> posted) {
    storeRating(rate);
    auto ratings = std::make_shared<KSPackageRatings>(KSAccount::instance()->returnUsername());
    ratings->postRatingReview(
        model_->text("identifier"), text, title, rate,
        [weak = std::weak_ptr<PackagePageModel>(model_), showAlert = showAlert_, ratings,
         name = model_->text("name"), posted](std::string answer) {
            onMain(weak, [answer, name, showAlert, posted](PackagePageModel&) {
                posted();
                auto shown = panel(foundation::format(localized("%@ Review"), name),
                                   postedReviewMessage(answer));
                if (auto services = KSApplicationServices::shared())
                    services->presentViewController(shown, nullptr);
                else
                    showAlert(shown);
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

}  // namespace corvane
