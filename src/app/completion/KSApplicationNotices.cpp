#include "app/completion/KSApplicationNotices.h"

#include "foundation/Dispatch.h"
#include "foundation/Format.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "framework/network/KSFetchableURL.h"
#include "framework/repostore/KSRepoStoreAPI.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRSource.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/AlertController.h"

namespace corvane {

using foundation::localized;
using uikit::AlertAction;
using uikit::AlertController;

namespace {

std::optional<std::string> text(const foundation::Value& value) {
    return value.isString() ? value.optionalString() : std::nullopt;
}

}  // namespace

KSApplicationNotices::KSApplicationNotices(std::shared_ptr<KSPresentations> presentations,
                                           std::shared_ptr<KSLocalNotifications> notifications,
                                           std::shared_ptr<KSDelegateState> state)
    : presentations_(std::move(presentations)),
      notifications_(std::move(notifications)),
      state_(std::move(state)) {}

void KSApplicationNotices::startObserving() {
    observe("NewPackageByFollowedDeveloper",
            &KSApplicationNotices::showNewPackagesByFollowedDeveloperAlert);
    observe("CorvaneSetupBackupDone", &KSApplicationNotices::showCorvaneSetupBackupDoneAlert);
    observe("PurchaseNotification", &KSApplicationNotices::showPurchaseAlert);
    observe("ShowVerboseView", &KSApplicationNotices::showVerboseView);
    observe("SileoRepoLogin", &KSApplicationNotices::showLoginAlert);
    observe("ShowNewSourcePackages", &KSApplicationNotices::showNewSourcePackages);
}

void KSApplicationNotices::observe(const char* name, Handler handler) {
    observations_.push_back(foundation::NotificationCenter::defaultCenter().addObserver(
        name, [weak = weak_from_this(), handler](const foundation::Notification& notification) {
            if (auto self = weak.lock())
                ((*self).*handler)(notification);
        }));
}

void KSApplicationNotices::showNewPackagesByFollowedDeveloperAlert(
    const foundation::Notification& notification) {
    foundation::runAsyncOnMain([self = shared_from_this(), info = notification.userInfo] {
        self->showNewPackagesPanel(info);
    });
}

void KSApplicationNotices::showNewPackagesPanel(const foundation::Value& info) {
    state_->developerToShow = text(info["developer"]);
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(text(info["title"]), text(info["message"]), 2, localized("Cancel"),
                         localized("Yes"),
                         [presentations = presentations_] { presentations->showDeveloperPage(); });
    presentations_->presenter()->presentErrorPanel(panel);
}

void KSApplicationNotices::showCorvaneSetupBackupDoneAlert(
    const foundation::Notification& notification) {
    foundation::runAsyncOnMain(
        [self = shared_from_this(), info = notification.userInfo] { self->showBackupPanel(info); });
}

void KSApplicationNotices::showBackupPanel(const foundation::Value& info) {
    auto panel = std::make_shared<ErrorViewController>();
    panel->showWithTitle(text(info["title"]), text(info["message"]), 1, localized("OK"),
                         std::nullopt, KSErrorSelector());
    presentations_->presenter()->presentErrorPanel(panel);
}

void KSApplicationNotices::showPurchaseAlert(const foundation::Notification& notification) {
    foundation::runAsyncOnMain(
        [self = shared_from_this(), info = notification.userInfo] { self->showPurchase(info); });
}

void KSApplicationNotices::showPurchase(const foundation::Value& info) {
    auto name = text(info["name"]).value_or("");
    auto url = foundation::URL::withString(info["url"].stringValue());
    if (!url || !KSFetchableURL::isFetchable(*url)) {
        KSLog("No purchase page for %@; nothing was shown", name);
        return;
    }
    auto alert = AlertController::create(
        localized("Purchase Cydia Package"),
        foundation::format(localized("\"%@\" installation failed, you haven't bought it. Do you "
                                     "want to open the website to purchase it?"),
                           name),
        AlertController::Style::alert);
    alert->addAction(
        AlertAction::create(localized("Yes"), AlertAction::Style::defaultStyle,
                            [presentations = presentations_, url = *url, name](AlertAction&) {
                                presentations->openWebsiteAtURL(url, name);
                            }));
    alert->addAction(AlertAction::create(localized("Cancel"), AlertAction::Style::cancel));
    presentations_->presentViewController(alert);
}

void KSApplicationNotices::showVerboseView(const foundation::Notification& notification) {
    foundation::runAsyncOnMain(
        [presentations = presentations_] { presentations->presentVerboseConsole(); });
}

void KSApplicationNotices::showLoginAlert(const foundation::Notification& notification) {
    foundation::runAsyncOnMain(
        [self = shared_from_this(), info = notification.userInfo] { self->showLogin(info); });
}

void KSApplicationNotices::showLogin(const foundation::Value& info) {
    auto location = info["sourceLocation"].stringValue();
    auto source = KSDatabase::realm().objectForPrimaryKey<KSRSource>(location);
    if (!source) {
        KSLog("No stored source %@ to sign in to; nothing was shown", location);
        return;
    }
    auto alert = AlertController::create(
        localized("Paid Package Installation"),
        foundation::format(localized("\"%@\" installation failed, you aren't logged into \"%@\". "
                                     "Do you want to open the login page?"),
                           text(info["name"]).value_or(""), source->name.value_or(location)),
        AlertController::Style::alert);
    alert->addAction(AlertAction::create(
        localized("Yes"), AlertAction::Style::defaultStyle, [location](AlertAction&) {
            KSRepoStoreAPI::sharedRepoStore().userSigninForSourceLocation(
                location, [location](KSRepoStoreSigninResponse response) {
                    if (response.success)
                        KSLog("Signin successful for source url (%@)", location);
                    else
                        KSLog("Signin failed for source url (%@) with error: %@", location,
                              response.error ? response.error->localizedDescription() : "");
                });
        }));
    alert->addAction(AlertAction::create(localized("Cancel"), AlertAction::Style::cancel));
    presentations_->presentViewController(alert);
}

void KSApplicationNotices::showNewSourcePackages(const foundation::Notification& notification) {
    foundation::runAsyncOnMain([self = shared_from_this(), info = notification.userInfo] {
        self->notifyNewSourcePackages(info);
    });
}

void KSApplicationNotices::notifyNewSourcePackages(const foundation::Value& info) {
    state_->sourceNotification = true;
    state_->identifiersToShow.clear();
    for (const auto& identifier : info["Identifiers"].array()) {
        if (identifier.isString())
            state_->identifiersToShow.push_back(identifier.stringValue());
    }
    notifications_->sendNotificationWithTitle(
        localized("New Package on Followed Source"),
        foundation::format(localized("%@ released new packages, click here to see them"),
                           text(info["SourceName"]).value_or("")),
        false, KSNotificationKind::newSourcePackages);
}

}  // namespace corvane
