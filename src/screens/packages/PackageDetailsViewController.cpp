#include "screens/packages/PackageDetailsViewController.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/NotificationCenter.h"
#include "framework/misc/KSKnownRepositories.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/repostore/KSRepoStoreAPI.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSPackagesWishlist.h"
#include "framework/webservice/KSStatistics.h"
#include "reachability/Reachability.h"
#include "screens/packages/PackageActions.h"
#include "screens/packages/PackageBackgroundLoad.h"
#include "screens/packages/PackageCollections.h"
#include "screens/packages/PackageContentLayout.h"
#include "screens/packages/PackageDepictions.h"
#include "screens/packages/PackageDetailsContentView.h"
#include "screens/packages/PackageDetailsNib.h"
#include "screens/packages/PackageInformation.h"
#include "screens/packages/PackageReviews.h"
#include "screens/packages/PackageScreenshotBatches.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/cells/GetPackageCell.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/core/KSScreenFactory.h"
#include "ui/extensions/GetButton.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"
#include "uikit/Animation.h"
#include "uikit/NavigationController.h"

namespace corvane {

namespace {

using foundation::Value;
constexpr auto field = &PackageSnapshot::field;
constexpr auto presentText = &PackageSnapshot::text;

std::optional<std::string> optionalText(const Value::Dictionary& dictionary,
                                        const std::string& key) {
    auto text = presentText(dictionary, key);
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

// The first title, before the package collection's rule has been asked.
std::string firstGetTitle(const Value::Dictionary& package) {
    if (field(package, "isUpdated").boolValue() && !field(package, "isHeld").boolValue())
        return foundation::localized("UPDATE");
    if (field(package, "isInstalled").boolValue())
        return foundation::localized("UNINSTALL");
    const std::string price = presentText(package, "price");
    if (price.empty() || price == "0" || price == "free" || price == "Free")
        return foundation::localized("GET");
    return price;
}

const uikit::LayerTransition kFadeText{uikit::LayerTransition::Type::fade, 0.1};

}  // namespace

PackageDetailsViewController::PackageDetailsViewController()
    : KSPalettedViewController(kNibName),
      screenshotBatches_(std::make_shared<PackageScreenshotBatches>()) {
    PackageDetailsNib::registerNib();
}

PackageDetailsViewController::~PackageDetailsViewController() = default;

std::weak_ptr<PackageDetailsViewController> PackageDetailsViewController::weakSelf() {
    return std::static_pointer_cast<PackageDetailsViewController>(shared_from_this());
}

void PackageDetailsViewController::setPackageDictionaryFromPackageObject() {
    packageDictionary_ = PackageSnapshot::packageDictionary(packageIdentifier_);
}

void PackageDetailsViewController::setSourceDictionaryFromSourceObject() {
    auto source =
        PackageSnapshot::sourceDictionary(presentText(packageDictionary_, "sourceLocation"));
    sourceFound_ = source.has_value();
    sourceDictionary_ = source.value_or(Value::Dictionary{});
}

void PackageDetailsViewController::setPackageField(const std::string& key, Value value) {
    packageDictionary_[key] = std::move(value);
}

void PackageDetailsViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    buttonAlpha_ = 1;
    setOverrideLargeTitles(true);
    setUseLegacyNavbarAppearance(false);
    auto self = std::static_pointer_cast<PackageDetailsViewController>(shared_from_this());
    descriptionLbl->setDelegate(self);
    changelogContentLbl->setDelegate(self);
    setPackageDictionaryFromPackageObject();
    setSourceDictionaryFromSourceObject();
    if (isComingFromFeatured_) {
        if (auto navigation = navigationController())
            navigation->setNavigationBarHidden(false, true);
    } else if (isComingFromURLScheme_) {
        navigationItem()->setLeftBarButtonItem(uikit::BarButtonItem::withTitle(
            foundation::localized("Close"), uikit::BarButtonItem::Style::plain,
            [weak = weakSelf()](uikit::BarButtonItem&) {
                if (auto page = weak.lock())
                    page->dismissVC();
            }));
    }
    navigationItem()->setTitle("");
    collections_ = std::make_shared<PackageCollections>(weakSelf());
    for (const auto& collection : {screenshotsCollectionView, beforeAfterCollectionView})
        collection->registerNib("ScreenshotsCell", "cell");
    authorCollectionView->registerNib("DeveloperCell", "cell");
    reviewsCollectionView->registerNib("ReviewsCell", "cell");
    for (const auto& collection : {screenshotsCollectionView, beforeAfterCollectionView,
                                   authorCollectionView, reviewsCollectionView}) {
        collection->setDataSource(collections_);
        collection->setDelegate(collections_);
    }
    otherDevPackagesTableView->registerNib(GetPackageCell::kNibName, "getPackageCell");
    otherDevPackagesTableView->setDataSource(self);
    otherDevPackagesTableView->setDelegate(self);
    scrollView->setDelegate(std::static_pointer_cast<uikit::TableViewDelegate>(self));
    observeNotifications();
    if (sourceFound_) {
        KSStatistics().postPackageStatisticForIdentifier(
            packageIdentifier_, optionalText(packageDictionary_, "maintainer"),
            optionalText(packageDictionary_, "sourceLocation"),
            optionalText(packageDictionary_, "version"), 0, 1);
    }
    buildBarButtons();
    wireActions();
    screenshotRetrievingFail = beforeAfterScreenshotsRetrievingFail = refreshForCydiaPackages =
        cydiaPackageHaveChangelog = bannerCached = false;
    const std::string location = presentText(packageDictionary_, "sourceLocation");
    if (!field(packageDictionary_, "isFree").boolValue() && !location.empty() &&
        KSRepoStoreAPI::userIsAuthenticatedForStoreLocation(location)) {
        KSRepoStoreAPI::sharedRepoStore().purchaseInfoForPackageWithIdentifier(
            packageIdentifier_,
            [weak = weakSelf()](bool failed, KSRepoStorePackageInfoResponse info) {
                if (failed)
                    return;
                foundation::runOnMain([weak, info] {
                    if (auto page = weak.lock())
                        page->setPackageInfo(info.available, info.purchased, info.price);
                });
            });
    }
}

void PackageDetailsViewController::observeNotifications() {
    auto& center = foundation::NotificationCenter::defaultCenter();
    observations_.push_back(center.addObserver(
        KSRPackageInfoRatingChangedNotification,
        [weak = weakSelf()](const foundation::Notification& notification) {
            auto identifier =
                notification.object.isString() ? notification.object.stringValue() : std::string();
            foundation::runOnMain([weak, identifier] {
                if (auto page = weak.lock())
                    page->ratingChangedNotification(identifier);
            });
        }));
    observations_.push_back(center.addObserver(
        KSRQueueStateNotificationName(presentText(packageDictionary_, "identifier")),
        [weak = weakSelf()](const foundation::Notification&) {
            foundation::runAsyncOnMain([weak] {
                if (auto page = weak.lock())
                    page->updateGetButtonTitle();
            });
        }));
}

void PackageDetailsViewController::buildBarButtons() {
    customTitleView_ = std::make_shared<uikit::View>(uikit::Rect{0, 0, 30, 30});
    titleViewImgView_ = std::make_shared<uikit::ImageView>(
        KSRPackageManager::sharedPackageManager().packages().iconForIdentifier(packageIdentifier_));
    titleViewImgView_->setContentMode(uikit::ContentMode::scaleAspectFit);
    titleViewImgView_->setFrame(customTitleView_->bounds());
    titleViewImgView_->layer().setCornerRadius(6.711);
    titleViewImgView_->setClipsToBounds(true);
    customTitleView_->addSubview(titleViewImgView_);

    getBarBtn_ = std::make_shared<uikit::Button>(uikit::ButtonType::custom);
    getBarBtn_->setFrame({0, 0, 100, 25});
    getBarBtn_->titleLabel()->setFont(uikit::Font::boldSystemFont(15));
    getBarBtn_->widthAnchor().constraintEqualToConstant(100)->setActive(true);
    getBarBtn_->heightAnchor().constraintEqualToConstant(25)->setActive(true);
    for (const auto& button : {getBarBtn_, getBtn}) {
        GetButton::addTarget(*button, [weak = weakSelf()](uikit::GestureRecognizer& recognizer) {
            if (auto page = weak.lock())
                page->presentOptionsFromGesture(recognizer);
        });
        button->addAction(
            [weak = weakSelf(), button = std::weak_ptr<uikit::Button>(button)](uikit::Control&) {
                auto page = weak.lock();
                if (page)
                    page->getPackage(button.lock());
            },
            uikit::ControlEvent::touchUpInside);
    }
    getBarBtn_->setTitle(firstGetTitle(packageDictionary_));
    if (palette())
        getBarBtn_->setBackgroundColor(palette()->tintColor());
    getBarBtn_->layer().setCornerRadius(12);
    getBarBtnItem_ = uikit::BarButtonItem::withCustomView(getBarBtn_);
    defaultTitleView_ = navigationItem()->titleView();
    shareBtn->addAction(
        [weak = weakSelf()](uikit::Control&) {
            if (auto page = weak.lock())
                page->sharePackage(page->shareBtn);
        },
        uikit::ControlEvent::touchUpInside);
}

void PackageDetailsViewController::wireActions() {
    const std::pair<std::shared_ptr<uikit::Button>, void (*)(PackageDetailsViewController&)>
        actions[] = {{seeAllReviewsBtn, PackageActions::seeAllReviews},
                     {contactDeveloperBtn, PackageActions::contactDeveloper},
                     {leaveReviewBtn, PackageActions::leaveReview},
                     {installedFilesBtn, PackageActions::seeInstalledFiles},
                     {developerWebsiteBtn, PackageActions::developerWebsite},
                     {donateBtn, PackageActions::donate},
                     {seeAllDevPackagesBtn, PackageActions::seeAllDevPackages}};
    for (const auto& [button, action] : actions)
        button->addAction(
            [weak = weakSelf(), action](uikit::Control&) {
                if (auto page = weak.lock())
                    action(*page);
            },
            uikit::ControlEvent::touchUpInside);
    int position = 0;
    for (const auto& star : {rating1, rating2, rating3, rating4, rating5})
        star->addAction(
            [weak = weakSelf(), position = ++position](uikit::Control&) {
                if (auto page = weak.lock())
                    PackageReviews::ratingPressed(*page, position);
            },
            uikit::ControlEvent::touchUpInside);
}

void PackageDetailsViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    ++appearance_;
    // What changed while the page was covered (queued, installed, removed) shows when it
    // returns.
    setPackageDictionaryFromPackageObject();
    setSourceDictionaryFromSourceObject();
    getPackageInformation();
    nativeDepictionCompatibleCydiaSources = {
        KSKnownRepositories::kBigBossLocation, KSKnownRepositories::kVostrelLocation,
        KSKnownRepositories::kModMyiLocation, KSKnownRepositories::kPellithLocation};
    refreshForCydiaPackages = false;
    reach = static_cast<int>(reachability::Reachability::reachabilityForInternetConnection()
                                 ->currentReachabilityStatus());
    loadInformationFromBackground();
    applyDepictionGate();
    // The author's other packages are known before the pass that sizes their list.
    loadMoreByDeveloper();
    updateGetButtonTitle();
    setContent();
    if (scrollView->contentOffset().y < kHeaderTransitionOffset)
        buildWishlistButton();
    const double y = scrollView->contentOffset().y;
    if (isHeaderMode() && y < 0)
        setNavigationBarAlpha(2 * (1 + y / 200));
    PackageReviews::fetchReviews(*this);
}

