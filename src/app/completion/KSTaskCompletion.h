#pragma once

#include <memory>

#include "app/completion/KSLocalNotifications.h"
#include "app/presentations/KSPresenter.h"
#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"
#include "foundation/Value.h"

namespace corvane {

// Reports finished pipeline tasks: the completion sounds, and for a failure the error's text,
// in the error panel or, when the preference ShowNotificationsInsteadOfErrorAlerts is on, as a
// local notification. One error object reported twice is shown once. Main thread.
class KSTaskCompletion : public std::enable_shared_from_this<KSTaskCompletion> {
  public:
    KSTaskCompletion(std::shared_ptr<KSPresenter> presenter,
                     std::shared_ptr<KSLocalNotifications> notifications);

    // Observes KSPipelineTaskFinishedNotification until this object goes; a notice posted off
    // the main thread is handled there.
    void startObserving();
    void taskDone(const foundation::Notification& notification);

  private:
    // An error travels as a dictionary value whose copies share one storage: the storage is
    // the error object, so a distinct error with the same code and text is shown again.
    bool isLastShown(const foundation::Value& errorValue) const;
    static void logFailure(const foundation::Value& info, const foundation::Value& errorValue);

    std::shared_ptr<KSPresenter> presenter_;
    std::shared_ptr<KSLocalNotifications> notifications_;
    // Held so that its storage stays the one it was.
    foundation::Value lastShownError_;
    foundation::ObservationToken observation_;
};

}  // namespace corvane
