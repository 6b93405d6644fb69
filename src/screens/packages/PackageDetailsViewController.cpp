#include "screens/packages/PackageDetailsViewController.h"

#include <algorithm>

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRNotifications.h"
#include "reachability/Reachability.h"
#include "screens/packages/PackageActions.h"
#include "screens/packages/PackageBackgroundLoad.h"
#include "screens/packages/PackageDepictions.h"
#include "screens/packages/PackageDetailsNib.h"
#include "screens/packages/PackageReviews.h"
#include "screens/packages/PackageScreenshots.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/core/KSApplicationServices.h"
#include "ui/extensions/GetButton.h"
#include "ui/extensions/ScrollViewInteractiveHeader.h"
#include "uikit/Animation.h"
#include "uikit/NavigationController.h"

namespace corvane {

namespace {

using foundation::Value;
using Change = PackagePageModel::Change;

const uikit::LayerTransition kFadeText{uikit::LayerTransition::Type::fade, 0.1};

}  // namespace

PackageDetailsViewController::PackageDetailsViewController() : KSPalettedViewController(kNibName) {
    PackageDetailsNib::registerNib();
}

PackageDetailsViewController::~PackageDetailsViewController() = default;

std::weak_ptr<PackageDetailsViewController> PackageDetailsViewController::weakSelf() {
    return std::static_pointer_cast<PackageDetailsViewController>(shared_from_this());
}

void PackageDetailsViewController::setPackageDictionaryFromPackageObject() {
    model_->setPackageDictionaryFromPackageObject();
}

void PackageDetailsViewController::setSourceDictionaryFromSourceObject() {
    model_->setSourceDictionaryFromSourceObject();
}

void PackageDetailsViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setOverrideLargeTitles(true);
    setUseLegacyNavbarAppearance(false);
    auto self = std::static_pointer_cast<PackageDetailsViewController>(shared_from_this());
    description().descriptionLbl->setDelegate(self);
    changelog().changelogContentLbl->setDelegate(self);
    makeCollaborators();
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
    connect(model_, self, actions_);
    scrollView->setDelegate(std::static_pointer_cast<uikit::TextViewDelegate>(self));
    observeNotifications();
    buildBarButtons();
    wireActions();
    backgroundLoad_->loadOnce();
}

void PackageDetailsViewController::makeCollaborators() {
    auto self = std::static_pointer_cast<PackageDetailsViewController>(shared_from_this());
    model_ = std::make_shared<PackagePageModel>(packageIdentifier_);
    model_->setListener([weak = weakSelf()](Change change) {
        if (auto page = weak.lock())
            page->modelDidChange(change);
    });
    screenshotLoader_ = std::make_shared<PackageScreenshots>(model_);
    depictions_ = std::make_shared<PackageDepictions>(model_, screenshotLoader_);
    const PackageReviews::ShowAlert showAlert =
        [weak = weakSelf()](const std::shared_ptr<uikit::ViewController>& alert) {
            if (auto page = weak.lock())
                page->showAlert(alert);
        };
    ratings_ = std::make_shared<PackageReviews>(model_, showAlert);
    actions_ = std::make_shared<PackageActions>(self, showAlert, self, model_, ratings_);
    backgroundLoad_ = std::make_shared<PackageBackgroundLoad>(model_, screenshotLoader_, ratings_);
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
    observations_.push_back(
        center.addObserver(KSRQueueStateNotificationName(model_->text("identifier")),
                           [weak = weakSelf()](const foundation::Notification&) {
                               foundation::runAsyncOnMain([weak] {
                                   if (auto page = weak.lock())
                                       page->updateGetButtonTitle();
                               });
                           }));
}

void PackageDetailsViewController::buildBarButtons() {
    compactTitle_.build(packageIdentifier_, model_->packageDictionary(), palette(),
                        navigationItem()->titleView());
    for (const auto& button : {getBarBtn(), header().getBtn}) {
        GetButton::addTarget(*button, [weak = weakSelf()](uikit::GestureRecognizer& recognizer) {
            if (auto page = weak.lock())
                page->presentOptionsFromGesture(recognizer);
        });
        button->addAction(
            [weak = weakSelf(), button = std::weak_ptr<uikit::Button>(button)](uikit::Control&) {
                if (auto page = weak.lock())
                    page->getPackage(button.lock());
            },
            uikit::ControlEvent::touchUpInside);
    }
    header().shareBtn->addAction(
        [weak = weakSelf()](uikit::Control&) {
            if (auto page = weak.lock())
                page->sharePackage(page->header().shareBtn);
        },
        uikit::ControlEvent::touchUpInside);
}

