#pragma once

#include <array>
#include <memory>
#include <string>

#include "ui/core/KSPalettedViewController.h"
#include "ui/core/LeaveReviewDelegate.h"
#include "uikit/Button.h"
#include "uikit/Label.h"
#include "uikit/TextField.h"
#include "uikit/TextView.h"

namespace corvane {

// The review form, presented over the package page: stars, a title and a text. A review that
// reads like a request for support (its title or text mentions a bug, a crash, something that
// fails or an issue) is not posted: the form closes and leaves it to its delegate to offer the
// developer's mail instead. Any other review stores the user's rating, goes to the ratings
// service, and the delegate hears that the rating changed. The form closes once the service
// took the review; otherwise it says why and keeps what the user wrote.
class LeaveReviewViewController : public KSPalettedViewController {
  public:
    static constexpr const char* kNibName = "LeaveReviewViewController";
    static constexpr std::array<const char*, 4> kSupportWords = {"Bug", "Crash", "Fails", "Issue"};

    LeaveReviewViewController();

    const std::string& packageIdentifier() const { return packageIdentifier_; }
    void setPackageIdentifier(std::string identifier) {
        packageIdentifier_ = std::move(identifier);
    }
    void setDelegate(std::weak_ptr<LeaveReviewDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    // 1 to 5; 0 until a star is picked, when the package has no stored rating.
    int rate() const { return rate_; }
    void setRate(int rate);

    void submitReview();
    void cancel();
    static bool readsLikeSupportRequest(const std::string& title, const std::string& text);

    // Outlets, set by the nib.
    std::shared_ptr<uikit::View> cardView;
    std::shared_ptr<uikit::Label> headingLbl;
    std::array<std::shared_ptr<uikit::Button>, 5> ratingButtons;
    std::shared_ptr<uikit::TextField> titleTextField;
    std::shared_ptr<uikit::TextView> reviewTextView;
    std::shared_ptr<uikit::Button> cancelBtn;
    std::shared_ptr<uikit::Button> submitBtn;

  protected:
    void viewDidLoad() override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::weak_ptr<LeaveReviewViewController> weakSelf();
    void connectButtons();
    void storeRating() const;
    void post(const std::string& title, const std::string& text);
    void reviewAnswered(const std::string& answer);

    std::string packageIdentifier_;
    std::weak_ptr<LeaveReviewDelegate> delegate_;
    int rate_ = 0;
};

}  // namespace corvane
