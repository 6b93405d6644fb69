#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/presentations/HudPresenting.h"
#include "app/presentations/KSDelegateState.h"
#include "app/presentations/KSPresenter.h"
#include "app/presentations/KSSender.h"
#include "foundation/URL.h"
#include "uikit/ActivityViewController.h"

namespace corvane {

// What screens all over the application ask the application delegate to present the same way:
// a package's options and versions, share sheets, the queue, the tasks and the console, web
// pages, the news and the lists of new packages. Main thread, except openURLInSafariVC.
class KSPresentations : public std::enable_shared_from_this<KSPresentations> {
  public:
    // The tab bar controller that shows the queue and the tasks; null while there is none.
    using HudSource = std::function<std::shared_ptr<HudPresenting>()>;

    KSPresentations(std::shared_ptr<KSPresenter> presenter, std::shared_ptr<KSDelegateState> state,
                    HudSource hud);

    const std::shared_ptr<KSPresenter>& presenter() const { return presenter_; }

    void presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                               const KSSender& sender = {});

    // The action sheet of what can be done with the package; refused (logged) for an identifier
    // that is not stored.
    void presentOptions(const std::string& identifier, const KSSender& sender = {});
    // One action per available version, lowest first; the chosen one is queued through the
    // registered application services.
    void showVersionSelectionMenuForIdentifier(const std::string& identifier,
                                               const KSSender& sender = {});

    // The share text, the icon and the screenshots (downloaded first) of the package.
    void sharePackage(const std::string& identifier, const KSSender& sender = {});
    void shareSourceWithLocation(const std::string& location, const KSSender& sender = {});
    void shareAllSources(const KSSender& sender = {});
    void shareAlertWithItems(std::vector<uikit::ActivityItem> items,
                             const std::optional<std::string>& title, const KSSender& sender = {});

    // Forwarded to the tab bar controller; refused (logged) while there is none.
    void presentQueue();
    void presentTasks();
    // The verbose console in a navigation controller.
    void presentVerboseConsole();

    // Any thread; nothing for a nil URL or one that is not http or https.
    void openURLInSafariVC(const std::optional<foundation::URL>& url);
    void openWebsiteAtURL(const foundation::URL& url, const std::string& packageName);
    void showNewsVC();
    // The new packages of developerToShow; refused (logged) when that developer is not stored.
    void showDeveloperPage();
    // The new packages of identifiersToShow.
    void showNewSourcePackages();

    // Activity types no share sheet offers.
    static std::vector<std::string> excludedActivityTypes();

  private:
    std::shared_ptr<HudPresenting> hud() const;

    std::shared_ptr<KSPresenter> presenter_;
    std::shared_ptr<KSDelegateState> state_;
    HudSource hud_;
};

}  // namespace corvane
