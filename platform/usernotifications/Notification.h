#pragma once

#include "usernotifications/NotificationRequest.h"

namespace usernotifications {

// A request whose trigger has fired.
struct Notification {
    NotificationRequest request;
};

}  // namespace usernotifications