void PackageDetailsViewController::applyDepictionGate() {
    if (PackageContentLayout::depictionExpected(*this) &&
        foundation::isPresentText(field(packageDictionary_, "sileoDepiction"))) {
        setExtendedLayoutIncludesOpaqueBars(true);
        ScrollViewInteractiveHeader::setUseAlphaFade(scrollView, true);
    }
    PackageDepictions::read(*this);
}

void PackageDetailsViewController::loadInformationFromBackground() {
    PackageBackgroundLoad::start(*this);
}

void PackageDetailsViewController::applyScreenshots(const PackageScreenshots::Outcome& outcome,
                                                    bool fallsBackToDepiction) {
    // A batch that brought nothing leaves what the page showed before.
    if (!outcome.images.empty() || outcome.cleared) {
        screenshotsDictionary.clear();
        int number = 0;
        for (const auto& image : outcome.images)
            screenshotsDictionary[++number] = image;
    }
    if (outcome.stored) {
        packageDictionary_["screenshots"] =
            Value(Value::Array(outcome.addresses.begin(), outcome.addresses.end()));
        packageDictionary_["screenshotsLocalPaths"] =
            Value(Value::Array(outcome.localPaths.begin(), outcome.localPaths.end()));
    }
    refreshForCydiaPackages = true;
    screenshotRetrievingFail = screenshotsDictionary.empty();
    screenshotsCollectionView->reloadData();
    setContent();
    if (outcome.cleared && fallsBackToDepiction &&
        !field(sourceDictionary_, "isUsingInfoJson").boolValue())
        PackageDepictions::read(*this);
}

