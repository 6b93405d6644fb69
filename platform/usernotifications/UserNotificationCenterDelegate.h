#pragma once

#include <functional>

#include "usernotifications/Notification.h"
#include "usernotifications/NotificationOptions.h"
#include "usernotifications/NotificationResponse.h"

namespace usernotifications {

class UserNotificationCenter;

// Both calls come on the main thread.
class UserNotificationCenterDelegate {
  public:
    virtual ~UserNotificationCenterDelegate() = default;

    // A notification arrives while the application runs; the answer says how to show it.
    virtual void willPresentNotification(
        UserNotificationCenter& center, const Notification& notification,
        std::function<void(PresentationOptions)> completionHandler) {}
    // The user tapped a delivered notification.
    virtual void didReceiveNotificationResponse(UserNotificationCenter& center,
                                                const NotificationResponse& response,
                                                std::function<void()> completionHandler) {}
};

}  // namespace usernotifications
