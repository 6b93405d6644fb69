#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/ObservationToken.h"
#include "foundation/Value.h"
#include "framework/webservice/KSReviews.h"
#include "screens/packages/PackageDetailsOutlets.h"
#include "screens/packages/PackageScreenshots.h"
#include "ui/core/KSPalettedViewController.h"
#include "ui/core/LeaveReviewDelegate.h"
#include "uikit/BarButtonItem.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/Image.h"
#include "uikit/ScrollViewDelegate.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"
#include "uikit/TextViewDelegate.h"

namespace corvane {

class PackageCollections;
class PackageScreenshotBatches;

// The page of one stored package: header with icon, name, author, Get and share buttons and
// stars, then what's new, video, screenshots, description, reviews, information rows, the
// repository and the author's other packages. It copies the stored package and its source when
// it loads, fills its labels from the copies on every appearance, loads its images, depiction,
// ratings and reviews in the background, and lays its sections out again whenever something it
// knows changes. Background results land on the main thread, in a page that is still there and
// only for the appearance that asked for them. Main thread.
class PackageDetailsViewController : public KSPalettedViewController,
                                     public PackageDetailsOutlets,
                                     public uikit::TableViewDataSource,
                                     public uikit::TableViewDelegate,
                                     public uikit::TextViewDelegate,
                                     public LeaveReviewDelegate {
  public:
    static constexpr const char* kNibName = "PackageDetailsViewController";
    // The Get button is as wide as its title in bold 13-point type plus this.
    static constexpr double kGetButtonPadding = 34;
    static constexpr double kGetButtonAnimationDuration = 0.3;
    // Scrolled this far, the header has moved into the navigation bar.
    static constexpr double kHeaderTransitionOffset = 100;
    static constexpr double kRowHeight = 70;

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

    // The copies of the stored records.
    const foundation::Value::Dictionary& packageDictionary() const { return packageDictionary_; }
    const foundation::Value::Dictionary& sourceDictionary() const { return sourceDictionary_; }
    bool sourceFound() const { return sourceFound_; }
    void setPackageDictionaryFromPackageObject();
    void setSourceDictionaryFromSourceObject();
    // Keeps the copy in step with what the page itself stored.
    void setPackageField(const std::string& key, foundation::Value value);

    // What the page knows that decides its sections; the loads of the page set these.
    const std::vector<std::string>& devPackages() const { return devPackages_; }
    bool screenshotRetrievingFail = false;
    bool beforeAfterScreenshotsRetrievingFail = false;
    // The depiction load of this appearance has ended, whatever its outcome: until then the
    // screenshot section is kept for what it may bring, afterwards it shows only what came.
    // Every later pass of the same appearance keeps that decision.
    bool refreshForCydiaPackages = false;
    bool cydiaPackageHaveChangelog = false;
    bool bannerCached = false;
    int reach = 0;
    std::vector<std::string> nativeDepictionCompatibleCydiaSources;
    std::map<int, std::shared_ptr<uikit::Image>> screenshotsDictionary;
    std::map<std::string, std::shared_ptr<uikit::Image>> beforeAfterScreenshotsDictionary;
    // The author strip's image: the downloaded avatar, else the placeholder.
    std::shared_ptr<uikit::Image> authorAvatar;
    // The reviews shown, and the numbers of the requests for them made and answered.
    std::vector<KSReviews> packageReviews;
    std::uint64_t reviewsRequests = 0;
    std::uint64_t reviewsAnswered = 0;

    // Counts the appearances; results of an earlier one are dropped.
    std::uint64_t appearance() const { return appearance_; }
    const std::shared_ptr<PackageScreenshotBatches>& screenshotBatches() const {
        return screenshotBatches_;
    }

    // The store's answer about a paid package.
    void setPackageInfo(bool available, bool owned, std::optional<std::string> price);
    double buttonAlpha() const { return buttonAlpha_; }

    // The labels from the copies.
    void getPackageInformation();
    // Decides every section anew from what the page knows, then lays the page out.
    void setContent();
    // The banner, avatar, screenshots and average rating of this appearance; returns at once.
    void loadInformationFromBackground();
    // The end of a screenshot batch; an appearance's batch that leaves nothing stored asks the
    // depiction again.
    void applyScreenshots(const PackageScreenshots::Outcome& outcome, bool fallsBackToDepiction);
    // A downloaded avatar, or null for the placeholder, which never replaces a downloaded one.
    void setAuthorAvatar(std::shared_ptr<uikit::Image> avatar);
    // The see-through navigation bar over a banner; clamped to 0...1.
    void setNavigationBarAlpha(double alpha);
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
    const std::shared_ptr<uikit::Button>& getBarBtn() const { return getBarBtn_; }
    const std::shared_ptr<uikit::BarButtonItem>& getBarBtnItem() const { return getBarBtnItem_; }
    const std::shared_ptr<uikit::BarButtonItem>& wishlistBtn() const { return wishlistBtn_; }
    const std::shared_ptr<uikit::View>& customTitleView() const { return customTitleView_; }

    // The strips and the list size their items from the page's width.
    void viewWillTransitionToSize(uikit::Size size) override;

    // uikit::ScrollViewDelegate, for the page's own scroll view.
    void scrollViewDidScroll(uikit::ScrollView& scrollView) override;
    void scrollViewWillEndDragging(uikit::ScrollView& scrollView, uikit::Point velocity,
                                   uikit::Point& targetContentOffset) override;
    // uikit::TableViewDataSource, uikit::TableViewDelegate: the author's other packages.
    int numberOfRowsInSection(uikit::TableView& tableView, int section) override;
    std::shared_ptr<uikit::TableViewCell> cellForRowAtIndexPath(
        uikit::TableView& tableView, const uikit::IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(uikit::TableView& tableView,
                                                  const uikit::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(uikit::TableView& tableView,
                                 const uikit::IndexPath& indexPath) override;
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
    void observeNotifications();
    void buildBarButtons();
    void wireActions();
    void buildWishlistButton();
    void loadMoreByDeveloper();
    void loadReviewsArrangement();
    void applyDepictionGate();
    bool isHeaderMode() const;
    void layoutPage();

    std::string packageIdentifier_;
    bool isComingFromFeatured_ = false;
    bool isComingFromURLScheme_ = false;
    std::optional<std::string> selectedCategory_;
    foundation::Value::Dictionary packageDictionary_;
    foundation::Value::Dictionary sourceDictionary_;
    bool sourceFound_ = false;
    std::vector<std::string> devPackages_;

    bool packageInfoWasFetched_ = false;
    bool packageAvailable_ = true;
    bool packageOwned_ = false;
    std::optional<std::string> packagePrice_;
    double buttonAlpha_ = 1;

    std::shared_ptr<uikit::BarButtonItem> wishlistBtn_;
    std::shared_ptr<uikit::View> defaultTitleView_;
    std::shared_ptr<uikit::View> customTitleView_;
    std::shared_ptr<uikit::ImageView> titleViewImgView_;
    std::shared_ptr<uikit::Button> getBarBtn_;
    std::shared_ptr<uikit::BarButtonItem> getBarBtnItem_;
    std::vector<foundation::ObservationToken> observations_;
    std::uint64_t appearance_ = 0;
    std::shared_ptr<PackageScreenshotBatches> screenshotBatches_;
    std::shared_ptr<PackageCollections> collections_;
    bool authorAvatarDownloaded_ = false;
};

}  // namespace corvane
