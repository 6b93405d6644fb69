#pragma once

#include <functional>
#include <memory>

#include "foundation/URL.h"
#include "foundation/Value.h"
#include "uikit/ApplicationShortcutItem.h"

namespace uikit {

class Window;

// The application's delegate: told of the life cycle, of URLs other applications hand over and
// of home-screen shortcuts. Every method is optional.
class ApplicationDelegate {
  public:
    virtual ~ApplicationDelegate() = default;

    // The application's window, set by applicationMain before launch.
    const std::shared_ptr<Window>& window() const { return window_; }
    void setWindow(std::shared_ptr<Window> window) { window_ = std::move(window); }

    virtual bool didFinishLaunching(const foundation::Value& options) { return true; }
    virtual void willEnterForeground() {}
    virtual void didBecomeActive() {}
    virtual void willTerminate() {}
    // Whether the URL was handled.
    virtual bool openURL(const foundation::URL& url, const foundation::Value& options) {
        return false;
    }
    virtual void performActionForShortcutItem(const ApplicationShortcutItem& item,
                                              std::function<void(bool succeeded)> completion) {
        completion(false);
    }

  private:
    std::shared_ptr<Window> window_;
};

}  // namespace uikit
