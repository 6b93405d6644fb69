#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "foundation/RunLoop.h"
#include "usernotifications/Notification.h"
#include "usernotifications/NotificationOptions.h"
#include "usernotifications/NotificationRequest.h"
#include "usernotifications/NotificationSettings.h"
#include "usernotifications/UserNotificationCenterDelegate.h"

namespace usernotifications {

inline constexpr const char* kErrorDomain = "usernotifications";

enum ErrorCode : long {
    NotificationsNotAllowed = 1,
    InvalidRequest = 2,  // no identifier, or a trigger that is not a positive number of seconds
};

// The application's local notifications. Nobody is asked for permission: the answer is a setting
// (granted unless a test says otherwise). A pending request is delivered on the main run loop once
// its trigger interval has passed on the movable clock; "delivery" calls the delegate and lists
// the notification as delivered. Completions arrive on a background queue, delegate calls on the
// main thread.
class UserNotificationCenter {
  public:
    using AuthorizationCompletion =
        std::function<void(bool granted, std::optional<foundation::Error> error)>;
    using SettingsCompletion = std::function<void(NotificationSettings settings)>;
    using AddCompletion = std::function<void(std::optional<foundation::Error> error)>;

    static UserNotificationCenter& current();

    std::shared_ptr<UserNotificationCenterDelegate> delegate() const;
    void setDelegate(std::weak_ptr<UserNotificationCenterDelegate> delegate);

    void requestAuthorization(AuthorizationOptions options, AuthorizationCompletion completion);
    void getNotificationSettings(SettingsCompletion completion);

    // Fails without authorisation or for an invalid request; replaces a pending request with the
    // same identifier.
    void add(NotificationRequest request, AddCompletion completion = {});
    std::vector<NotificationRequest> pendingRequests() const;
    void removePendingNotificationRequests(const std::vector<std::string>& identifiers);
    void removeAllPendingNotificationRequests();
    // One per identifier, the latest delivery.
    std::vector<Notification> deliveredNotifications() const;

    // How the next authorisation requests are answered.
    void setAuthorizationAnswer(bool granted, std::optional<foundation::Error> error = {});
    // The user taps the delivered notification with this identifier: the delegate hears of it on
    // the main thread. False when no such notification was delivered.
    bool simulateTap(const std::string& identifier);

  private:
    struct Pending {
        NotificationRequest request;
        std::uint64_t sequence;
        foundation::RunLoop::TimerID timer;
    };

    UserNotificationCenter() = default;
    std::optional<foundation::Error> validate(const NotificationRequest& request) const;
    void removePendingLocked(const std::string& identifier);
    void deliver(const std::string& identifier, std::uint64_t sequence);
    std::optional<Notification> takeDue(const std::string& identifier, std::uint64_t sequence);

    mutable std::mutex mutex_;
    std::weak_ptr<UserNotificationCenterDelegate> delegate_;
    AuthorizationStatus status_ = AuthorizationStatus::NotDetermined;
    bool answerGranted_ = true;
    std::optional<foundation::Error> answerError_;
    std::vector<Pending> pending_;
    std::vector<Notification> delivered_;
    std::uint64_t added_ = 0;
};

}  // namespace usernotifications
