#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/presentations/KSSender.h"
#include "ui/error/ErrorViewController.h"
#include "uikit/ViewController.h"
#include "uikit/Window.h"

namespace corvane {

// Where the application delegate's own screens and alerts appear. Everything is presented from
// the topmost controller of the window that is not being dismissed: presenting from the root
// alone would be refused whenever something (the console, an imported archive) is already up.
// Main thread.
class KSPresenter {
  public:
    using WindowSource = std::function<std::shared_ptr<uikit::Window>()>;

    explicit KSPresenter(WindowSource window) : window_(std::move(window)) {}

    // Null while there is no window with a root controller.
    std::shared_ptr<uikit::ViewController> presenter() const;

    // The common presentation: the popover points at the sender, an alert takes the active
    // palette's tint, and the controller is presented animated. False (logged) when there is
    // nothing to present from.
    bool presentViewController(const std::shared_ptr<uikit::ViewController>& controller,
                               const KSSender& sender = {}) const;
    // The controller as the root of a new navigation controller, presented animated.
    bool presentInNavigationController(const std::shared_ptr<uikit::ViewController>& controller,
                                       const KSSender& sender = {}) const;
    // The error panel over the whole screen.
    bool presentErrorPanel(const std::shared_ptr<ErrorViewController>& panel) const;
    // An error panel with one "OK" button.
    bool presentErrorPanel(const std::string& title, const std::string& message) const;

  private:
    WindowSource window_;
};

}  // namespace corvane
