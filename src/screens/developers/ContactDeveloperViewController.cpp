#include "screens/developers/ContactDeveloperViewController.h"

#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "framework/links/KSMailLink.h"
#include "screens/developers/ContactDeveloperNib.h"
#include "screens/developers/KSInAppBrowser.h"
#include "screens/developers/KSProfileViews.h"
#include "uikit/Application.h"

namespace corvane {

using foundation::localized;

ContactDeveloperViewController::ContactDeveloperViewController()
    : KSPalettedViewController(kNibName) {
    ContactDeveloperNib::registerNib();
}

std::string ContactDeveloperViewController::developerName() const {
    return developerName_.value_or("");
}

std::shared_ptr<ContactDeveloperViewController> ContactDeveloperViewController::self() {
    return std::static_pointer_cast<ContactDeveloperViewController>(shared_from_this());
}

void ContactDeveloperViewController::viewDidLoad() {
    KSPalettedViewController::viewDidLoad();
    setEdgesForExtendedLayout(uikit::RectEdge::none);
    setTitle(localized("Contact"));
    developerIconView->setImage(developerAvatar_);
    developerNameLbl->setText(developerName());
    packageNameLbl->setText(packageName_.value_or(""));
    emailBtn->setHidden(!email_ || !KSMailLink::isPlainAddress(*email_));
    twitterBtn->setHidden(!KSInAppBrowser::canOpen(twitter_));
    donateBtn->setHidden(!KSInAppBrowser::canOpen(donateLink_));
    KSProfileViews::arrange(*packageNameLbl, {emailBtn, twitterBtn, donateBtn});
    KSProfileViews::onTap(*emailBtn, self(), &ContactDeveloperViewController::sendEmail);
    KSProfileViews::onTap(*twitterBtn, self(), &ContactDeveloperViewController::openTwitter);
    KSProfileViews::onTap(*donateBtn, self(), &ContactDeveloperViewController::donate);
}

void ContactDeveloperViewController::paletteDidChange(const KSPalette& palette) {
    view()->setBackgroundColor(palette.backgroundColor());
    if (developerNameLbl)
        KSProfileViews::applyPalette(palette, *developerIconView, *developerNameLbl,
                                     *packageNameLbl, {emailBtn, twitterBtn, donateBtn});
}

void ContactDeveloperViewController::sendEmail() {
    const auto address = email_.value_or("");
    if (!KSMailLink::isPlainAddress(address))
        return;
    if (auto link =
            KSMailLink::make(address, KSMailLink::questionSubject(packageName_.value_or(""))))
        uikit::Application::shared().openURL(*link);
}

void ContactDeveloperViewController::openTwitter() {
    KSInAppBrowser::push(*this, twitter_,
                         foundation::format(localized("%@'s Twitter"), developerName()));
}

void ContactDeveloperViewController::donate() {
    KSInAppBrowser::push(*this, donateLink_,
                         foundation::format(localized("%@'s Donate Link"), developerName()));
}

}  // namespace corvane
