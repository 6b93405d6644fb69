#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/completion/KSNotificationKinds.h"
#include "app/presentations/KSDelegateState.h"
#include "app/presentations/KSPresentations.h"
#include "usernotifications/UserNotificationCenterDelegate.h"

namespace corvane {

// The application's local notifications: the permission, sending, showing them while the
// application is in front, and what a tap opens. Without permission a notice falls back to
// what the user can see in the application: an error to the error panel, the news to an alert
// that opens them; anything else is dropped (logged). Main thread.
class KSLocalNotifications : public usernotifications::UserNotificationCenterDelegate,
                             public std::enable_shared_from_this<KSLocalNotifications> {
  public:
    static constexpr double kTriggerSeconds = 1.0;

    KSLocalNotifications(std::shared_ptr<KSPresentations> presentations,
                         std::shared_ptr<KSDelegateState> state);

    // Becomes the notification centre's delegate and asks for alert, sound and badge rights;
    // the answer is only logged.
    void registerToSendNotifications();
    // One notification a second from now under the bundle identifier, replacing one still
    // pending. The badge, when set, is the application's current badge number.
    void sendNotificationWithTitle(const std::string& title, const std::string& messageBody,
                                   bool alsoSetsBadge, KSNotificationKind kind);

    void willPresentNotification(
        usernotifications::UserNotificationCenter& center,
        const usernotifications::Notification& notification,
        std::function<void(usernotifications::PresentationOptions)> completionHandler) override;
    // Opens what the tapped notification announced, by the kind in its content.
    void didReceiveNotificationResponse(usernotifications::UserNotificationCenter& center,
                                        const usernotifications::NotificationResponse& response,
                                        std::function<void()> completionHandler) override;

  private:
    void schedule(const std::string& title, const std::string& body, bool alsoSetsBadge,
                  KSNotificationKind kind);
    void showInstead(const std::string& title, const std::string& body, KSNotificationKind kind);

    std::shared_ptr<KSPresentations> presentations_;
    std::shared_ptr<KSDelegateState> state_;
};

}  // namespace corvane
