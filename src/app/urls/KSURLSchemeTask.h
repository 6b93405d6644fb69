#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/launch/KSBackgroundWork.h"
#include "app/presentations/KSPresenter.h"
#include "app/tabs/KSTabBarController.h"
#include "foundation/URL.h"
#include "framework/webservice/KSDeveloperProfile.h"
#include "screens/sources/KSSourceAddition.h"
#include "uikit/ViewController.h"

namespace corvane {

// Turns a URL of the application's own scheme (KSURLSchemeGrammar) into what it asks for: add a
// repository after asking, open a repository that is already a source, show a package (adding
// its repository first when the person agrees) or show a developer. A URL that does not read as
// one of its forms is ignored with a log line that names it. The application delegate holds the
// one task of the process. Main thread.
class KSURLSchemeTask : public std::enable_shared_from_this<KSURLSchemeTask> {
  public:
    using TabControllerSource = std::function<std::shared_ptr<KSTabBarController>()>;
    // After the repository of a package to show has been refreshed, before the package is
    // looked up.
    static constexpr double kShowPackageDelaySeconds = 1.0;

    // work counts the developer searches still on their way.
    KSURLSchemeTask(std::shared_ptr<KSPresenter> presenter, TabControllerSource tabController,
                    KSBackgroundWork work);

    void setURL(const foundation::URL& url) { url_ = url; }
    void doQueuedSchemeTask();

    // Each of the steps below names the link that asked for it (as KSLoggedURL writes it) in the
    // log line of a refusal or of a screen that could not be shown.

    // The source page of a stored source, presented.
    void repoAlreadyAdded(const std::string& location, const std::string& link);
    // Asks whether to add the repository.
    void addRepoAlert(const std::string& address, const std::string& link);
    // Adds the repository; a refusal is shown in an alert.
    void addSourceWithURL(const std::string& address, const std::string& link);
    // With addFirst, asks to add the repository and shows the package once that source has been
    // refreshed; else shows the stored package, or says that it does not exist.
    void showPackageAlert(const std::optional<std::string>& name, const std::string& identifier,
                          const std::string& address, bool addFirst, const std::string& link);
    // The first developer found by the maker's service, or the search tab with the name.
    void showDeveloper(const std::string& name, const std::string& link);

    // The package waiting for its repository to be refreshed; empty when none.
    std::string bundleID() const { return pendingShow_ ? pendingShow_->identifier : ""; }

  private:
    struct PendingShow {
        std::string identifier;
        std::shared_ptr<KSSourceAddition> addition;
        std::string link;
    };

    // The stored source that the address names, over http or https alike.
    static std::optional<std::string> storedSourceLocation(const std::string& address);
    void waitForRepository(const std::string& identifier, const std::string& address,
                           const std::string& link);
    void repositoryAdded(const std::shared_ptr<KSSourceAddition>& addition,
                         KSSourceAddition::Outcome outcome, const std::string& message);
    void showPackageAlertDelayed(const std::string& identifier, const std::string& link);
    void showPackage(const std::string& identifier, const std::string& link);
    void developerSearched(const std::string& name,
                           const std::vector<KSDeveloperProfile>& developers,
                           const std::string& link);
    // The refusal shown under the title, and logged with the link.
    void refuse(const std::string& title, const std::string& message, const std::string& link);
    void present(const std::shared_ptr<uikit::ViewController>& controller, const std::string& link);
    void forgetAddition(const std::shared_ptr<KSSourceAddition>& addition);

    std::shared_ptr<KSPresenter> presenter_;
    TabControllerSource tabController_;
    KSBackgroundWork work_;
    std::optional<foundation::URL> url_;
    // One package waits for its repository at a time: a later request replaces it.
    std::optional<PendingShow> pendingShow_;
    std::vector<std::shared_ptr<KSSourceAddition>> additions_;
};

}  // namespace corvane
