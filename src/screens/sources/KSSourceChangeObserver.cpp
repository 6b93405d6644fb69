#include "screens/sources/KSSourceChangeObserver.h"

#include "foundation/NotificationCenter.h"
#include "framework/storage/KSRNotifications.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSSourceRefreshTask.h"

namespace corvane {

using foundation::NotificationCenter;

// A refresh is queued on whatever thread queues it; the handler hears of it on the main thread.
void KSSourceChangeObserver::observe(Handler handler) {
    auto& center = NotificationCenter::defaultCenter();
    auto refresh = [handler](const foundation::Notification& notification) {
        refreshChanged(notification, handler);
    };
    queuedObservation_ = center.addObserver(KSPipelineTaskQueuedNotification, refresh,
                                            NotificationCenter::Delivery::MainQueue);
    finishedObservation_ = center.addObserver(KSPipelineTaskFinishedNotification, refresh);
    sourceObservation_ = center.addObserver(
        KSRSourceUpdatedNotification, [handler](const foundation::Notification& notification) {
            handler(notification.object.stringValue());
        });
}

void KSSourceChangeObserver::refreshChanged(const foundation::Notification& notification,
                                            const Handler& handler) {
    auto task = std::static_pointer_cast<KSTask>(notification.sender);
    if (auto refresh = std::dynamic_pointer_cast<KSSourceRefreshTask>(task))
        handler(refresh->location());
}

}  // namespace corvane
