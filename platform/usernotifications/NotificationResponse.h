#pragma once

#include <string>

#include "usernotifications/Notification.h"

namespace usernotifications {

// What the user did with a delivered notification.
struct NotificationResponse {
    static constexpr const char* kDefaultActionIdentifier = "DefaultActionIdentifier";

    Notification notification;
    std::string actionIdentifier = kDefaultActionIdentifier;  // a tap on the notification itself
};

}  // namespace usernotifications
