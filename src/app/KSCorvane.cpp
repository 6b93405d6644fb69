#include "app/KSCorvane.h"

#include <utility>

#include "app/launch/KSUncaughtExceptionHandler.h"
#include "app/tabs/KSMainStoryboard.h"
#include "audio/AudioSession.h"
#include "foundation/Date.h"
#include "foundation/Dispatch.h"
#include "foundation/FileManager.h"
#include "foundation/Localization.h"
#include "foundation/Log.h"
#include "framework/apt/KSAPTManager.h"
#include "framework/apt/KSAPTSandbox.h"
#include "framework/apt/KSInboxArchive.h"
#include "framework/apt/KSParsingUtility.h"
#include "framework/apt/KSUnfinishedPackages.h"
#include "framework/compatibility/TweakCompatibilityManager.h"
#include "framework/device/KSPaths.h"
#include "framework/device/KSPlatform.h"
#include "framework/icons/KSIconProvider.h"
#include "framework/network/RepositoryRequest.h"
#include "framework/packagemanager/KSRPackageManager.h"
#include "framework/preferences/CorvanePersistentPreferences.h"
#include "framework/storage/KSDatabase.h"
#include "framework/storage/KSDatabaseMigrationUtility.h"
#include "framework/tasks/KSPackageRepairTask.h"
#include "framework/tasks/KSPipelineManager.h"
#include "framework/tasks/KSPipelinePackageEngine.h"
#include "framework/webservice/KSSearchRepositories.h"
#include "screens/KSScreens.h"
#include "screens/sources/ManageViewController.h"
#include "ui/palette/KSPaletteManager.h"
#include "uikit/Device.h"
#include "uikit/NavigationController.h"
#include "uikit/Window.h"

