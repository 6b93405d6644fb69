#include "app/completion/KSLocalNotifications.h"

#include "foundation/Bundle.h"
#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "usernotifications/UserNotificationCenter.h"

namespace corvane {

using namespace usernotifications;
using foundation::localized;

KSLocalNotifications::KSLocalNotifications(std::shared_ptr<KSPresentations> presentations,
                                           std::shared_ptr<KSDelegateState> state)
    : presentations_(std::move(presentations)), state_(std::move(state)) {}

void KSLocalNotifications::registerToSendNotifications() {
    auto& center = UserNotificationCenter::current();
    center.setDelegate(weak_from_this());
    center.requestAuthorization(
        AuthorizationOptionAlert | AuthorizationOptionSound | AuthorizationOptionBadge,
        [](bool granted, std::optional<foundation::Error> error) {
            if (error)
                KSLog("Error: Notifications permission failed %@", error->localizedDescription());
            else if (granted)
                KSLog("Notifications pemission was granted.");
            else
                KSLog("Notifications pemission was denied.");
        });
}

void KSLocalNotifications::sendNotificationWithTitle(const std::string& title,
                                                     const std::string& messageBody,
                                                     bool alsoSetsBadge, KSNotificationKind kind) {
    UserNotificationCenter::current().getNotificationSettings(
        [weak = weak_from_this(), title, messageBody, alsoSetsBadge,
         kind](NotificationSettings settings) {
            foundation::runOnMain([=] {
                auto self = weak.lock();
                if (!self)
                    return;
                if (settings.authorizationStatus == AuthorizationStatus::Authorized)
                    self->schedule(title, messageBody, alsoSetsBadge, kind);
                else
                    self->showInstead(title, messageBody, kind);
            });
        });
}

void KSLocalNotifications::schedule(const std::string& title, const std::string& body,
                                    bool alsoSetsBadge, KSNotificationKind kind) {
    NotificationRequest request;
    request.identifier = foundation::Bundle::bundleIdentifier();
    request.content.title = title;
    request.content.body = body;
    request.content.sound = NotificationContent::kDefaultSound;
    if (alsoSetsBadge)
        request.content.badge = uikit::Application::shared().applicationIconBadgeNumber();
    request.content.userInfo = KSNotificationKinds::userInfo(kind);
    request.trigger.timeInterval = kTriggerSeconds;
    UserNotificationCenter::current().add(
        std::move(request), [](std::optional<foundation::Error> error) {
            if (error)
                KSLog("Notification Error: %@", error->localizedDescription());
        });
}

void KSLocalNotifications::showInstead(const std::string& title, const std::string& body,
                                       KSNotificationKind kind) {
    using uikit::AlertAction;
    switch (kind) {
        case KSNotificationKind::error:
            presentations_->presenter()->presentErrorPanel(title, body);
            return;
        case KSNotificationKind::news: {
            auto alert =
                uikit::AlertController::create(title, body, uikit::AlertController::Style::alert);
            alert->addAction(AlertAction::create(
                localized("Open News"), AlertAction::Style::defaultStyle,
                [presentations = presentations_](AlertAction&) { presentations->showNewsVC(); }));
            alert->addAction(AlertAction::create(localized("Cancel"), AlertAction::Style::cancel));
            presentations_->presentViewController(alert);
            return;
        }
        case KSNotificationKind::newSourcePackages:
            KSLog("Notifications are not allowed; \"%@\" was not shown", title);
            return;
    }
}

void KSLocalNotifications::willPresentNotification(
    UserNotificationCenter& center, const Notification& notification,
    std::function<void(PresentationOptions)> completionHandler) {
    completionHandler(PresentationOptionAlert | PresentationOptionSound | PresentationOptionBadge);
}

void KSLocalNotifications::didReceiveNotificationResponse(UserNotificationCenter& center,
                                                          const NotificationResponse& response,
                                                          std::function<void()> completionHandler) {
    auto kind = KSNotificationKinds::kindOf(response.notification.request.content.userInfo);
    if (kind == KSNotificationKind::news) {
        state_->newsNotification = false;
        presentations_->showNewsVC();
    } else if (kind == KSNotificationKind::newSourcePackages) {
        state_->sourceNotification = false;
        presentations_->showNewSourcePackages();
    }
    if (completionHandler)
        completionHandler();
}

}  // namespace corvane