void PackageDetailsViewController::setAuthorAvatar(std::shared_ptr<uikit::Image> avatar) {
    if (avatar) {
        authorAvatar = std::move(avatar);
        authorAvatarDownloaded_ = true;
    } else if (!authorAvatarDownloaded_) {
        authorAvatar = uikit::Image::named("iTunesArtwork.png");
    }
    authorCollectionView->reloadData();
}

void PackageDetailsViewController::buildWishlistButton() {
    const bool wished = field(packageDictionary_, "isInWishlist").boolValue();
    wishlistBtn_ = uikit::BarButtonItem::withImage(uikit::Image::named(wished ? "Fav" : "Not Fav"),
                                                   uikit::BarButtonItem::Style::plain,
                                                   [weak = weakSelf()](uikit::BarButtonItem&) {
                                                       if (auto page = weak.lock())
                                                           page->changeWishlistState();
                                                   });
    navigationItem()->setRightBarButtonItem(wishlistBtn_);
}

void PackageDetailsViewController::loadMoreByDeveloper() {
    devPackages_.clear();
    const bool showIncompatible =
        CorvanePersistentPreferences::sharedInstance().boolForKey("ShowIncompatiblePackages");
    auto packages = KSRPackageManager::sharedPackageManager()
                        .packages()
                        .packagesOfMaintainer(optionalText(packageDictionary_, "maintainer"))
                        .sortedResultsUsingKeyPath("name", true);
    for (const auto& package : packages) {
        if (package.identifier == packageIdentifier_ ||
            (!showIncompatible && package.tweakCompatibleStatus == 1))
            continue;
        devPackages_.push_back(package.identifier);
    }
    otherDevPackagesTableView->reloadData();
}

