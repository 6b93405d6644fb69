#include "screens/packages/PackageActions.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/misc/KSMailLink.h"
#include "framework/network/KSFetchableURL.h"
#include "screens/packages/PackageDetailsViewController.h"
#include "screens/packages/PackageInformation.h"
#include "screens/packages/PackageReviews.h"
#include "screens/packages/PackageSnapshot.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/Application.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"

namespace corvane {

namespace {

using foundation::format;
using foundation::localized;
using Page = PackageDetailsViewController;
using Screen = KSScreenFactory::Screen;
constexpr auto text = &PackageSnapshot::text;

std::optional<std::string> presentText(const Page& page, const std::string& key) {
    std::string value = text(page.packageDictionary(), key);
    return value.empty() ? std::nullopt : std::optional<std::string>(std::move(value));
}

std::string developerName(const Page& page) {
    return PackageInformation::developerName(page.packageDictionary(), page.sourceDictionary());
}

KSScreenFactory::Request forPackage(const Page& page) {
    KSScreenFactory::Request request;
    request.packageIdentifier = text(page.packageDictionary(), "identifier");
    return request;
}

}  // namespace

void PackageActions::push(Page& page, Screen screen, const KSScreenFactory::Request& request) {
    auto controller = KSScreenFactory::make(screen, request);
    auto navigation = page.navigationController();
    if (controller && navigation)
        navigation->push(controller, true);
}

void PackageActions::showPanel(Page& page, const std::string& title, const std::string& message) {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(title, message, 1, localized("OK"), std::nullopt, KSErrorSelector{});
    panel->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
    page.present(panel, true);
}

void PackageActions::seeAllReviews(Page& page) {
    auto request = forPackage(page);
    request.maintainer = presentText(page, "maintainer");
    push(page, Screen::allReviews, request);
}

void PackageActions::contactDeveloper(Page& page) {
    const std::string contact = text(page.packageDictionary(), "contact");
    if (!contact.empty() && !KSMailLink::isPlainAddress(contact))
        KSLog("The contact of %@ is no plain mail address; the mail goes without a recipient",
              page.packageIdentifier());
    const auto subject = KSMailLink::questionSubject(text(page.packageDictionary(), "name"));
    if (auto link = KSMailLink::make(contact, subject))
        uikit::Application::shared().openURL(*link);
}

void PackageActions::leaveReview(Page& page) {
    if (!PackageSnapshot::field(page.packageDictionary(), "isInstalled").boolValue()) {
        PackageReviews::showLeaveReviewWarning(page);
        return;
    }
    auto request = forPackage(page);
    request.leaveReviewDelegate = std::static_pointer_cast<LeaveReviewDelegate>(
        std::static_pointer_cast<Page>(page.shared_from_this()));
    auto form = KSScreenFactory::make(Screen::leaveReview, request);
    if (!form)
        return;
    form->setModalPresentationStyle(uikit::ModalPresentationStyle::overFullScreen);
    page.present(form, true);
}

void PackageActions::seeInstalledFiles(Page& page) {
    push(page, Screen::installedFiles, forPackage(page));
}

void PackageActions::openAuthorLink(Page& page, const std::string& key, const std::string& title,
                                    const std::string& missingTitle,
                                    const std::string& missingMessage) {
    auto link = KSFetchableURL::fromString(text(page.packageDictionary(), key));
    if (!link) {
        if (!text(page.packageDictionary(), key).empty())
            KSLog("The %@ of %@ is no web address; it is not opened", key,
                  page.packageIdentifier());
        showPanel(page, missingTitle, missingMessage);
        return;
    }
    auto request = forPackage(page);
    request.title = title;
    request.websiteURL = link;
    push(page, Screen::website, request);
}

void PackageActions::developerWebsite(Page& page) {
    const std::string developer = developerName(page);
    openAuthorLink(page, "website", format(localized("%@'s website"), developer),
                   localized("No Website Link"),
                   format(localized("%@ hasn't provided a website link"), developer));
}

void PackageActions::donate(Page& page) {
    const std::string developer = developerName(page);
    const bool infoJson =
        PackageSnapshot::field(page.sourceDictionary(), "isUsingInfoJson").boolValue();
    openAuthorLink(page, "donateLink", format(localized("%@'s Donate Link"), developer),
                   localized("No Donate Link"),
                   infoJson ? format(localized("%@ hasn't provided a donate link."), developer)
                            : localized("This feature is not supported by this repository"));
}

void PackageActions::seeAllDevPackages(Page& page) {
    KSScreenFactory::Request request;
    const std::string maintainer = text(page.packageDictionary(), "maintainer");
    request.title = format(localized("%@'s Packages"), maintainer);
    request.maintainer = maintainer;
    push(page, Screen::developerPackages, request);
}

void PackageActions::showScreenshots(Page& page) {
    auto request = forPackage(page);
    request.screenshotsDictionary = page.screenshotsDictionary;
    auto pager = KSScreenFactory::make(Screen::screenshots, request);
    if (!pager)
        return;
    auto navigation = uikit::NavigationController::create(pager);
    if (uikit::Device::current().userInterfaceIdiom() == uikit::UserInterfaceIdiom::pad)
        navigation->setModalPresentationStyle(uikit::ModalPresentationStyle::formSheet);
    if (auto presenter = page.navigationController())
        presenter->present(navigation, true);
    else
        page.present(navigation, true);
}

void PackageActions::showAuthor(Page& page) {
    KSScreenFactory::Request request;
    request.developerAvatar = page.authorAvatar;
    request.developerName = developerName(page);
    request.email = presentText(page, "contact");
    request.packageName = presentText(page, "name");
    request.twitter = KSFetchableURL::fromString(text(page.packageDictionary(), "twitter"));
    request.donateLink = KSFetchableURL::fromString(text(page.packageDictionary(), "donateLink"));
    push(page, Screen::contactDeveloper, request);
}

void PackageActions::openLink(Page& page, const std::string& link) {
    auto url = foundation::URL::withString(link);
    if (url && KSFetchableURL::isFetchable(*url)) {
        auto request = forPackage(page);
        request.title = format(localized("%@'s Link"), page.nameLbl->text().value_or(""));
        request.websiteURL = url;
        push(page, Screen::website, request);
        return;
    }
    if (auto mail = url ? KSMailLink::recipientOnly(*url) : std::nullopt) {
        uikit::Application::shared().openURL(*mail);
        return;
    }
    KSLog("Refused to open the link \"%@\" of %@: only web and plain mail links open", link,
          page.packageIdentifier());
}

}  // namespace corvane
