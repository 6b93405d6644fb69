#include "app/completion/KSNewsCheck.h"

#include "foundation/Dispatch.h"
#include "foundation/Localization.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/webservice/KSNewsRetrieval.h"

namespace corvane {

KSNewsCheck::KSNewsCheck(std::shared_ptr<KSLocalNotifications> notifications,
                         std::shared_ptr<KSDelegateState> state)
    : notifications_(std::move(notifications)), state_(std::move(state)) {}

void KSNewsCheck::checkForNews() {
    KSNewsRetrieval::instance()->fetchNewsWithCompletionHandler([weak = weak_from_this()] {
        foundation::runOnMain([weak] {
            if (auto self = weak.lock())
                self->newsDidArrive();
        });
    });
}

void KSNewsCheck::scheduleNextCheck() {
    if (checkPending_)
        return;
    checkPending_ = true;
    foundation::runOnMainAfter(kIntervalSeconds, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->checkPending_ = false;
            self->checkForNews();
        }
    });
}

void KSNewsCheck::newsDidArrive() {
    scheduleNextCheck();
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    auto count = static_cast<std::int64_t>(KSNewsRetrieval::instance()->news().size());
    if (count <= preferences.integerForKey("NewsCount"))
        return;
    preferences.setValue(count, "NewsCount");
    state_->newsNotification = true;
    notifications_->sendNotificationWithTitle(
        foundation::localized("News"),
        foundation::localized(
            "New messages from Kestrune are available. Click here to check the News tab!"),
        false, KSNotificationKind::news);
}

}  // namespace corvane