namespace corvane {

using foundation::FileManager;

std::shared_ptr<KSCorvane> KSCorvane::sharedCorvane() {
    return std::dynamic_pointer_cast<KSCorvane>(uikit::Application::shared().delegate());
}

bool KSCorvane::didFinishLaunching(const foundation::Value&) {
    connectFramework();
    tabController_ = std::dynamic_pointer_cast<KSTabBarController>(
        window() ? window()->rootViewController() : nullptr);
    configureShortcutItemsForApplication(uikit::Application::shared());
    KSUncaughtExceptionHandler::install();
    KSDatabaseMigrationUtility::deleteDatabaseIfOutdated();
    generateAppSupportIfNeeded();
    const auto sandbox = createAPTSandbox();
    KSAPTManager::cleanUpArchivesIfNeeded();
    KSInboxArchive::emptyInbox();
    bool shouldRefresh = false;
    migrateDatabase(&shouldRefresh);
    checkStatusFile();
    logStartup();
    TweakCompatibilityManager::sharedManager()->prepare(backgroundWork_.begin());
    KSSearchRepositories::instance()->listOnlineRepositoriesWithCompletionHandler();
    audio::AudioSession::sharedInstance().setCategory(audio::kCategoryAmbient);
    localNotifications()->registerToSendNotifications();
    taskCompletion_->startObserving();
    notices_->startObserving();
    observePaletteStyleIfNeeded();
    if (shouldRefresh)
        refreshAllSources();
    startupCompleted_ = true;
    prepareDeviceAndRepair(sandbox);
    return true;
}

// Every command on the device runs in a sandbox that takes a moment to make, so the first screen
// does not wait for them. A device root that could not be prepared would only fail the repair
// again, or hang it on what a package left in dpkg's database; one with nothing unfinished needs
// none.
void KSCorvane::prepareDeviceAndRepair(const foundation::Status& sandbox) {
    if (!sandbox) {
        KSLog("Repair refused: %@", sandbox.error().localizedDescription());
        return;
    }
    std::weak_ptr<KSCorvane> weakSelf = weak_from_this();
    foundation::runInBackground([weakSelf, done = backgroundWork_.begin()] {
        const auto prepared = KSAPTManager::prepareDevice();
        const auto unfinished = KSUnfinishedPackages::read();
        const bool needsRepair = prepared && unfinished && !unfinished->empty();
        if (!prepared)
            KSLog("Repair refused: %@", prepared.error().localizedDescription());
        else if (!unfinished)
            KSLog("Nothing is repaired: %@", unfinished.error().localizedDescription());
        foundation::runOnMain([weakSelf, prepared, needsRepair, done] {
            if (auto self = weakSelf.lock(); self && !prepared)
                self->reportSandboxFailure(prepared.error());
            if (needsRepair)
                KSPipelineManager::sharedManager().queueTask(
                    std::make_shared<KSPackageRepairTask>());
            done();
        });
    });
}

// Hands the framework and the interface core the parts only the application can give them.
// Nothing here touches stored data, so it may come before the outdated database is removed.
void KSCorvane::connectFramework() {
    makeParts();
    KSApplicationServices::registerServices(weak_from_this());
    RepositoryRequest::installAsProcessFactory();
    KSPipelinePackageEngine::registerEngine();
    registerScreens();
}

void KSCorvane::makeParts() {
    if (presentations_)
        return;
    std::weak_ptr<KSCorvane> weakSelf = weak_from_this();
    auto presenter = std::make_shared<KSPresenter>([weakSelf]() -> std::shared_ptr<uikit::Window> {
        auto self = weakSelf.lock();
        return self ? self->window() : nullptr;
    });
    presentations_ = std::make_shared<KSPresentations>(
        presenter, state_, [weakSelf]() -> std::shared_ptr<HudPresenting> {
            auto self = weakSelf.lock();
            return self ? self->tabController() : nullptr;
        });
    localNotifications_ = std::make_shared<KSLocalNotifications>(presentations_, state_);
    newsCheck_ = std::make_shared<KSNewsCheck>(localNotifications_, state_);
    taskCompletion_ = std::make_shared<KSTaskCompletion>(presenter, localNotifications_);
    notices_ = std::make_shared<KSApplicationNotices>(presentations_, localNotifications_, state_);
    queuer_ = std::make_shared<KSPackageQueuer>(presentations_);
    urlSchemeTask_ = std::make_shared<KSURLSchemeTask>(
        presenter,
        [weakSelf] {
            auto self = weakSelf.lock();
            return self ? self->tabController() : nullptr;
        },
        backgroundWork_);
    urlRouter_ = std::make_shared<KSOpenURLRouter>(presenter, urlSchemeTask_);
}

const std::shared_ptr<KSPresentations>& KSCorvane::presentations() {
    makeParts();
    return presentations_;
}

const std::shared_ptr<KSLocalNotifications>& KSCorvane::localNotifications() {
    makeParts();
    return localNotifications_;
}

const std::shared_ptr<KSURLSchemeTask>& KSCorvane::urlSchemeTask() {
    makeParts();
    return urlSchemeTask_;
}

void KSCorvane::checkForNews() {
    makeParts();
    newsCheck_->checkForNews();
}

bool KSCorvane::openURL(const foundation::URL& url, const foundation::Value& options) {
    makeParts();
    return urlRouter_->openURL(url, options);
}

void KSCorvane::queuePackageWithIdentifier(const std::string& identifier,
                                           const std::optional<std::string>& versionToQueue,
                                           const std::shared_ptr<uikit::View>& sender) {
    makeParts();
    queuer_->queuePackageWithIdentifier(identifier, versionToQueue, sender);
}

void KSCorvane::presentOptions(const std::string& packageIdentifier,
                               const std::shared_ptr<uikit::View>& sender) {
    presentations()->presentOptions(packageIdentifier, sender);
}

void KSCorvane::sharePackage(const std::string& packageIdentifier,
                             const std::shared_ptr<uikit::View>& sender) {
    presentations()->sharePackage(packageIdentifier, sender);
}

void KSCorvane::presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                                      const std::shared_ptr<uikit::BarButtonItem>& sender) {
    presentations()->presentViewController(controller, sender);
}

