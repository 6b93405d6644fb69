#include "screens/reviews/LeaveReviewViewController.h"

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Strings.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSPackageRatings.h"
#include "screens/reviews/KSReviewAnswer.h"
#include "screens/reviews/LeaveReviewNib.h"
#include "uikit/AlertController.h"
#include "uikit/Image.h"

namespace corvane {

LeaveReviewViewController::LeaveReviewViewController() : KSPalettedViewController(kNibName) {
    LeaveReviewNib::registerNib();
    setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
}

std::weak_ptr<LeaveReviewViewController> LeaveReviewViewController::weakSelf() {
    return std::static_pointer_cast<LeaveReviewViewController>(shared_from_this());
}

bool LeaveReviewViewController::readsLikeSupportRequest(const std::string& title,
                                                        const std::string& text) {
    for (const char* word : kSupportWords)
        if (foundation::containsIgnoringCase(title, word) ||
            foundation::containsIgnoringCase(text, word))
            return true;
    return false;
}

void LeaveReviewViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    const auto stored = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(packageIdentifier_);
    setRate(stored ? stored->myRating : 0);
    connectButtons();
}

void LeaveReviewViewController::connectButtons() {
    const auto weak = weakSelf();
    for (std::size_t index = 0; index < ratingButtons.size(); ++index)
        ratingButtons[index]->addAction(
            [weak, rate = static_cast<int>(index) + 1](uikit::Control&) {
                if (auto self = weak.lock())
                    self->setRate(rate);
            },
            uikit::ControlEvent::touchUpInside);
    cancelBtn->addAction(
        [weak](uikit::Control&) {
            if (auto self = weak.lock())
                self->cancel();
        },
        uikit::ControlEvent::touchUpInside);
    submitBtn->addAction(
        [weak](uikit::Control&) {
            if (auto self = weak.lock())
                self->submitReview();
        },
        uikit::ControlEvent::touchUpInside);
}

void LeaveReviewViewController::paletteDidChange(const KSPalette& palette) {
    if (!cardView)
        return;
    cardView->setBackgroundColor(palette.foregroundColor());
    cardView->setTintColor(palette.tintColor());
    headingLbl->setTextColor(palette.primaryTextColor());
    titleTextField->setTextColor(palette.primaryTextColor());
    reviewTextView->setTextColor(palette.primaryTextColor());
    reviewTextView->setBackgroundColor(uikit::Color::clear());
}

void LeaveReviewViewController::setRate(int rate) {
    rate_ = rate >= 1 && rate <= 5 ? rate : 0;
    for (std::size_t index = 0; index < ratingButtons.size(); ++index)
        ratingButtons[index]->setImage(
            uikit::Image::named(static_cast<int>(index) < rate_ ? "starSelected" : "star"));
    submitBtn->setEnabled(rate_ != 0);
}

void LeaveReviewViewController::cancel() {
    dismiss(true);
}

void LeaveReviewViewController::submitReview() {
    if (rate_ == 0)
        return;
    const std::string title = titleTextField->text();
    const std::string text = reviewTextView->text();
    if (!readsLikeSupportRequest(title, text)) {
        post(title, text);
        return;
    }
    dismiss(true, [delegate = delegate_, title, text, rate = rate_] {
        if (auto opener = delegate.lock())
            opener->showReviewWarningWithTitle(title, text, rate);
    });
}

void LeaveReviewViewController::storeRating() const {
    auto realm = KSDatabase::realm();
    realm.write([&] {
        auto package = realm.objectForPrimaryKey<KSRPackage>(packageIdentifier_);
        if (!package)
            return;
        package->myRating = rate_;
        realm.addOrUpdateObject(*package);
    });
}

void LeaveReviewViewController::post(const std::string& title, const std::string& text) {
    submitBtn->setEnabled(false);
    storeRating();
    auto ratings = std::make_shared<KSPackageRatings>(KSAccount::instance()->returnUsername());
    ratings->postRatingReview(packageIdentifier_, text, title, rate_,
                              [weak = weakSelf(), delegate = delegate_](const std::string& answer) {
                                  foundation::runOnMain([weak, delegate, answer] {
                                      if (auto opener = delegate.lock())
                                          opener->updateRatingInfo();
                                      if (auto self = weak.lock())
                                          self->reviewAnswered(answer);
                                  });
                              });
}

void LeaveReviewViewController::reviewAnswered(const std::string& answer) {
    if (KSReviewAnswer::isPosted(answer)) {
        dismiss(true);
        return;
    }
    submitBtn->setEnabled(true);
    auto alert = uikit::AlertController::create(foundation::localized("Leave a Review"),
                                                KSReviewAnswer::message(answer),
                                                uikit::AlertController::Style::alert);
    alert->addAction(uikit::AlertAction::create(foundation::localized("OK"),
                                                uikit::AlertAction::Style::cancel, {}));
    present(alert, true);
}

}  // namespace corvane
