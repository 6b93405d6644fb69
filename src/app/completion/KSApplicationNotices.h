#pragma once

#include <memory>
#include <vector>

#include "app/completion/KSLocalNotifications.h"
#include "app/presentations/KSDelegateState.h"
#include "app/presentations/KSPresentations.h"
#include "foundation/Notification.h"
#include "foundation/ObservationToken.h"

namespace corvane {

// The application's own notices that reach the user through the application delegate: new
// packages of a followed developer or source, a finished setup backup, a package that must be
// bought or signed in for, and the request for the console. The notices may be posted on any
// thread; each handler does its work on a later turn of the main loop.
class KSApplicationNotices : public std::enable_shared_from_this<KSApplicationNotices> {
  public:
    KSApplicationNotices(std::shared_ptr<KSPresentations> presentations,
                         std::shared_ptr<KSLocalNotifications> notifications,
                         std::shared_ptr<KSDelegateState> state);

    // Observes the six notices, in this order, until this object goes.
    void startObserving();

    // "NewPackageByFollowedDeveloper": "developer", "title", "message".
    void showNewPackagesByFollowedDeveloperAlert(const foundation::Notification& notification);
    // "CorvaneSetupBackupDone": "title", "message".
    void showCorvaneSetupBackupDoneAlert(const foundation::Notification& notification);
    // "PurchaseNotification": "name", "url" (http or https, else nothing is shown).
    void showPurchaseAlert(const foundation::Notification& notification);
    // "ShowVerboseView".
    void showVerboseView(const foundation::Notification& notification);
    // "SileoRepoLogin": "name", "sourceLocation" (a stored source, else nothing is shown).
    void showLoginAlert(const foundation::Notification& notification);
    // "ShowNewSourcePackages": "Identifiers", "SourceName".
    void showNewSourcePackages(const foundation::Notification& notification);

  private:
    using Handler = void (KSApplicationNotices::*)(const foundation::Notification&);
    void observe(const char* name, Handler handler);
    void showNewPackagesPanel(const foundation::Value& info);
    void showBackupPanel(const foundation::Value& info);
    void showPurchase(const foundation::Value& info);
    void showLogin(const foundation::Value& info);
    void notifyNewSourcePackages(const foundation::Value& info);

    std::shared_ptr<KSPresentations> presentations_;
    std::shared_ptr<KSLocalNotifications> notifications_;
    std::shared_ptr<KSDelegateState> state_;
    std::vector<foundation::ObservationToken> observations_;
};

}  // namespace corvane