void KSCorvane::migrateDatabase(bool* shouldRefresh) {
    if (!KSDatabaseMigrationUtility::migrateDatabaseForced(false, shouldRefresh)) {
        pendingResetAlert_ = KSDatabaseMigrationUtility::didResetDatabaseAlert();
        presentLaunchNoticesIfVisible();
    }
    // The package manager starts on the migrated database: it stores the default sources and
    // refreshes them when due.
    KSIconProvider::registerWithPackageManager();
}

// Without its sandbox the package engine cannot install or remove anything. The launch goes on,
// as browsing still works, but the user hears why once the window is up.
foundation::Status KSCorvane::createAPTSandbox() {
    auto created = KSAPTSandbox::create();
    if (!created)
        reportSandboxFailure(created.error());
    return created;
}

void KSCorvane::reportSandboxFailure(const foundation::Error& error) {
    KSLog("APT and dpkg could not be prepared: %@", error.localizedDescription());
    sandboxFailure_ = error;
    presentLaunchNoticesIfVisible();
}

std::string KSCorvane::sandboxFailureMessage() const {
    return foundation::localized(
               "APT and dpkg could not be prepared: packages cannot be installed or removed.") +
           "\n\n" + sandboxFailure_->localizedDescription();
}

void KSCorvane::didBecomeActive() {
    presentLaunchNoticesIfVisible();
}

void KSCorvane::presentLaunchNoticesIfVisible() {
    auto window = this->window();
    if (!window || window->isHidden())
        return;
    if (sandboxFailure_ && presentations()->presenter()->presentErrorPanel(
                               foundation::localized("Error"), sandboxFailureMessage()))
        sandboxFailure_.reset();
    if (!pendingResetAlert_)
        return;
    if (auto presenter = window->topmostPresentedViewController())
        presenter->present(std::exchange(pendingResetAlert_, nullptr), true);
}

void KSCorvane::logStartup() {
    foundation::logPlain("- Corvane 5 is up and running");
    auto tool = static_cast<int>(KSPlatform::jailbreakTool());
    if (auto line = KSPlatform::jailbreakToolLogLine(tool))
        foundation::logPlain(*line);
}

void KSCorvane::observePaletteStyleIfNeeded() {
    if (CorvanePersistentPreferences::sharedInstance().boolForKey("ObserveAppleDarkModeChanges") ||
        !uikit::Device::current().systemVersionAtLeast("13.0"))
        return;
    std::weak_ptr<KSCorvane> weakSelf = weak_from_this();
    paletteObservation_ =
        KSPaletteManager::sharedPaletteManager().observeActiveStyle([weakSelf](const auto&) {
            if (auto self = weakSelf.lock())
                self->applyPaletteInterfaceStyle();
        });
    applyPaletteInterfaceStyle();
}

void KSCorvane::applyPaletteInterfaceStyle() {
    if (window())
        window()->setOverrideUserInterfaceStyle(KSPaletteManager::interfaceStyle());
}

void KSCorvane::willEnterForeground() {
    if (startupCompleted_)
        checkStatusFile();
}

void KSCorvane::willTerminate() {
    auto& manager = KSRPackageManager::sharedPackageManager();
    manager.packages().resetPackagesQueue();
    // A follow tapped just before quitting is still on its way to the store.
    manager.developers().waitForPendingChanges();
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    preferences.setValue(foundation::Date::now(), "LastVisitDate");
    // The process ends right after this; a delayed save would never happen.
    preferences.saveToFile();
    // What this launch wrote would otherwise wait in the log for the next one, which reads it
    // all before its first screen. A task still writing would hold the end up: its pages wait.
    if (KSPipelineManager::sharedManager().tasksArray().empty())
        KSDatabase::truncateLog();
}