void PackageDetailsViewController::wireActions() {
    actions_->wireButtons(*this);
    int position = 0;
    for (const auto& star : header().stars())
        star->addAction(
            [weak = weakSelf(), position = ++position](uikit::Control&) {
                if (auto page = weak.lock())
                    page->ratingPressed(position);
            },
            uikit::ControlEvent::touchUpInside);
}

void PackageDetailsViewController::viewWillAppear(bool animated) {
    KSPalettedViewController::viewWillAppear(animated);
    model_->beginAppearance(
        static_cast<int>(reachability::Reachability::reachabilityForInternetConnection()
                             ->currentReachabilityStatus()));
    // What changed while the page was covered (queued, installed, removed) shows when it
    // returns.
    setPackageDictionaryFromPackageObject();
    setSourceDictionaryFromSourceObject();
    getPackageInformation();
    loadInformationFromBackground();
    applyDepictionGate();
    // The author's other packages are known before the pass that sizes their list.
    loadMoreByDeveloper();
    updateGetButtonTitle();
    setContent();
    if (scrollView->contentOffset().y < kHeaderTransitionOffset)
        buildWishlistButton();
    const double y = scrollView->contentOffset().y;
    if (model_->isHeaderMode() && y < 0)
        setNavigationBarAlpha(2 * (1 + y / 200));
    ratings_->fetchReviews();
}

void PackageDetailsViewController::applyDepictionGate() {
    if (model_->depictionExpected() && !model_->text("sileoDepiction").empty()) {
        setExtendedLayoutIncludesOpaqueBars(true);
        ScrollViewInteractiveHeader::setUseAlphaFade(scrollView, true);
    }
    depictions_->read();
}

void PackageDetailsViewController::loadInformationFromBackground() {
    backgroundLoad_->start();
}

void PackageDetailsViewController::modelDidChange(Change change) {
    showChange(change, *model_, isDarkMode());
    switch (change) {
        case Change::banner:
            if (model_->banner())
                setNavigationBarAlpha(0);
            break;
        case Change::purchase:
        case Change::nativeDepictionRead:
            updateGetButtonTitle();
            break;
        case Change::screenshotsGone:
            depictions_->read();
            break;
        case Change::storedLabels:
            getPackageInformation();
            setContent();
            break;
        case Change::screenshots:
        case Change::depictionEnded:
        case Change::changelog:
        case Change::reviews:
            setContent();
            break;
        default:
            break;
    }
}

void PackageDetailsViewController::buildWishlistButton() {
    const bool wished =
        PackageSnapshot::field(model_->packageDictionary(), "isInWishlist").boolValue();
    wishlistBtn_ = uikit::BarButtonItem::withImage(uikit::Image::named(wished ? "Fav" : "Not Fav"),
                                                   uikit::BarButtonItem::Style::plain,
                                                   [weak = weakSelf()](uikit::BarButtonItem&) {
                                                       if (auto page = weak.lock())
                                                           page->changeWishlistState();
                                                   });
    navigationItem()->setRightBarButtonItem(wishlistBtn_);
}

void PackageDetailsViewController::loadMoreByDeveloper() {
    model_->loadDevPackages();
    moreByDeveloper().otherDevPackagesTableView->reloadData();
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
    reloadStrips();
}

void PackageDetailsViewController::getPackageInformation() {
    showStoredIdentity(*model_);
    updateGetButtonTitle();
    showStoredDetails(*model_, isDarkMode());
    placeSections();
}

void PackageDetailsViewController::setContent() {
    layout(*model_);
    placeSections();
}

void PackageDetailsViewController::updateGetButtonTitle() {
    foundation::runOnMain([weak = weakSelf()] {
        auto page = weak.lock();
        if (page && page->isViewLoaded())
            page->applyGetButtonTitle();
    });
}

