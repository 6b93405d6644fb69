#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/ObservationToken.h"
#include "foundation/Value.h"
#include "screens/packages/PackageDetailsOutlets.h"
#include "ui/core/KSPalettedViewController.h"
#include "uikit/BarButtonItem.h"
#include "uikit/GestureRecognizer.h"
#include "uikit/Image.h"
#include "uikit/ScrollViewDelegate.h"
#include "uikit/TableViewDataSource.h"
#include "uikit/TableViewDelegate.h"
#include "uikit/TextViewDelegate.h"

namespace corvane {

// The page of one stored package: header with icon, name, author, Get and share buttons and
// stars, then what's new, video, screenshots, description, reviews, information rows, the
// repository and the author's other packages. It copies the stored package and its source when
// it loads, fills its labels from the copies on every appearance, and lays its sections out
// again whenever something it knows changes. Main thread.
class PackageDetailsViewController : public KSPalettedViewController,
                                     public PackageDetailsOutlets,
                                     public uikit::TableViewDataSource,
                                     public uikit::TableViewDelegate,
                                     public uikit::TextViewDelegate {
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

    // The store's answer about a paid package.
    void setPackageInfo(bool available, bool owned, std::optional<std::string> price);
    double buttonAlpha() const { return buttonAlpha_; }

    // The labels from the copies.
    void getPackageInformation();
    // Decides every section anew from what the page knows, then lays the page out.
    void setContent();
    // Re-titles and re-sizes both Get buttons from the package's state now, on the main thread.
    void updateGetButtonTitle();

    // Actions.
    void getPackage(const std::shared_ptr<uikit::View>& sender);
    void presentOptions(const std::shared_ptr<uikit::View>& sender);
    void presentOptionsFromGesture(const uikit::GestureRecognizer& recognizer);
    void sharePackage(const std::shared_ptr<uikit::View>& sender);
    void changeWishlistState();
    void dismissVC();

    // The compact title and Get button of the navigation bar, shown once the header scrolls
    // away.
    void transitionTopContent(bool show);
    const std::shared_ptr<uikit::Button>& getBarBtn() const { return getBarBtn_; }
    const std::shared_ptr<uikit::BarButtonItem>& getBarBtnItem() const { return getBarBtnItem_; }
    const std::shared_ptr<uikit::BarButtonItem>& wishlistBtn() const { return wishlistBtn_; }
    const std::shared_ptr<uikit::View>& customTitleView() const { return customTitleView_; }

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
    void buildWishlistButton();
    void loadMoreByDeveloper();
    void loadReviewsArrangement();
    void applyDepictionGate();
    bool isHeaderMode() const;
    void setNavigationBarAlpha(double alpha);
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
};

}  // namespace corvane