void KSCorvane::configureShortcutItemsForApplication(uikit::Application& application) {
    uikit::ApplicationShortcutItem refresh{
        KSShortcutItemActionRefresh,
        foundation::localized("Refresh Sources"),
        foundation::localized("Refresh all sources"),
        uikit::ApplicationShortcutIcon::withTemplateImageName("ShortcutActionRefresh"),
        {}};
    uikit::ApplicationShortcutItem add{
        KSShortcutItemActionAdd,
        foundation::localized("Add Source"),
        foundation::localized("Add a new source"),
        uikit::ApplicationShortcutIcon::withType(uikit::ApplicationShortcutIcon::Type::add),
        {}};
    application.setShortcutItems({std::move(refresh), std::move(add)});
}

void KSCorvane::performActionForShortcutItem(const uikit::ApplicationShortcutItem& item,
                                             std::function<void(bool succeeded)> completion) {
    if (item.type == KSShortcutItemActionRefresh) {
        refreshAllSources();
        completion(true);
    } else if (item.type == KSShortcutItemActionAdd && tabController()) {
        addSourceInSourcesTab();
        completion(true);
    } else {
        completion(false);
    }
}

void KSCorvane::addSourceInSourcesTab() {
    auto tabs = tabController();
    tabs->setSelectedIndex(KSTabBarController::kSourcesTabIndex);
    if (tabs->selectedIndex() != KSTabBarController::kSourcesTabIndex)
        return;
    auto sources = std::dynamic_pointer_cast<uikit::NavigationController>(
        tabs->viewControllers()[KSTabBarController::kSourcesTabIndex]);
    if (!sources)
        return;
    sources->popToRoot(false);
    if (auto manage = std::dynamic_pointer_cast<ManageViewController>(sources->topViewController()))
        manage->addSource();
}

// A folder or file that cannot be fixed here does not stop the launch: the log says which, and
// the sandbox, which lives in the same folder, then fails where the user hears of it.
void KSCorvane::generateAppSupportIfNeeded() {
    createFolderIfMissing(KSPaths::dataDirectory());
    for (auto name : KSPaths::kDataSubdirectories)
        createFolderIfMissing(KSPaths::dataPath(name));
    const auto preferenceFile = KSPaths::preferenceFile();
    if (FileManager::isDirectory(preferenceFile))
        if (auto removed = FileManager::removeItem(preferenceFile); !removed)
            KSLog("%@", removed.error().localizedDescription());
    auto& preferences = CorvanePersistentPreferences::sharedInstance();
    // Whatever was read from a file that is gone since (an outdated data directory was
    // removed) must not come back.
    if (!FileManager::fileExists(preferenceFile))
        preferences.setDictionary(CorvanePersistentPreferences::corvaneDefaultPreferences());
    preferences.writeMissingDefaults();
}

void KSCorvane::createFolderIfMissing(const std::string& path) {
    if (FileManager::fileExists(path))
        return;
    if (auto made = FileManager::createDirectory(path); !made)
        KSLog("%@", made.error().localizedDescription());
}

void KSCorvane::reinitializeApplication() {
    auto window = uikit::Application::shared().keyWindow();
    if (!window)
        return;
    window->setRootViewController(KSMainStoryboard::instantiateViewControllerWithIdentifier(
        KSMainStoryboard::kTabBarIdentifier));
    window->makeKeyAndVisible();
    tabController_ = std::dynamic_pointer_cast<KSTabBarController>(window->rootViewController());
}

void KSCorvane::checkStatusFile() {
    checkStatusFileWithCompletion({});
}

void KSCorvane::checkStatusFileWithCompletion(std::function<void()> completion) {
    KSParsingUtility::checkStatusFileWithCompletion(
        [completion = std::move(completion), done = backgroundWork_.begin()] {
            if (completion)
                completion();
            done();
        });
}

void KSCorvane::refreshAllSources() {
    KSRPackageManager::sharedPackageManager().sources().refreshAllSources();
}

}  // namespace corvane
