#include "framework/packagemanager/KSQueueStateNotification.h"

#include "foundation/Dispatch.h"
#include "foundation/NotificationCenter.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/storage/KSRNotifications.h"

namespace corvane {

void KSQueueStateNotification::post(const std::string& identifier,
                                    const std::optional<std::string>& message) {
    if (identifier.empty())
        return;
    foundation::Value userInfo;
    if (message)
        userInfo = foundation::Dictionary{{"Message", *message}};
    foundation::runAsyncOnMain(
        [name = KSRQueueStateNotificationName(identifier), userInfo = std::move(userInfo)] {
            foundation::NotificationCenter::defaultCenter().post(name, {}, userInfo);
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
