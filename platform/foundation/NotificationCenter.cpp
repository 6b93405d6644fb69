#include "foundation/NotificationCenter.h"

#include <algorithm>
#include <atomic>

#include "foundation/Dispatch.h"

namespace foundation {

struct NotificationCenter::Registration {
    std::string name;
    Handler handler;
    Delivery delivery;
    const void* owner;
    std::atomic<bool> alive{true};
};

NotificationCenter& NotificationCenter::defaultCenter() {
    static auto* center = new NotificationCenter();
    return *center;
}

ObservationToken NotificationCenter::addObserver(std::string name, Handler handler,
                                                 Delivery delivery, const void* owner) {
    auto registration = std::make_shared<Registration>();
    registration->name = std::move(name);
    registration->handler = std::move(handler);
    registration->delivery = delivery;
    registration->owner = owner;
    {
        std::lock_guard lock(mutex_);
        registrations_.push_back(registration);
    }
    std::weak_ptr<Registration> weak = registration;
    return ObservationToken([this, weak] {
        auto registration = weak.lock();
        if (!registration)
            return;
        registration->alive = false;
        std::lock_guard lock(mutex_);
        std::erase(registrations_, registration);
    });
}

void NotificationCenter::removeObserver(const void* owner) {
    if (!owner)
        return;
    std::lock_guard lock(mutex_);
    std::erase_if(registrations_, [owner](const auto& registration) {
        if (registration->owner != owner)
            return false;
        registration->alive = false;
        return true;
    });
}

void NotificationCenter::post(const Notification& notification) {
    std::vector<std::shared_ptr<Registration>> matching;
    {
        std::lock_guard lock(mutex_);
        for (const auto& registration : registrations_)
            if (registration->name == notification.name)
                matching.push_back(registration);
    }
    for (const auto& registration : matching) {
        if (!registration->alive)
            continue;
        if (registration->delivery == Delivery::PostingThread) {
            registration->handler(notification);
            continue;
        }
        runAsyncOnMain([registration, notification] {
            if (registration->alive)
                registration->handler(notification);
        });
    }
}

void NotificationCenter::post(std::string name, Value object, Value userInfo) {
    post(Notification{std::move(name), std::move(object), std::move(userInfo), nullptr});
}

void NotificationCenter::postOnMainAndWait(const Notification& notification) {
    runOnMainAndWait([&] { post(notification); });
}

}  // namespace foundation
