#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/ObservationToken.h"
#include "screens/packages/PackageCompactTitle.h"
#include "screens/packages/PackageDetailsViews.h"
#include "screens/packages/PackagePageModel.h"
#include "ui/core/KSPalettedViewController.h"
#include "ui/core/LeaveReviewDelegate.h"
#include "uikit/BarButtonItem.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/TextViewDelegate.h"

namespace corvane {

class PackageActions;
class PackageBackgroundLoad;
class PackageDepictions;
class PackageReviews;
class PackageScreenshots;

// The page of one stored package: header with icon, name, author, Get and share buttons and
// stars, then what's new, video, screenshots, description, reviews, information rows, the
// repository and the author's other packages. Its model copies the stored package and its
// source on every appearance and takes what the page's loads bring (images, depiction, ratings
// and reviews); the page shows each change in the section it belongs to and lays its sections
// out again whenever something they show changes. Background results land on the main thread,
// in a page that is still there and only for the appearance that asked for them. Main thread.
class PackageDetailsViewController : public KSPalettedViewController,
                                     public PackageDetailsViews,
                                     public uikit::TextViewDelegate,
                                     public LeaveReviewDelegate {
  public:
    static constexpr const char* kNibName = "PackageDetailsViewController";
    // The Get button is as wide as its title in bold 13-point type plus this.
    static constexpr double kGetButtonPadding = 34;
    static constexpr double kGetButtonAnimationDuration = 0.3;
    // Scrolled this far, the header has moved into the navigation bar.
    static constexpr double kHeaderTransitionOffset = 100;

    PackageDetailsViewController();
    ~PackageDetailsViewController() override;

    // The one input; set before the view loads.
    const std::string& packageIdentifier() const { return packageIdentifier_; }
    void setPackageIdentifier(std::string identifier) {
        packageIdentifier_ = std::move(identifier);
    }
    bool isComingFromFeatured() const { return isComingFromFeatured_; }
    void setIsComingFromFeatured(bool on) { isComingFromFeatured_ = on; }
    bool isComingFromURLScheme() const { return isComingFromURLScheme_; }
    void setIsComingFromURLScheme(bool on) { isComingFromURLScheme_ = on; }
    const std::optional<std::string>& selectedCategory() const { return selectedCategory_; }
    void setSelectedCategory(std::optional<std::string> category) {
        selectedCategory_ = std::move(category);
    }

    // What the page knows; made when the view loads.
    PackagePageModel& model() { return *model_; }
    void setPackageDictionaryFromPackageObject();
    void setSourceDictionaryFromSourceObject();

    // The labels from the copies.
    void getPackageInformation();
    // Decides every section anew from what the page knows, then lays the page out.
    void setContent();
    // The banner, avatar, screenshots and average rating of this appearance; returns at once.
    void loadInformationFromBackground();
    // Re-titles and re-sizes both Get buttons from the package's state now, on the main thread.
    void updateGetButtonTitle();

    // Actions.
    void getPackage(const std::shared_ptr<uikit::View>& sender);
    void presentOptions(const std::shared_ptr<uikit::View>& sender);
    void presentOptionsFromGesture(const uikit::GestureRecognizer& recognizer);
    void sharePackage(const std::shared_ptr<uikit::View>& sender);
    void changeWishlistState();
    void dismissVC();
    // The page's alerts and panels come over it, animated.
    void showAlert(const std::shared_ptr<uikit::ViewController>& controller);
    void contactDeveloper();
    void ratingChangedNotification(const std::string& identifier);

    // LeaveReviewDelegate.
    void updateRatingInfo() override;
    void showReviewWarningWithTitle(const std::string& title, const std::string& text,
                                    int rate) override;

    // The compact title and Get button of the navigation bar, shown once the header scrolls
    // away.
    void transitionTopContent(bool show);
    const std::shared_ptr<uikit::Button>& getBarBtn() const { return compactTitle_.getBarBtn(); }
    const std::shared_ptr<uikit::BarButtonItem>& getBarBtnItem() const {
        return compactTitle_.getBarBtnItem();
    }
    const std::shared_ptr<uikit::BarButtonItem>& wishlistBtn() const { return wishlistBtn_; }
    const std::shared_ptr<uikit::View>& customTitleView() const {
        return compactTitle_.customTitleView();
    }

    // The strips and the list size their items from the page's width.
    void viewWillTransitionToSize(uikit::Size size) override;

    // uikit::ScrollViewDelegate, for the page's own scroll view.
    void scrollViewDidScroll(uikit::ScrollView& scrollView) override;
    void scrollViewWillEndDragging(uikit::ScrollView& scrollView, uikit::Point velocity,
                                   uikit::Point& targetContentOffset) override;
    // uikit::TextViewDelegate: links of the description open inside the program.
    bool textViewShouldInteractWithURL(uikit::TextView& textView, const std::string& url,
                                       uikit::TextRange range,
                                       uikit::TextItemInteraction interaction) override;

  protected:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void paletteDidChange(const KSPalette& palette) override;

  private:
    std::weak_ptr<PackageDetailsViewController> weakSelf();
    void makeCollaborators();
    void observeNotifications();
    void buildBarButtons();
    void wireActions();
    void buildWishlistButton();
    void loadMoreByDeveloper();
    void applyDepictionGate();
    void applyGetButtonTitle();
    // A star pressed: only a person who has the package installed rates it.
    void ratingPressed(int position);
    void setRating(int rating);
    // The see-through navigation bar over a banner; clamped to 0...1.
    void setNavigationBarAlpha(double alpha);
    void modelDidChange(PackagePageModel::Change change);

    std::string packageIdentifier_;
    bool isComingFromFeatured_ = false;
    bool isComingFromURLScheme_ = false;
    std::optional<std::string> selectedCategory_;

    std::shared_ptr<PackagePageModel> model_;
    std::shared_ptr<PackageScreenshots> screenshotLoader_;
    std::shared_ptr<PackageDepictions> depictions_;
    std::shared_ptr<PackageReviews> ratings_;
    std::shared_ptr<PackageActions> actions_;
    std::shared_ptr<PackageBackgroundLoad> backgroundLoad_;
    PackageCompactTitle compactTitle_;
    std::shared_ptr<uikit::BarButtonItem> wishlistBtn_;
    std::vector<foundation::ObservationToken> observations_;
};

}  // namespace corvane
