#include "app/completion/KSTaskCompletion.h"

#include "app/completion/KSCompletionSounds.h"
#include "app/completion/KSTaskErrorText.h"
#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/tasks/KSPipelineManager.h"

namespace corvane {

KSTaskCompletion::KSTaskCompletion(std::shared_ptr<KSPresenter> presenter,
                                   std::shared_ptr<KSLocalNotifications> notifications)
    : presenter_(std::move(presenter)), notifications_(std::move(notifications)) {}

void KSTaskCompletion::startObserving() {
    observation_ = foundation::NotificationCenter::defaultCenter().addObserver(
        KSPipelineTaskFinishedNotification,
        [weak = weak_from_this()](const foundation::Notification& notification) {
            foundation::runOnMain([weak, notification] {
                if (auto self = weak.lock())
                    self->taskDone(notification);
            });
        });
}

bool KSTaskCompletion::isLastShown(const foundation::Value& errorValue) const {
    return errorValue.isDictionary() && lastShownError_.isDictionary() &&
           &errorValue.dictionary() == &lastShownError_.dictionary();
}

// Whether or not the screen shows it (notifications may be refused), the log keeps it.
void KSTaskCompletion::logFailure(const foundation::Value& info,
                                  const foundation::Value& errorValue) {
    KSLog("The task %@ (%@) failed: %@", info[KSPipelineUserInfoTaskID].stringValue(),
          info[KSPipelineUserInfoPipelineID].stringValue(),
          KSTaskErrorText::errorOfFailure(errorValue).localizedDescription());
}

void KSTaskCompletion::taskDone(const foundation::Notification& notification) {
    const auto& info = notification.userInfo;
    bool success = info[KSPipelineUserInfoSuccess].boolValue();
    KSCompletionSounds::playForTask(info[KSPipelineUserInfoPipelineID].stringValue(), success);
    if (success)
        return;

    const auto& errorValue = info[KSPipelineUserInfoError];
    if (isLastShown(errorValue))
        return;
    logFailure(info, errorValue);
    if (errorValue.isDictionary())
        lastShownError_ = errorValue;
    auto error = KSTaskErrorText::describedError(KSTaskErrorText::errorOfFailure(errorValue));

    auto title = foundation::localized("Error");
    if (CorvanePersistentPreferences::sharedInstance().boolForKey(
            "ShowNotificationsInsteadOfErrorAlerts"))
        notifications_->sendNotificationWithTitle(title, error.localizedDescription(), false,
                                                  KSNotificationKind::error);
    else
        presenter_->presentErrorPanel(title, error.localizedDescription());
}

}  // namespace corvane
