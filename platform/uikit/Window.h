#pragma once

#include <memory>

#include "uikit/TraitCollection.h"
#include "uikit/View.h"
#include "uikit/ViewController.h"

namespace uikit {

// The root of what the screen shows: the root controller's view, with presented controllers'
// views above it. Hidden until made key and visible, as the system's windows are; the size of
// the screen unless given another frame; a status bar of 20 points at the top.
class Window : public View {
  public:
    static constexpr double kStatusBarHeight = 20;

    Window();
    explicit Window(const Rect& frame);

    bool isWindow() const override { return true; }

    const std::shared_ptr<ViewController>& rootViewController() const { return root_; }
    // The controller to present from: the root, or the topmost controller presented above it
    // that is not being dismissed.
    std::shared_ptr<ViewController> topmostPresentedViewController() const;
    // The old root's presentations end and it disappears; the new root appears when the window
    // is visible.
    void setRootViewController(std::shared_ptr<ViewController> controller);
    // Shows the window (the root controller appears) and makes it the application's key window.
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    UserInterfaceStyle overrideUserInterfaceStyle() const { return overrideStyle_; }
    // Every controller shown in the window whose traits change hears of it.
    void setOverrideUserInterfaceStyle(UserInterfaceStyle style);
    // The override, else the system's style.
    TraitCollection traitCollection() const;
    void updateTraits();

    // As the controllers last asked for it (setNeedsStatusBarAppearanceUpdate).
    StatusBarStyle statusBarStyle() const { return statusBarStyle_; }
    void updateStatusBarAppearance();

    // The screen turns or resizes: the controllers hear of it, then the window and the views of
    // its root and presented controllers take the new size.
    void transitionToSize(Size size);

    void layoutSubviews() override;
    // Without a background of its own, the window shows the screen behind it: black.
    void draw(Canvas& canvas) override;

  protected:
    std::string describeSelf() const override { return "Window"; }

  private:
    std::shared_ptr<ViewController> controllerForStatusBar() const;

    std::shared_ptr<ViewController> root_;
    UserInterfaceStyle overrideStyle_ = UserInterfaceStyle::unspecified;
    StatusBarStyle statusBarStyle_ = StatusBarStyle::defaultStyle;
};

}  // namespace uikit
