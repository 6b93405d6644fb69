#include "app/queue/KSQueueStateNotification.h"

#include "foundation/Dispatch.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRNotifications.h"

namespace corvane {

void KSQueueStateNotification::post(const std::string& identifier) {
    foundation::runAsyncOnMain([name = KSRQueueStateNotificationName(identifier)] {
        foundation::NotificationCenter::defaultCenter().post(name);
    });
}

void KSQueueStateNotification::markQueued(const std::string& identifier,
                                          const std::optional<std::string>& versionToQueue,
                                          unsigned operation) {
    KSRPackageManager::sharedPackageManager().packages().setPackage(identifier, true,
                                                                    versionToQueue, operation);
    post(identifier);
}

}  // namespace corvane
