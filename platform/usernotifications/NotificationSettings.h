#pragma once

namespace usernotifications {

enum class AuthorizationStatus : long {
    NotDetermined = 0,
    Denied = 1,
    Authorized = 2,
};

struct NotificationSettings {
    AuthorizationStatus authorizationStatus = AuthorizationStatus::NotDetermined;
};

}  // namespace usernotifications