void PackageDetailsViewController::viewWillDisappear(bool animated) {
    KSPalettedViewController::viewWillDisappear(animated);
    auto navigation = navigationController();
    if (!navigation)
        return;
    if (palette())
        navigation->navigationBar()->setTintColor(palette()->tintColor());
    // Whatever the header did to the bar, the screens that follow get it whole.
    navigation->navigationBar()->setAlpha(1);
    if (isMovingFromParentViewController() && isComingFromFeatured_)
        navigation->setNavigationBarHidden(true, true);
}

void PackageDetailsViewController::viewWillTransitionToSize(uikit::Size size) {
    KSPalettedViewController::viewWillTransitionToSize(size);
    for (const auto& collection :
         {screenshotsCollectionView, beforeAfterCollectionView, authorCollectionView})
        collection->reloadData();
    otherDevPackagesTableView->reloadData();
}

void PackageDetailsViewController::getPackageInformation() {
    PackageInformation::apply(*this);
    layoutPage();
}

void PackageDetailsViewController::setContent() {
    PackageContentLayout::apply(*this);
    PackageContentLayout::applyReviews(*this, !packageReviews.empty());
    layoutPage();
}

void PackageDetailsViewController::layoutPage() {
    if (auto content = std::dynamic_pointer_cast<PackageDetailsContentView>(contentView))
        content->placeSections();
}

