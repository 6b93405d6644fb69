#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "foundation/ObservationToken.h"
#include "foundation/URL.h"
#include "foundation/Value.h"
#include "uikit/ApplicationDelegate.h"
#include "uikit/ApplicationShortcutItem.h"
#include "uikit/TraitCollection.h"

namespace uikit {

class Window;

// The running application: its delegate, its key window, its life cycle (posted to the default
// notification centre under the system's names as well as told to the delegate), the URLs it
// opens in other applications and what the home screen shows for it. Main thread only.
class Application {
  public:
    enum class State { active = 0, inactive = 1, background = 2 };
    // Hands an http or https URL to the world outside as a single argument; whether it went.
    using URLOpener = std::function<bool(const std::string& url)>;

    static constexpr const char* kDidFinishLaunchingNotification =
        "UIApplicationDidFinishLaunchingNotification";
    static constexpr const char* kDidBecomeActiveNotification =
        "UIApplicationDidBecomeActiveNotification";
    static constexpr const char* kDidEnterBackgroundNotification =
        "UIApplicationDidEnterBackgroundNotification";
    static constexpr const char* kWillEnterForegroundNotification =
        "UIApplicationWillEnterForegroundNotification";
    static constexpr const char* kWillTerminateNotification =
        "UIApplicationWillTerminateNotification";
    static constexpr const char* kOpenURLOptionsSourceApplicationKey =
        "UIApplicationOpenURLOptionsSourceApplicationKey";

    static Application& shared();

    const std::shared_ptr<ApplicationDelegate>& delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    std::shared_ptr<Window> keyWindow() const { return keyWindow_.lock(); }
    State applicationState() const { return state_; }

    // The life cycle as the system drives it. Each launch starts inactive and ends with its own
    // willTerminate.
    bool finishLaunching(const foundation::Value& options = {});
    void becomeActive();
    void enterBackground();
    // willEnterForeground, then becomeActive.
    void enterForeground();
    // willTerminate (once), then the main run loop stops.
    void terminate();

    // Records the URL; http and https go to the URL opener, other schemes are not opened. The
    // completion hears on the main run loop's next turn whether the URL was opened.
    void openURL(const foundation::URL& url, const foundation::Value& options = {},
                 std::function<void(bool success)> completion = {});
    const std::vector<foundation::URL>& openedURLs() const { return openedURLs_; }
    // The default runs "xdg-open" with the URL as its one argument, never through a shell. The
    // opener given here is used only while the returned token lives: the application outlives
    // whoever installs it, and whatever the opener refers to would otherwise dangle.
    [[nodiscard]] foundation::ObservationToken setURLOpener(URLOpener opener);
    // A URL another application hands over; the delegate's answer.
    bool handleOpenURL(const foundation::URL& url, const foundation::Value& options = {});

    const std::vector<ApplicationShortcutItem>& shortcutItems() const { return shortcutItems_; }
    void setShortcutItems(std::vector<ApplicationShortcutItem> items) {
        shortcutItems_ = std::move(items);
    }
    // The person picked a shortcut on the home screen.
    void performShortcutItem(const ApplicationShortcutItem& item,
                             std::function<void(bool succeeded)> completion = {});

    const std::optional<std::string>& alternateIconName() const { return alternateIconName_; }
    // The completion hears on the main run loop's next turn; no error means the icon changed.
    void setAlternateIconName(
        std::optional<std::string> name,
        std::function<void(std::optional<foundation::Error>)> completion = {});
    long applicationIconBadgeNumber() const { return badgeNumber_; }
    void setApplicationIconBadgeNumber(long number) { badgeNumber_ = number; }
    // Only recorded: no remote notification ever arrives.
    void registerForRemoteNotifications() { registeredForRemoteNotifications_ = true; }
    bool isRegisteredForRemoteNotifications() const { return registeredForRemoteNotifications_; }
    bool isNetworkActivityIndicatorVisible() const { return networkIndicatorVisible_; }
    void setNetworkActivityIndicatorVisible(bool visible) { networkIndicatorVisible_ = visible; }

    // The appearance the person chose for the whole system; windows follow it unless they
    // override it.
    UserInterfaceStyle systemUserInterfaceStyle() const { return systemStyle_; }
    void setSystemUserInterfaceStyle(UserInterfaceStyle style);

  private:
    friend class Window;
    Application() = default;
    void addWindow(const std::shared_ptr<Window>& window);
    void setKeyWindow(const std::shared_ptr<Window>& window);

    std::shared_ptr<ApplicationDelegate> delegate_;
    std::weak_ptr<Window> keyWindow_;
    std::vector<std::weak_ptr<Window>> windows_;
    State state_ = State::inactive;
    bool terminated_ = false;
    std::vector<foundation::URL> openedURLs_;
    URLOpener urlOpener_;
    std::uint64_t urlOpenerGeneration_ = 0;
    std::vector<ApplicationShortcutItem> shortcutItems_;
    std::optional<std::string> alternateIconName_;
    long badgeNumber_ = 0;
    bool registeredForRemoteNotifications_ = false;
    bool networkIndicatorVisible_ = false;
    UserInterfaceStyle systemStyle_ = UserInterfaceStyle::light;
};

}  // namespace uikit
