#include "screens/packages/PackageActions.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/links/KSMailLink.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRPackage.h"
#include "framework/webservice/KSAccount.h"
#include "framework/webservice/KSPackagesWishlist.h"
#include "screens/packages/PackageDetailsViews.h"
#include "screens/packages/PackagePageModel.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/Application.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"

namespace corvane {

using foundation::format;
using foundation::localized;
using Screen = KSScreenFactory::Screen;

PackageActions::PackageActions(std::weak_ptr<uikit::ViewController> host,
                               PackageReviews::ShowAlert showAlert,
                               std::weak_ptr<LeaveReviewDelegate> reviewDelegate,
                               std::shared_ptr<PackagePageModel> model,
                               std::shared_ptr<PackageReviews> reviews)
    : host_(std::move(host)),
      showAlert_(std::move(showAlert)),
      reviewDelegate_(std::move(reviewDelegate)),
      model_(std::move(model)),
      reviews_(std::move(reviews)) {}

void PackageActions::wireButtons(PackageDetailsViews& views) {
    const std::pair<std::shared_ptr<uikit::Button>, void (PackageActions::*)()> buttons[] = {
        {views.reviews().seeAllReviewsBtn, &PackageActions::seeAllReviews},
        {views.reviews().contactDeveloperBtn, &PackageActions::contactDeveloper},
        {views.reviews().leaveReviewBtn, &PackageActions::leaveReview},
        {views.information().installedFilesBtn, &PackageActions::seeInstalledFiles},
        {views.information().developerWebsiteBtn, &PackageActions::developerWebsite},
        {views.information().donateBtn, &PackageActions::donate},
        {views.moreByDeveloper().seeAllDevPackagesBtn, &PackageActions::seeAllDevPackages}};
    for (const auto& [button, action] : buttons)
        button->addAction(
            [weak = weak_from_this(), action](uikit::Control&) {
                if (auto actions = weak.lock())
                    (*actions.*action)();
            },
            uikit::ControlEvent::touchUpInside);
}

KSScreenFactory::Request PackageActions::forPackage() const {
    KSScreenFactory::Request request;
    request.packageIdentifier = model_->text("identifier");
    return request;
}

void PackageActions::push(Screen screen, const KSScreenFactory::Request& request) {
    auto controller = KSScreenFactory::make(screen, request);
    auto host = host_.lock();
    auto navigation = host ? host->navigationController() : nullptr;
    if (controller && navigation)
        navigation->push(controller, true);
}

void PackageActions::showPanel(const std::string& title, const std::string& message) {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(title, message, 1, localized("OK"), std::nullopt, KSErrorSelector{});
    panel->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
    showAlert_(panel);
}

void PackageActions::seeAllReviews() {
    auto request = forPackage();
    request.maintainer = model_->optionalText("maintainer");
    push(Screen::allReviews, request);
}

void PackageActions::contactDeveloper() {
    const std::string contact = model_->text("contact");
    if (!contact.empty() && !KSMailLink::isPlainAddress(contact))
        KSLog("The contact of %@ is no plain mail address; the mail goes without a recipient",
              model_->packageIdentifier());
    const auto subject = KSMailLink::questionSubject(model_->text("name"));
    if (auto link = KSMailLink::make(contact, subject))
        uikit::Application::shared().openURL(*link);
}

void PackageActions::leaveReview() {
    if (!PackageSnapshot::field(model_->packageDictionary(), "isInstalled").boolValue()) {
        reviews_->showLeaveReviewWarning();
        return;
    }
    auto request = forPackage();
    request.leaveReviewDelegate = reviewDelegate_;
    auto form = KSScreenFactory::make(Screen::leaveReview, request);
    auto host = host_.lock();
    if (!form || !host)
        return;
    form->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
    host->present(form, true);
}

void PackageActions::seeInstalledFiles() {
    push(Screen::installedFiles, forPackage());
}

void PackageActions::openAuthorLink(const std::string& key, const std::string& title,
                                    const std::string& missingTitle,
                                    const std::string& missingMessage) {
    auto link = KSFetchableURL::fromString(model_->text(key));
    if (!link) {
        if (!model_->text(key).empty())
            KSLog("The %@ of %@ is no web address; it is not opened", key,
                  model_->packageIdentifier());
        showPanel(missingTitle, missingMessage);
        return;
    }
    auto request = forPackage();
    request.title = title;
    request.websiteURL = link;
    push(Screen::website, request);
}

void PackageActions::developerWebsite() {
    const std::string developer = model_->developerName();
    openAuthorLink("website", format(localized("%@'s website"), developer),
                   localized("No Website Link"),
                   format(localized("%@ hasn't provided a website link"), developer));
}

void PackageActions::donate() {
    const std::string developer = model_->developerName();
    openAuthorLink(
        "donateLink", format(localized("%@'s Donate Link"), developer), localized("No Donate Link"),
        model_->isInfoJson() ? format(localized("%@ hasn't provided a donate link."), developer)
                             : localized("This feature is not supported by this repository"));
}

void PackageActions::seeAllDevPackages() {
    KSScreenFactory::Request request;
    const std::string maintainer = model_->text("maintainer");
    request.title = format(localized("%@'s Packages"), maintainer);
    request.maintainer = maintainer;
    push(Screen::developerPackages, request);
}

void PackageActions::showScreenshots() {
    auto request = forPackage();
    request.screenshotsDictionary = model_->screenshotsDictionary();
    auto pager = KSScreenFactory::make(Screen::screenshots, request);
    auto host = host_.lock();
    if (!pager || !host)
        return;
    auto navigation = uikit::NavigationController::create(pager);
    if (uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad)
        navigation->setModalPresentationStyle(uikit::ModalPresentationStyle::formSheet);
    if (auto presenter = host->navigationController())
        presenter->present(navigation, true);
    else
        host->present(navigation, true);
}

void PackageActions::showAuthor() {
    KSScreenFactory::Request request;
    request.developerAvatar = model_->authorAvatar();
    request.developerName = model_->developerName();
    request.email = model_->optionalText("contact");
    request.packageName = model_->optionalText("name");
    request.twitter = KSFetchableURL::fromString(model_->text("twitter"));
    request.donateLink = KSFetchableURL::fromString(model_->text("donateLink"));
    push(Screen::contactDeveloper, request);
}

void PackageActions::showPackage(const std::string& identifier) {
    KSScreenFactory::Request request;
    request.packageIdentifier = identifier;
    push(Screen::packagePage, request);
}

std::optional<bool> PackageActions::changeWishlistState() {
    const bool wished =
        !PackageSnapshot::field(model_->packageDictionary(), "isInWishlist").boolValue();
    const std::string& identifier = model_->packageIdentifier();
    auto realm = KSDatabase::realm();
    if (!realm.objectForPrimaryKey<KSRPackage>(identifier))
        return std::nullopt;
    realm.write([&] {
        auto package = realm.objectForPrimaryKey<KSRPackage>(identifier);
        package->isInWishlist = wished;
        realm.addOrUpdateObject(*package);
    });
    model_->setPackageField("isInWishlist", foundation::Value(wished));
    if (KSAccount::instance()->returnUsername() != std::optional<std::string>(""))
        KSPackagesWishlist::sharedInstance()->syncWithTheKestruneAccount();
    return wished;
}

void PackageActions::openLink(const std::string& link, const std::string& pageName) {
    auto url = foundation::URL::withString(link);
    if (url && KSFetchableURL::isFetchable(*url)) {
        auto request = forPackage();
        request.title = format(localized("%@'s Link"), pageName);
        request.websiteURL = url;
        push(Screen::website, request);
        return;
    }
    if (auto mail = url ? KSMailLink::recipientOnly(*url) : std::nullopt) {
        uikit::Application::shared().openURL(*mail);
        return;
    }
    KSLog("Refused to open the link \"%@\" of %@: only web and plain mail links open", link,
          model_->packageIdentifier());
}

}  // namespace corvane