void PackageDetailsViewController::applyGetButtonTitle() {
    const std::string title = model_->getButtonTitle();
    // Only a package that can be neither got nor changed is refused: an installed or queued one
    // the store calls unavailable can still be removed or updated.
    const bool refused = title == foundation::localized("UNAVAILABLE");
    const double width = uikit::Font::boldSystemFont(13).sizeOfText(title).width;
    header().setGetTitle(title, !refused);
    compactTitle_.setGetTitle(title, !refused);
    placeSections();
    uikit::Animation::animate(kGetButtonAnimationDuration, [&] {
        const double alpha = refused ? model_->buttonAlpha() : 1.0;
        header().setGetAlphaAndWidth(alpha, width + kGetButtonPadding);
        compactTitle_.setGetAlpha(alpha);
        placeSections();
    });
}

void PackageDetailsViewController::setNavigationBarAlpha(double alpha) {
    if (auto navigation = navigationController())
        navigation->navigationBar()->setAlpha(std::clamp(alpha, 0.0, 1.0));
}

void PackageDetailsViewController::paletteDidChange(const KSPalette& palette) {
    if (!isViewLoaded() || !header().nameLbl)
        return;
    view()->setBackgroundColor(palette.backgroundColor());
    PackageDetailsViews::paletteDidChange(palette, isDarkMode());
}

void PackageDetailsViewController::scrollViewDidScroll(uikit::ScrollView& view) {
    if (&view != scrollView.get() || !model_->isHeaderMode())
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
    const double getAlpha = header().getBtn->isEnabled() ? 1.0 : model_->buttonAlpha();
    const double headerAlpha = show ? 0 : 1;
    if (header().showsAlpha(headerAlpha, getAlpha))
        return;
    compactTitle_.setGetAlpha(headerAlpha * getAlpha);
    compactTitle_.setTitleAlpha(headerAlpha);
    uikit::Animation::animate(0.5, [&] {
        header().setContentAlpha(headerAlpha, getAlpha);
        compactTitle_.setGetAlpha((show ? 1 : 0) * getAlpha);
        compactTitle_.setTitleAlpha(show ? 1 : 0);
        navigationItem()->setTitleView(show ? customTitleView() : compactTitle_.defaultTitleView());
        navigationItem()->setRightBarButtonItem(show ? getBarBtnItem() : wishlistBtn_);
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
    auto wished = actions_->changeWishlistState();
    if (wished && wishlistBtn_)
        wishlistBtn_->setImage(uikit::Image::named(*wished ? "Fav" : "Not Fav"));
}

void PackageDetailsViewController::dismissVC() {
    dismiss(true);
}

void PackageDetailsViewController::showAlert(
    const std::shared_ptr<uikit::ViewController>& controller) {
    present(controller, true);
}

void PackageDetailsViewController::contactDeveloper() {
    actions_->contactDeveloper();
}

void PackageDetailsViewController::ratingPressed(int position) {
    if (!PackageSnapshot::field(model_->packageDictionary(), "isInstalled").boolValue()) {
        ratings_->showLeaveReviewWarning();
        return;
    }
    setRating(position >= 1 && position <= 5 ? position : 1);
}

void PackageDetailsViewController::setRating(int rating) {
    header().showOwnRating(rating);
    ratings_->sendRating(rating);
}

void PackageDetailsViewController::ratingChangedNotification(const std::string& identifier) {
    if (identifier == packageIdentifier_)
        ratings_->fetchAverageRating();
}

void PackageDetailsViewController::updateRatingInfo() {
    ratings_->readStoredRating();
    header().showOwnRating(model_->myRating());
    ratings_->fetchRatingAndReviews();
}

void PackageDetailsViewController::showReviewWarningWithTitle(const std::string& title,
                                                              const std::string& text, int rate) {
    ratings_->showReviewWarning(
        title, text, rate,
        [weak = weakSelf()] {
            if (auto page = weak.lock())
                page->contactDeveloper();
        },
        [weak = weakSelf()] {
            if (auto page = weak.lock())
                page->updateRatingInfo();
        });
}

bool PackageDetailsViewController::textViewShouldInteractWithURL(uikit::TextView&,
                                                                 const std::string& url,
                                                                 uikit::TextRange,
                                                                 uikit::TextItemInteraction) {
    actions_->openLink(url, header().nameLbl->text().value_or(""));
    return false;
}

}  // namespace corvane
