#include "ui/cells/KSQueueStateObserver.h"

#include "foundation/Dispatch.h"
#include "foundation/NotificationCenter.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSRNotifications.h"

namespace corvane {

void KSQueueStateObserver::observe(const std::string& identifier, Handler handler) {
    stop();
    target_ = std::make_shared<Target>(Target{identifier, std::move(handler)});
    std::weak_ptr<Target> weakTarget = target_;
    observation_ = foundation::NotificationCenter::defaultCenter().addObserver(
        KSRQueueStateNotificationName(identifier),
        [weakTarget](const foundation::Notification&) {
            // The record is read a turn later, once the queueing that posted has finished.
            foundation::runAsyncOnMain([weakTarget] {
                if (auto target = weakTarget.lock())
                    target->handler(
                        KSDatabase::realm().objectForPrimaryKey<KSRPackage>(target->identifier));
            });
        },
        foundation::NotificationCenter::Delivery::MainQueue);
}

void KSQueueStateObserver::stop() {
    observation_.reset();
    target_.reset();
}

}  // namespace corvane