void PackageDetailsViewController::setPackageInfo(bool available, bool owned,
                                                  std::optional<std::string> price) {
    packagePrice_ = std::move(price);
    packageOwned_ = owned;
    packageAvailable_ = available;
    packageInfoWasFetched_ = true;
    buttonAlpha_ = available ? 1.0 : 0.5;
    updateGetButtonTitle();
}

void PackageDetailsViewController::updateGetButtonTitle() {
    foundation::runOnMain([weak = weakSelf()] {
        auto page = weak.lock();
        if (!page || !page->isViewLoaded())
            return;
        const bool fetched = page->packageInfoWasFetched_;
        const std::string title =
            KSRPackageManager::sharedPackageManager().packages().getButtonTitleForPackageIdentifier(
                page->packageIdentifier_, true, fetched ? page->packageAvailable_ : true,
                fetched && page->packageOwned_, fetched ? page->packagePrice_ : std::nullopt);
        // Only a package that can be neither got nor changed is refused: an installed or queued
        // one the store calls unavailable can still be removed or updated.
        const bool refused = title == foundation::localized("UNAVAILABLE");
        const double width = uikit::Font::boldSystemFont(13).sizeOfText(title).width;
        for (const auto& button : {page->getBtn, page->getBarBtn_}) {
            button->setTitle(title);
            button->setEnabled(!refused);
        }
        page->layoutPage();
        uikit::Animation::animate(kGetButtonAnimationDuration, [&] {
            const double alpha = refused ? page->buttonAlpha_ : 1.0;
            page->getBtn->setAlpha(alpha);
            page->getBarBtn_->setAlpha(alpha);
            page->getBtnWidthConstraint->setConstant(width + kGetButtonPadding);
            page->layoutPage();
        });
    });
}

bool PackageDetailsViewController::isHeaderMode() const {
    return foundation::isPresentText(field(packageDictionary_, "banner")) ||
           foundation::isPresentText(field(packageDictionary_, "sileoDepiction"));
}

void PackageDetailsViewController::setNavigationBarAlpha(double alpha) {
    if (auto navigation = navigationController())
        navigation->navigationBar()->setAlpha(std::clamp(alpha, 0.0, 1.0));
}

void PackageDetailsViewController::paletteDidChange(const KSPalette& palette) {
    if (!isViewLoaded() || !nameLbl)
        return;
    view()->setBackgroundColor(palette.backgroundColor());
    secondBackgroundView->setBackgroundColor(palette.backgroundColor());
    backgroundView->setBackgroundColor(palette.foregroundColor());
    for (const auto& label :
         {nameLbl, changelogTitle, videoPreviewTitle, screenshotsTitle, beforeAfterTitle,
          descriptionTitle, reviewsTitle, informationsTitle, developerNameLbl, packageSizeLbl,
          packageCompatibilityLbl, packageDependenciesLbl, packageConflictsLbl,
          packagePostInstallActionLbl, packageDateLbl, packageIsBetaLbl, repositoryTitle,
          repositoryNameLbl, moreDevPackagesTitle})
        label->setTextColor(palette.primaryTextColor());
    for (const auto& text : {changelogContentLbl, descriptionLbl})
        text->setTextColor(palette.primaryTextColor());
    for (const auto& button : {leaveReviewBtn, contactDeveloperBtn}) {
        button->setTitleColor(isDarkMode() ? palette.primaryTextColor()
                                           : palette.getButtonTextColor());
        button->setBackgroundColor(isDarkMode() ? palette.highlightColor()
                                                : palette.getButtonBackgoundColor());
    }
    for (const auto& button : {getBtn, shareBtn})
        button->setBackgroundColor(palette.tintColor());
    otherDevPackagesTableView->reloadData();
}

