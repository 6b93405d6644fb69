#pragma once

#include <string>

#include "usernotifications/NotificationContent.h"

namespace usernotifications {

// Fires once, the given number of seconds after the request was added.
struct TimeIntervalNotificationTrigger {
    double timeInterval = 0;
};

struct NotificationRequest {
    std::string identifier;  // a newer request with the same identifier replaces a pending one
    NotificationContent content;
    TimeIntervalNotificationTrigger trigger;
};

}  // namespace usernotifications
