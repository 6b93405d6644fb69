#include "usernotifications/UserNotificationCenter.h"

#include <algorithm>
#include <cmath>

#include "foundation/Dispatch.h"
#include "foundation/SharedInstance.h"

namespace usernotifications {

UserNotificationCenter& UserNotificationCenter::current() {
    static auto* center = new foundation::SharedInstance<UserNotificationCenter>(
        [] { return std::shared_ptr<UserNotificationCenter>(new UserNotificationCenter()); });
    return center->get();
}

std::shared_ptr<UserNotificationCenterDelegate> UserNotificationCenter::delegate() const {
    std::lock_guard lock(mutex_);
    return delegate_.lock();
}

void UserNotificationCenter::setDelegate(std::weak_ptr<UserNotificationCenterDelegate> delegate) {
    std::lock_guard lock(mutex_);
    delegate_ = std::move(delegate);
}

void UserNotificationCenter::requestAuthorization(AuthorizationOptions,
                                                  AuthorizationCompletion completion) {
    bool granted;
    std::optional<foundation::Error> error;
    {
        std::lock_guard lock(mutex_);
        error = answerError_;
        granted = answerGranted_ && !error;
        if (!error)
            status_ = granted ? AuthorizationStatus::Authorized : AuthorizationStatus::Denied;
    }
    foundation::runInBackground(
        [completion = std::move(completion), granted, error] { completion(granted, error); });
}

void UserNotificationCenter::getNotificationSettings(SettingsCompletion completion) {
    NotificationSettings settings;
    {
        std::lock_guard lock(mutex_);
        settings.authorizationStatus = status_;
    }
    foundation::runInBackground(
        [completion = std::move(completion), settings] { completion(settings); });
}

std::optional<foundation::Error> UserNotificationCenter::validate(
    const NotificationRequest& request) const {
    if (status_ != AuthorizationStatus::Authorized)
        return foundation::Error::make(kErrorDomain, NotificationsNotAllowed,
                                       "Notifications are not allowed for this application.");
    double interval = request.trigger.timeInterval;
    if (request.identifier.empty() || !std::isfinite(interval) || interval <= 0)
        return foundation::Error::make(kErrorDomain, InvalidRequest,
                                       "A notification request needs an identifier and a trigger "
                                       "interval greater than zero.");
    return std::nullopt;
}

void UserNotificationCenter::add(NotificationRequest request, AddCompletion completion) {
    std::optional<foundation::Error> error;
    {
        std::lock_guard lock(mutex_);
        error = validate(request);
        if (!error) {
            removePendingLocked(request.identifier);
            auto sequence = ++added_;
            auto timer = foundation::RunLoop::main().schedule(
                request.trigger.timeInterval, [this, identifier = request.identifier, sequence] {
                    deliver(identifier, sequence);
                });
            pending_.push_back(Pending{std::move(request), sequence, timer});
        }
    }
    if (completion)
        foundation::runInBackground(
            [completion = std::move(completion), error] { completion(error); });
}

std::vector<NotificationRequest> UserNotificationCenter::pendingRequests() const {
    std::lock_guard lock(mutex_);
    std::vector<NotificationRequest> requests;
    for (const auto& entry : pending_)
        requests.push_back(entry.request);
    return requests;
}

void UserNotificationCenter::removePendingNotificationRequests(
    const std::vector<std::string>& identifiers) {
    std::lock_guard lock(mutex_);
    for (const auto& identifier : identifiers)
        removePendingLocked(identifier);
}

void UserNotificationCenter::removeAllPendingNotificationRequests() {
    std::lock_guard lock(mutex_);
    for (const auto& entry : pending_)
        foundation::RunLoop::main().cancelTimer(entry.timer);
    pending_.clear();
}

void UserNotificationCenter::removePendingLocked(const std::string& identifier) {
    std::erase_if(pending_, [&](const Pending& entry) {
        if (entry.request.identifier != identifier)
            return false;
        foundation::RunLoop::main().cancelTimer(entry.timer);
        return true;
    });
}

std::vector<Notification> UserNotificationCenter::deliveredNotifications() const {
    std::lock_guard lock(mutex_);
    return delivered_;
}

// A timer that was already due when its request was replaced or removed still runs; the sequence
// number tells it that it has nothing to deliver.
std::optional<Notification> UserNotificationCenter::takeDue(const std::string& identifier,
                                                            std::uint64_t sequence) {
    std::lock_guard lock(mutex_);
    auto entry = std::find_if(pending_.begin(), pending_.end(),
                              [&](const Pending& p) { return p.sequence == sequence; });
    if (entry == pending_.end())
        return std::nullopt;
    Notification notification{std::move(entry->request)};
    pending_.erase(entry);
    std::erase_if(delivered_,
                  [&](const Notification& n) { return n.request.identifier == identifier; });
    delivered_.push_back(notification);
    return notification;
}

void UserNotificationCenter::deliver(const std::string& identifier, std::uint64_t sequence) {
    auto notification = takeDue(identifier, sequence);
    if (!notification)
        return;
    if (auto delegate = this->delegate())
        delegate->willPresentNotification(*this, *notification, [](PresentationOptions) {});
}

void UserNotificationCenter::setAuthorizationAnswer(bool granted,
                                                    std::optional<foundation::Error> error) {
    std::lock_guard lock(mutex_);
    answerGranted_ = granted;
    answerError_ = std::move(error);
}

bool UserNotificationCenter::simulateTap(const std::string& identifier) {
    std::optional<Notification> tapped;
    {
        std::lock_guard lock(mutex_);
        for (const auto& notification : delivered_)
            if (notification.request.identifier == identifier)
                tapped = notification;
    }
    if (!tapped)
        return false;
    foundation::runOnMain([this, response = NotificationResponse{*tapped}] {
        if (auto delegate = this->delegate())
            delegate->didReceiveNotificationResponse(*this, response, [] {});
    });
    return true;
}

}  // namespace usernotifications
