#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/completion/KSApplicationNotices.h"
#include "app/completion/KSLocalNotifications.h"
#include "app/completion/KSNewsCheck.h"
#include "app/completion/KSTaskCompletion.h"
#include "app/launch/KSBackgroundWork.h"
#include "app/presentations/KSDelegateState.h"
#include "app/presentations/KSPresentations.h"
#include "app/presentations/KSPresenter.h"
#include "app/queue/KSPackageQueuer.h"
#include "app/tabs/KSTabBarController.h"
#include "app/urls/KSOpenURLRouter.h"
#include "app/urls/KSURLSchemeTask.h"
#include "foundation/Error.h"
#include "foundation/ObservationToken.h"
#include "foundation/Result.h"
#include "foundation/Value.h"
#include "ui/core/KSApplicationServices.h"
#include "uikit/AlertController.h"
#include "uikit/Application.h"
#include "uikit/ApplicationDelegate.h"

namespace corvane {

// The application delegate: the launch sequence, the return to the foreground, termination,
// the home-screen shortcuts and the root interface. One per process, made by the platform;
// everything else reaches it through sharedCorvane(), and the interface core through
// KSApplicationServices, which it registers at launch. Queueing, task completion, local
// notifications and the shared presentations are done by the objects it holds. Main thread.
class KSCorvane : public uikit::ApplicationDelegate,
                  public KSApplicationServices,
                  public std::enable_shared_from_this<KSCorvane> {
  public:
    static constexpr const char* KSShortcutItemActionRefresh =
        "me_kestrune_corvane_shortcuts_refresh";
    static constexpr const char* KSShortcutItemActionAdd = "me_kestrune_corvane_shortcuts_add";

    // The application's delegate; null before the platform has made it.
    static std::shared_ptr<KSCorvane> sharedCorvane();

    // The launch sequence, in its fixed order; always true, the options are not read. A sandbox
    // that cannot be made is logged and shown in the error panel once the window is visible.
    bool didFinishLaunching(const foundation::Value& options) override;
    // Shows what the launch held back until the window is on screen: the sandbox's failure, then
    // the reset alert.
    void didBecomeActive() override;
    // Re-checks the dpkg status once the launch has completed, not before.
    void willEnterForeground() override;
    // Empties the package queue and stores the visit time on disk at once.
    void willTerminate() override;
    void performActionForShortcutItem(const uikit::ApplicationShortcutItem& item,
                                      std::function<void(bool succeeded)> completion) override;
    // A payment callback, a handed-over archive or a URL of the application's own scheme;
    // always true.
    bool openURL(const foundation::URL& url, const foundation::Value& options) override;

    void configureShortcutItemsForApplication(uikit::Application& application);
    // The data directory with its subdirectories, and every missing default preference.
    static void generateAppSupportIfNeeded();
    // A fresh root interface from the storyboard "Main" in the key window.
    void reinitializeApplication();
    void checkStatusFile();
    // The completion (may be empty) runs on the main thread once the check has ended.
    void checkStatusFileWithCompletion(std::function<void()> completion);
    void refreshAllSources();
    // The periodic news check; nothing in the launch starts it.
    void checkForNews();

    // The window's root tab bar controller, taken at launch and after re-initialisation.
    std::shared_ptr<KSTabBarController> tabController() const { return tabController_.lock(); }
    // Background work that this delegate started has not ended yet.
    bool hasPendingWork() const { return backgroundWork_.isRunning(); }

    void queuePackageWithIdentifier(const std::string& identifier,
                                    const std::optional<std::string>& versionToQueue,
                                    const std::shared_ptr<uikit::View>& sender) override;
    void presentOptions(const std::string& packageIdentifier,
                        const std::shared_ptr<uikit::View>& sender) override;
    void sharePackage(const std::string& packageIdentifier,
                      const std::shared_ptr<uikit::View>& sender) override;
    void presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                               const std::shared_ptr<uikit::BarButtonItem>& sender) override;
    // Counted with the delegate's own: hasPendingWork until it ends.
    std::function<void()> beginBackgroundWork() override { return backgroundWork_.begin(); }

    // The shared presentations (options, sharing, queue, tasks, web pages, news, new packages).
    const std::shared_ptr<KSPresentations>& presentations();
    const std::shared_ptr<KSLocalNotifications>& localNotifications();
    const std::shared_ptr<KSURLSchemeTask>& urlSchemeTask();
    // What a later tap or panel opens.
    const std::shared_ptr<KSDelegateState>& state() const { return state_; }

  private:
    // Made on first use: they reach the window through this delegate, held weakly.
    void makeParts();
    void connectFramework();
    foundation::Status createAPTSandbox();
    void prepareDeviceAndRepair(const foundation::Status& sandbox);
    void reportSandboxFailure(const foundation::Error& error);
    void migrateDatabase(bool* shouldRefresh);
    void presentLaunchNoticesIfVisible();
    std::string sandboxFailureMessage() const;
    static void createFolderIfMissing(const std::string& path);
    static void logStartup();
    void observePaletteStyleIfNeeded();
    void applyPaletteInterfaceStyle();
    void addSourceInSourcesTab();

    bool startupCompleted_ = false;
    const std::shared_ptr<KSDelegateState> state_ = std::make_shared<KSDelegateState>();
    std::shared_ptr<KSPresentations> presentations_;
    std::shared_ptr<KSLocalNotifications> localNotifications_;
    std::shared_ptr<KSNewsCheck> newsCheck_;
    std::shared_ptr<KSTaskCompletion> taskCompletion_;
    std::shared_ptr<KSApplicationNotices> notices_;
    std::shared_ptr<KSPackageQueuer> queuer_;
    std::shared_ptr<KSURLSchemeTask> urlSchemeTask_;
    std::shared_ptr<KSOpenURLRouter> urlRouter_;
    std::weak_ptr<KSTabBarController> tabController_;
    // What the launch has to tell waits here until the window is visible.
    std::optional<foundation::Error> sandboxFailure_;
    std::shared_ptr<uikit::AlertController> pendingResetAlert_;
    foundation::ObservationToken paletteObservation_;
    KSBackgroundWork backgroundWork_;
};

}  // namespace corvane