void PackageDetailsViewController::scrollViewDidScroll(uikit::ScrollView& view) {
    if (&view != scrollView.get() || !isHeaderMode())
        return;
    const double y = view.contentOffset().y;
    if (y > 0)
        transitionTopContent(y >= kHeaderTransitionOffset);
    // Above the content too, so a scroll that jumps past 0 never leaves the bar see-through.
    setNavigationBarAlpha(2 * (1 + y / 200));
}

void PackageDetailsViewController::scrollViewWillEndDragging(uikit::ScrollView& view, uikit::Point,
                                                             uikit::Point& targetContentOffset) {
    if (&view != scrollView.get())
        return;
    if (auto navigation = navigationController())
        navigation->navigationBar()->layer().addTransition(kFadeText, "fadeText");
    transitionTopContent(targetContentOffset.y >= kHeaderTransitionOffset);
}

void PackageDetailsViewController::transitionTopContent(bool show) {
    // A refused Get button stays dimmed wherever it shows.
    const double getAlpha = getBtn->isEnabled() ? 1.0 : buttonAlpha_;
    const double headerAlpha = show ? 0 : 1;
    if (getBtn->alpha() == headerAlpha * getAlpha && authorLbl->alpha() == headerAlpha)
        return;
    getBarBtn_->setAlpha(headerAlpha * getAlpha);
    customTitleView_->setAlpha(headerAlpha);
    uikit::Animation::animate(0.5, [&] {
        for (const auto& view : std::initializer_list<std::shared_ptr<uikit::View>>{
                 authorLbl, nameLbl, iconView, shareBtn})
            view->setAlpha(headerAlpha);
        getBtn->setAlpha(headerAlpha * getAlpha);
        getBarBtn_->setAlpha((show ? 1 : 0) * getAlpha);
        customTitleView_->setAlpha(show ? 1 : 0);
        navigationItem()->setTitleView(show ? customTitleView_ : defaultTitleView_);
        navigationItem()->setRightBarButtonItem(show ? getBarBtnItem_ : wishlistBtn_);
    });
}

void PackageDetailsViewController::getPackage(const std::shared_ptr<uikit::View>& sender) {
    if (auto button = std::dynamic_pointer_cast<uikit::Button>(sender))
        GetButton::animateButton(*button);
    if (auto services = KSApplicationServices::shared())
        services->queuePackageWithIdentifier(packageIdentifier_, std::nullopt, sender);
}

void PackageDetailsViewController::presentOptionsFromGesture(
    const uikit::GestureRecognizer& recognizer) {
    if (recognizer.state() == uikit::GestureRecognizer::State::began && recognizer.view())
        presentOptions(recognizer.view()->shared_from_this());
}

void PackageDetailsViewController::presentOptions(const std::shared_ptr<uikit::View>& sender) {
    if (auto services = KSApplicationServices::shared())
        services->presentOptions(packageIdentifier_, sender);
}

void PackageDetailsViewController::sharePackage(const std::shared_ptr<uikit::View>& sender) {
    if (auto services = KSApplicationServices::shared())
        services->sharePackage(packageIdentifier_, sender);
}

