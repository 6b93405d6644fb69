#include "screens/developers/DeveloperDetailsViewController.h"

#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/network/KSImageFetcher.h"
#include "screens/developers/DeveloperDetailsNib.h"
#include "screens/developers/KSInAppBrowser.h"
#include "screens/developers/KSProfileViews.h"
#include "screens/packages/AllDevPackagesViewController.h"
#include "ui/core/KSScreenFactory.h"
#include "uikit/BarButtonItem.h"
#include "uikit/NavigationController.h"
#include "uikit/NavigationItem.h"

namespace corvane {

using foundation::format;
using foundation::localized;

namespace {

std::optional<foundation::URL> webAddress(const std::optional<std::string>& text) {
    return text ? foundation::URL::withString(*text) : std::nullopt;
}

}  // namespace

DeveloperDetailsViewController::DeveloperDetailsViewController()
    : KSPalettedViewController(kNibName) {
    DeveloperDetailsNib::registerNib();
}

std::shared_ptr<DeveloperDetailsViewController> DeveloperDetailsViewController::self() {
    return std::static_pointer_cast<DeveloperDetailsViewController>(shared_from_this());
}

void DeveloperDetailsViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setEdgesForExtendedLayout(uikit::RectEdge::none);
    if (isShownModally_)
        addCloseButton();
    KSProfileViews::onTap(*packagesBtn, self(), &DeveloperDetailsViewController::seeAllDevPackages);
    KSProfileViews::onTap(*websiteBtn, self(), &DeveloperDetailsViewController::openWebsite);
    KSProfileViews::onTap(*twitterBtn, self(), &DeveloperDetailsViewController::openTwitter);
    if (developerProfile_)
        showProfile(*developerProfile_);
    else
        for (const auto& button : {packagesBtn, websiteBtn, twitterBtn})
            button->setHidden(true);
}

void DeveloperDetailsViewController::showProfile(const KSDeveloperProfile& profile) {
    setTitle(profile.fullName);
    nameLbl->setText(profile.fullName);
    bioLbl->setText(profile.bio.value_or(""));
    packagesBtn->setTitle(format(localized("%@'s Packages"), profile.name));
    packagesBtn->setHidden(
        AllDevPackagesViewController::identifiersOfMaintainer(profile.name).empty());
    websiteBtn->setHidden(!KSInAppBrowser::canOpen(webAddress(profile.website)));
    twitterBtn->setHidden(!KSInAppBrowser::canOpen(webAddress(profile.twitter)));
    KSProfileViews::arrange(*bioLbl, {packagesBtn, websiteBtn, twitterBtn});
    loadAvatar();
}

void DeveloperDetailsViewController::loadAvatar() {
    if (!developerProfile_->avatarURL)
        return;
    KSImageFetcher::fetch(
        *developerProfile_->avatarURL, [weak = weak_from_this()](KSImageFetcher::Result result) {
            if (!result.image)
                return;
            foundation::runOnMain([weak, image = std::move(result.image)] {
                auto self = std::static_pointer_cast<DeveloperDetailsViewController>(weak.lock());
                if (self)
                    self->avatarView->setImage(image);
            });
        });
}

void DeveloperDetailsViewController::addCloseButton() {
    navigationItem()->setLeftBarButtonItem(uikit::BarButtonItem::withTitle(
        localized("Close"), uikit::BarButtonItem::Style::plain,
        [weak = weak_from_this()](uikit::BarButtonItem&) {
            if (auto self = std::static_pointer_cast<DeveloperDetailsViewController>(weak.lock()))
                self->dismissVC();
        }));
}

void DeveloperDetailsViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (nameLbl)
        KSProfileViews::applyPalette(palette, *avatarView, *nameLbl, *bioLbl,
                                     {packagesBtn, websiteBtn, twitterBtn});
}

void DeveloperDetailsViewController::seeAllDevPackages() {
    auto navigation = navigationController();
    if (!developerProfile_ || !navigation)
        return;
    KSScreenFactory::Request request;
    request.maintainer = developerProfile_->name;
    request.title = format(localized("%@'s Packages"), developerProfile_->name);
    if (auto packages = KSScreenFactory::make(KSScreenFactory::Screen::developerPackages, request))
        navigation->push(packages, true);
}

void DeveloperDetailsViewController::openWebsite() {
    if (developerProfile_)
        KSInAppBrowser::push(*this, webAddress(developerProfile_->website),
                             format(localized("%@'s website"), developerProfile_->fullName));
}

void DeveloperDetailsViewController::openTwitter() {
    if (developerProfile_)
        KSInAppBrowser::push(*this, webAddress(developerProfile_->twitter),
                             format(localized("%@'s Twitter"), developerProfile_->fullName));
}

void DeveloperDetailsViewController::dismissVC() {
    dismiss(true);
}

}  // namespace corvane