void PackageDetailsViewController::changeWishlistState() {
    const bool wished = !field(packageDictionary_, "isInWishlist").boolValue();
    auto realm = KSDatabase::realm();
    if (!realm.objectForPrimaryKey<KSRPackage>(packageIdentifier_))
        return;
    realm.write([&] {
        auto package = realm.objectForPrimaryKey<KSRPackage>(packageIdentifier_);
        package->isInWishlist = wished;
        realm.addOrUpdateObject(*package);
    });
    packageDictionary_["isInWishlist"] = Value(wished);
    if (wishlistBtn_)
        wishlistBtn_->setImage(uikit::Image::named(wished ? "Fav" : "Not Fav"));
    if (KSAccount::instance()->returnUsername() != std::optional<std::string>(""))
        KSPackagesWishlist::sharedInstance()->syncWithTheKestruneAccount();
}

void PackageDetailsViewController::dismissVC() {
    dismiss(true);
}

void PackageDetailsViewController::showAlert(
    const std::shared_ptr<uikit::ViewController>& controller) {
    present(controller, true);
}

void PackageDetailsViewController::contactDeveloper() {
    PackageActions::contactDeveloper(*this);
}

void PackageDetailsViewController::ratingChangedNotification(const std::string& identifier) {
    if (identifier == packageIdentifier_)
        PackageReviews::fetchAverageRating(*this);
}

void PackageDetailsViewController::updateRatingInfo() {
    PackageReviews::updateRatingInfo(*this);
}

void PackageDetailsViewController::showReviewWarningWithTitle(const std::string& title,
                                                              const std::string& text, int rate) {
    PackageReviews::showReviewWarning(*this, title, text, rate);
}

int PackageDetailsViewController::numberOfRowsInSection(uikit::TableView&, int) {
    return static_cast<int>(std::min<std::size_t>(devPackages_.size(), 2));
}

std::shared_ptr<uikit::TableViewCell> PackageDetailsViewController::cellForRowAtIndexPath(
    uikit::TableView& tableView, const uikit::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCell("getPackageCell", indexPath);
    auto row = std::dynamic_pointer_cast<GetPackageCell>(cell);
    const auto identifier = devPackages_.at(static_cast<std::size_t>(indexPath.row));
    auto package = KSDatabase::realm().objectForPrimaryKey<KSRPackage>(identifier);
    if (!row || !package)
        return cell;
    row->setBackgroundColor(uikit::Color::clear());
    row->setPackageIdentifier(identifier);
    row->updateWithPackage(*package);
    row->updateButtonTitleWithPackage(package, false);
    if (palette()) {
        row->nameLbl->setTextColor(package->isFree() ? palette()->primaryTextColor()
                                                     : palette()->paidTextColor());
        row->getBtn->setBackgroundColor(isDarkMode() ? palette()->getButtonBackgoundColor()
                                                     : palette()->tintColor());
        row->getBtn->setTitleColor(isDarkMode() ? palette()->getButtonTextColor()
                                                : uikit::Color::white());
    }
    row->updatePackageIcon();
    row->separator->setHidden(indexPath.row + 1 == numberOfRowsInSection(tableView, 0));
    return cell;
}

std::optional<double> PackageDetailsViewController::heightForRowAtIndexPath(
    uikit::TableView&, const uikit::IndexPath&) {
    return kRowHeight;
}

void PackageDetailsViewController::didSelectRowAtIndexPath(uikit::TableView& tableView,
                                                           const uikit::IndexPath& indexPath) {
    tableView.deselectRow(indexPath, true);
    KSScreenFactory::Request request;
    request.packageIdentifier = devPackages_.at(static_cast<std::size_t>(indexPath.row));
    auto page = KSScreenFactory::make(KSScreenFactory::Screen::packagePage, request);
    auto navigation = navigationController();
    if (page && navigation)
        navigation->push(page, true);
}

bool PackageDetailsViewController::textViewShouldInteractWithURL(uikit::TextView&,
                                                                 const std::string& url,
                                                                 uikit::TextRange,
                                                                 uikit::TextItemInteraction) {
    PackageActions::openLink(*this, url);
    return false;
}

}  // namespace corvane
